// What the interval's minimum, maximum and mean cost beside the frame they come
// from: a card's frame of eight +/-10 V channels decoded and converted, and the
// same eight values taken into the interval's figures. Prints the nanoseconds of
// CPU per channel per frame for the figures and their share of the conversion.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/SummaryReporter.h"
#include "engine/AnalogDecoder.h"
#include "engine/Conversion.h"
#include "logging/IntervalFigures.h"

namespace {

using vantrel::AcquisitionState;
using vantrel::kChannelsPerCard;

AcquisitionState VoltageState() {
    AcquisitionState state;
    std::string frame;
    for (int c = 0; c < kChannelsPerCard; ++c) {
        char field[8];
        std::snprintf(field, sizeof field, "%+06d", 1000 * c - 3500);
        frame += std::string(field) + ",";
    }
    state.AnalogFrame1 = frame + "+25.0\r";
    return state;
}

void Conversion(benchmark::State& bench) {
    AcquisitionState state = VoltageState();
    for (auto _ : bench) {
        vantrel::DecodeAnalogFrame(state, 0);
        benchmark::DoNotOptimize(vantrel::ConvertFrame(state, 0));
        benchmark::DoNotOptimize(state.ChannelValue.data());
        benchmark::ClobberMemory();
    }
}

void Figures(benchmark::State& bench) {
    AcquisitionState state = VoltageState();
    vantrel::DecodeAnalogFrame(state, 0);
    (void)vantrel::ConvertFrame(state, 0);
    vantrel::IntervalFigures figures{};
    for (auto _ : bench) {
        for (std::size_t c = 0; c < kChannelsPerCard; ++c) {
            figures[c].take(state.ChannelValue[c]);
        }
        benchmark::DoNotOptimize(figures.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Conversion", Conversion);
    benchmark::RegisterBenchmark("Figures", Figures);
    benchmark::Initialize(&argc, argv);
    vantrel::bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double conversion = reporter.at("Conversion");
    const double figures = reporter.at("Figures");
    if (conversion > 0 && figures > 0) {
        std::printf("\nfigures: %.2f ns a channel a frame, %.1f%% of the frame's conversion\n",
                    figures * 1e6 / kChannelsPerCard, 100.0 * figures / conversion);
    }
    benchmark::Shutdown();
    return 0;
}
