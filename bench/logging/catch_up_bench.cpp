// Catching up after the log file was unavailable: the waiting records go out in
// one opening of the file rather than one opening each. Prints how much faster
// the batched write is, measured side by side.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "logging/LogFileSink.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWaitingRecords = 1000;
const std::string kRecord = "06/12/26,14:05:09,1.25,-0.5,1.234568E+07,25,0.0001\r\n";

std::string LogPath() {
    static const fs::path path =
        fs::temp_directory_path() / ("vantrel_bench_" + std::to_string(::getpid()) + ".csv");
    return path.string();
}

void OneOpeningPerRecord(benchmark::State& state) {
    vantrel::DiskLogFileSink sink;
    for (auto _ : state) {
        sink.replace(LogPath(), "");
        for (int i = 0; i < kWaitingRecords; ++i) {
            benchmark::DoNotOptimize(sink.append(LogPath(), kRecord));
        }
    }
    state.SetItemsProcessed(state.iterations() * kWaitingRecords);
}

void OneOpeningForAll(benchmark::State& state) {
    vantrel::DiskLogFileSink sink;
    for (auto _ : state) {
        sink.replace(LogPath(), "");
        std::string batch;
        for (int i = 0; i < kWaitingRecords; ++i) {
            batch += kRecord;
        }
        benchmark::DoNotOptimize(sink.append(LogPath(), batch));
    }
    state.SetItemsProcessed(state.iterations() * kWaitingRecords);
}

BENCHMARK(OneOpeningPerRecord);
BENCHMARK(OneOpeningForAll);

// Keeps each benchmark's time per iteration so the ratio can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto single = reporter.times.find("OneOpeningPerRecord");
    const auto batched = reporter.times.find("OneOpeningForAll");
    if (single != reporter.times.end() && batched != reporter.times.end() && batched->second > 0) {
        std::printf("catching up %d records: one opening for all is %.1fx faster\n",
                    kWaitingRecords, single->second / batched->second);
    }
    std::error_code ignored;
    fs::remove(LogPath(), ignored);
    return 0;
}
