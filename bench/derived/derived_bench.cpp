// The cost of sixteen derived channels on every analog frame, beside the frame's
// own decoding and conversion: both measured side by side, then the derived
// channels' extra CPU time per frame printed against a budget of 2 microseconds.
// Also what the run adds to each frame before any output sees it
// (EngineeringValues::finish: the card's channels through user scales, all 16
// channels scaled over the two cards' frames taken in turn, and the 16 derived
// channels), in nanoseconds per frame and as a ratio to conversion.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "derived/DerivedProgram.h"
#include "derived/EngineeringValues.h"
#include "engine/AnalogDecoder.h"
#include "engine/CardFrames.h"
#include "engine/Conversion.h"

namespace {

using vantrel::AcquisitionState;
using vantrel::ConvertedFrame;
using namespace vantrel::derived;

constexpr double kBudgetMicroseconds = 2.0;

// Sixteen channels of the kinds users write: differences, scales, means, limits,
// a choice, and channels built on others.
DerivedSettings SixteenChannels() {
    const char* expressions[] = {"ch1 - ch0",
                                 "(ch2 - 4) * 0.625",
                                 "mean(ch0, ch1, ch2, ch3)",
                                 "max(ch4, ch5, ch6, ch7)",
                                 "min(ch4, ch5, ch6, ch7)",
                                 "abs(ch3 - ch5)",
                                 "sqrt(abs(ch6)) * 2.5",
                                 "ch7 > 0 ? ch7 : -ch7",
                                 "d0 + d1",
                                 "exp(ch0 / 10) - 1",
                                 "log(abs(ch1) + 1)",
                                 "ch8 * ch9 / 1000",
                                 "mean(ch8, ch9, ch10, ch11, ch12, ch13, ch14, ch15)",
                                 "d2 - d12",
                                 "(ch0 + ch1 + ch2) / 3 ^ 2",
                                 "d14 > 1 && d3 < 5 ? 1 : 0"};
    DerivedSettings settings;
    for (std::size_t index = 0; index < kMaxDerivedChannels; ++index) {
        settings.channels.push_back({"d" + std::to_string(index), "", 2, expressions[index]});
    }
    return settings;
}

AcquisitionState VoltageState() {
    AcquisitionState state;
    state.AnalogFrame1 = "+01000,-02000,+03000,+04000,-05000,+06000,+07000,+08000,+25.0\r";
    return state;
}

// Every channel scaled, as a 4-20 mA transmitter's two points are.
vantrel::ChannelScales SixteenScales() {
    vantrel::ChannelScales scales{};
    for (auto& scale : scales) {
        scale.emplace();
        scale->unit = "bar";
        scale->decimals = 1;
        SetTwoPoints(*scale, 4.0, 0.0, 20.0, 10.0);
    }
    return scales;
}

void ConversionAndEngineering(benchmark::State& bench) {
    AcquisitionState state = VoltageState();
    state.AnalogFrame2 = state.AnalogFrame1;
    EngineeringValues engineering;
    engineering.setScales(SixteenScales());
    const std::vector<std::string> errors = engineering.setDerived(SixteenChannels(), state);
    if (!errors.empty()) {
        bench.SkipWithError(errors.front().c_str());
        return;
    }
    int card = 0;
    ConvertedFrame frame;
    for (auto _ : bench) {
        vantrel::DecodeAnalogFrame(state, card);
        const auto failure = vantrel::ConvertFrame(state, card);
        frame = vantrel::TakeConvertedFrame(state, card, vantrel::platform::DateTime{}, failure);
        engineering.finish(frame, state);
        benchmark::DoNotOptimize(frame.derived.data());
        benchmark::ClobberMemory();
        card = 1 - card;
    }
    std::size_t computed = 0;
    for (const auto& result : frame.derived) {
        computed += result.has_value() ? 1 : 0;
    }
    bench.SetLabel(std::to_string(computed) + " of 16 computed");
}

// The same frames taken out of the state without the run's engineering values.
void ConversionAndTaking(benchmark::State& bench) {
    AcquisitionState state = VoltageState();
    state.AnalogFrame2 = state.AnalogFrame1;
    int card = 0;
    ConvertedFrame frame;
    for (auto _ : bench) {
        vantrel::DecodeAnalogFrame(state, card);
        const auto failure = vantrel::ConvertFrame(state, card);
        frame = vantrel::TakeConvertedFrame(state, card, vantrel::platform::DateTime{}, failure);
        benchmark::DoNotOptimize(frame.values.data());
        benchmark::ClobberMemory();
        card = 1 - card;
    }
}

class NanosecondsReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

BENCHMARK(ConversionAndTaking);
BENCHMARK(ConversionAndEngineering);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    NanosecondsReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double taking = reporter.nanoseconds["ConversionAndTaking"];
    const double finished = reporter.nanoseconds["ConversionAndEngineering"];
    if (taking > 0 && finished > 0) {
        const double extra = finished - taking;
        std::printf(
            "frame conversion and taking %.0f ns, with scales and 16 derived channels (finish) "
            "%.0f ns: %.0f ns more per frame, %.2f times conversion (budget %.0f ns) %s\n",
            taking, finished, extra, finished / taking, kBudgetMicroseconds * 1000.0,
            extra <= kBudgetMicroseconds * 1000.0 ? "within" : "OVER");
    }
    benchmark::Shutdown();
    return 0;
}
