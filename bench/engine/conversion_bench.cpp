// Frames per second through decoding and conversion, the step-by-step walks
// against the fast searches, for frames of eight PT-100, thermocouple and voltage
// channels. Prints the speed-up of each frame kind measured side by side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/AnalogDecoder.h"
#include "engine/Conversion.h"
#include "settings/TableFiles.h"
#include "tests/support/LiteralConversion.h"

namespace {

using vantrel::AcquisitionState;

constexpr int kSpanCounts = 32000;  // counts between the 200 mV calibration points
constexpr double kSpanMillivolts = 200.0;
constexpr float kAmbient = 25.0f;

struct FrameKind {
    const char* name;
    int inputType;
    // Channel count for channel c; the state is already set up for the kind.
    int (*count)(const AcquisitionState& state, int channel);
    std::int16_t rtdReference;
};

std::string CountField(int count) {
    char field[8];
    std::snprintf(field, sizeof field, "%+06d", count);
    return field;
}

// The card's frame for eight counts, at 25 degrees ambient.
std::string AnalogFrame(const AcquisitionState& state, const FrameKind& kind) {
    std::string frame;
    for (int c = 0; c < vantrel::kChannelsPerCard; ++c) {
        frame += CountField(kind.count(state, c)) + ",";
    }
    return frame + "+25.0\r";
}

// PT-100 count for a temperature: R/R0 from the curve, times the 100 ohm count.
int RtdCount(double degrees, int reference) {
    const double ratio = 1.0 + 0.00390802 * degrees - 5.802e-7 * degrees * degrees;
    return static_cast<int>(std::lround(ratio * reference));
}

// Thermocouple count: the voltage above the cold junction at 200 mV per 32000 counts.
int ThermocoupleCount(double millivolts, double coldJunction) {
    return static_cast<int>(
        std::lround((millivolts - coldJunction) * kSpanCounts / kSpanMillivolts));
}

const FrameKind kKinds[] = {
    {"PT-100 at 100 C", 4,
     [](const AcquisitionState&, int c) { return RtdCount(100.0 + c * 0.01, 13000); }, 13000},
    // 800 degrees is beyond the counts of the 13000 reference; a card with a lower
    // gain reads its 100 ohm reference as 8000.
    {"PT-100 at 800 C", 4,
     [](const AcquisitionState&, int c) { return RtdCount(800.0 + c * 0.01, 8000); }, 8000},
    {"Type J at 500 C", 5,
     [](const AcquisitionState& s, int c) {
         return ThermocoupleCount(s.TableJ[500] + c * 0.001, s.TableJ[25]);
     },
     13000},
    {"Type K at 1000 C", 6,
     [](const AcquisitionState& s, int c) {
         return ThermocoupleCount(s.TableK[1000 + vantrel::kTableKOffset] + c * 0.001,
                                  s.TableK[25 + vantrel::kTableKOffset]);
     },
     13000},
    {"+/-10 V", 0, [](const AcquisitionState&, int c) { return 1000 * c - 3500; }, 13000},
};

AcquisitionState StateFor(const FrameKind& kind) {
    AcquisitionState state;
    const std::vector<std::string> data = {VANTREL_DATA_DIR};
    const auto j =
        vantrel::LoadThermocoupleTable(data, "j.tc", vantrel::kTableJEntries, state.TableJ.data());
    const auto k =
        vantrel::LoadThermocoupleTable(data, "k.tc", vantrel::kTableKEntries, state.TableK.data());
    if (j || k) {
        std::fprintf(stderr, "%s\n", (j ? *j : *k).c_str());
        std::exit(1);
    }
    for (int s = 0; s < vantrel::kChannelsPerCard; ++s) {
        state.InputType[s] = static_cast<std::int16_t>(kind.inputType);
        state.CalRTD[s] = kind.rtdReference;
    }
    state.AnalogFrame1 = AnalogFrame(state, kind);
    return state;
}

template <bool kLiteral>
void DecodeAndConvert(benchmark::State& bench, const FrameKind& kind) {
    AcquisitionState state = StateFor(kind);
    for (auto _ : bench) {
        vantrel::DecodeAnalogFrame(state, 0);
        const auto failure =
            kLiteral ? vantrel::literal::ConvertFrame(state, 0) : vantrel::ConvertFrame(state, 0);
        if (failure) {
            bench.SkipWithError(failure->message().c_str());
            break;
        }
        benchmark::DoNotOptimize(state.ChannelValue.data());
        benchmark::ClobberMemory();
    }
    bench.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
    bench.SetLabel(std::to_string(state.ChannelValue[0]));
}

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto rate = run.counters.find("frames/s");
            if (rate != run.counters.end()) {
                framesPerSecond[run.benchmark_name()] = rate->second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> framesPerSecond;
};

}  // namespace

int main(int argc, char** argv) {
    for (const FrameKind& kind : kKinds) {
        benchmark::RegisterBenchmark((std::string("Literal/") + kind.name).c_str(),
                                     DecodeAndConvert<true>, kind);
        benchmark::RegisterBenchmark((std::string("Production/") + kind.name).c_str(),
                                     DecodeAndConvert<false>, kind);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-18s %16s %16s %10s\n", "frame of 8", "literal frames/s", "fast frames/s",
                "speed-up");
    for (const FrameKind& kind : kKinds) {
        const auto literal = reporter.framesPerSecond.find(std::string("Literal/") + kind.name);
        const auto fast = reporter.framesPerSecond.find(std::string("Production/") + kind.name);
        if (literal == reporter.framesPerSecond.end() || fast == reporter.framesPerSecond.end() ||
            literal->second <= 0) {
            continue;
        }
        std::printf("%-18s %16.0f %16.0f %9.1fx\n", kind.name, literal->second, fast->second,
                    fast->second / literal->second);
    }
    benchmark::Shutdown();
    return 0;
}
