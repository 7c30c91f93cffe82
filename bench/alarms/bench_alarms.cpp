// CPU per analog frame of judging 64 rules and the built-in faults, side by side
// with what the link does for the same frame (decoding, conversion and taking the
// frame out of the state). Card 1 carries four 4-20 mA channels, two PT-100 and
// two type J; all 64 rules watch its channels (the worst case: each frame of the
// card judges all of them), every channel is in use, and half the conditions hold
// with an on-delay that never runs out, so each frame takes the waiting path too.
// Prints both figures and their ratio; the goal is at most 1 microsecond a frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "alarms/AlarmEvaluator.h"
#include "alarms/RuleText.h"
#include "engine/AnalogDecoder.h"
#include "engine/CardFrames.h"
#include "engine/Conversion.h"
#include "engine/InputTypes.h"
#include "platform/DateTimeText.h"
#include "settings/TableFiles.h"

namespace {

using namespace vantrel;

constexpr std::int64_t kStartMs = 1'780'000'000'000;
constexpr int kFrames = 1000;  // a hundred seconds of frames at ten a second

AcquisitionState CardState() {
    AcquisitionState state;
    const std::vector<std::string> data = {VANTREL_DATA_DIR};
    if (LoadThermocoupleTable(data, "j.tc", kTableJEntries, state.TableJ.data()) ||
        LoadThermocoupleTable(data, "k.tc", kTableKEntries, state.TableK.data())) {
        std::fprintf(stderr, "the tables in %s cannot be read\n", VANTREL_DATA_DIR);
        std::exit(1);
    }
    const std::int16_t types[kChannelsPerCard] = {2, 2, 2, 2, 4, 4, 5, 5};
    for (int c = 0; c < kChannelsPerCard; ++c) {
        state.InputType[c] = types[c];
        state.SaveChannel[c] = true;
    }
    // 12 mA in the loops, about 100 degrees at the PT-100s and 200 at the thermocouples.
    state.AnalogFrame1 = "+19200,+19200,+19200,+19200,+18005,+18005,+01740,+01740,+25.0\r";
    return state;
}

alarms::AlarmSettings SixtyFourRules() {
    const char* conditions[] = {"above 10",
                                "below 90 on-delay 3600",
                                "outside 0 to 100",
                                "inside 0 to 1000 on-delay 3600",
                                "above 20 hysteresis 1",
                                "below 95 hysteresis 2 on-delay 3600",
                                "outside -5 to 500 latching",
                                "inside 5 to 900 on-delay 3600 critical"};
    alarms::AlarmSettings settings;
    for (int c = 0; c < kChannelsPerCard; ++c) {
        for (const char* condition : conditions) {
            const std::string text = "CH" + std::to_string(c) + " " + condition;
            settings.rules.push_back(std::get<alarms::AlarmRule>(alarms::ParseRule(text)));
        }
    }
    return settings;
}

std::vector<ConvertedFrame> Frames(AcquisitionState& state) {
    std::vector<ConvertedFrame> frames;
    for (int i = 0; i < kFrames; ++i) {
        DecodeAnalogFrame(state, 0);
        const auto failure = ConvertFrame(state, 0);
        frames.push_back(
            TakeConvertedFrame(state, 0, platform::LocalDateTime(kStartMs + 100 * i, 60), failure));
    }
    return frames;
}

void Conversion(benchmark::State& bench) {
    AcquisitionState state = CardState();
    const platform::DateTime at = platform::LocalDateTime(kStartMs, 60);
    for (auto _ : bench) {
        DecodeAnalogFrame(state, 0);
        const auto failure = ConvertFrame(state, 0);
        ConvertedFrame frame = TakeConvertedFrame(state, 0, at, failure);
        benchmark::DoNotOptimize(frame);
    }
}

void Alarms(benchmark::State& bench) {
    AcquisitionState state = CardState();
    const std::vector<ConvertedFrame> frames = Frames(state);
    alarms::AlarmEvaluator evaluator(SixtyFourRules());
    evaluator.setChannelsMarked(alarms::ChannelsMarked(state), frames[0].convertedAt);
    std::size_t next = 0;
    for (auto _ : bench) {
        const auto events = evaluator.onFrame(frames[next]);
        benchmark::DoNotOptimize(events.data());
        next = next + 1 == frames.size() ? 0 : next + 1;
    }
    // Every rule that holds without a delay has been raised, and no other.
    bench.SetLabel(std::to_string(evaluator.active().size()) + " active");
}

class CpuReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Conversion/decode, convert, take frame", Conversion);
    benchmark::RegisterBenchmark("Alarms/64 rules and the built-in faults", Alarms);
    benchmark::Initialize(&argc, argv);
    CpuReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double conversion = reporter.nanoseconds["Conversion/decode, convert, take frame"];
    const double alarms = reporter.nanoseconds["Alarms/64 rules and the built-in faults"];
    if (conversion > 0 && alarms > 0) {
        std::printf(
            "\nCPU per analog frame: conversion %.0f ns, alarms %.0f ns (%.2fx the "
            "conversion); goal at most 1000 ns: %s\n",
            conversion, alarms, alarms / conversion, alarms <= 1000 ? "met" : "missed");
    }
    benchmark::Shutdown();
    return 0;
}
