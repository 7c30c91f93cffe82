// Catching up after the log file was unavailable: the waiting records go out in
// one opening of the file rather than one opening each. Prints how much faster
// the batched write is, measured side by side. Then one logger tick that writes a
// record, under each sync choice: every record to the disk, the disk every ten
// seconds, or whenever the system likes; prints what each costs per record.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "logging/DataLogger.h"
#include "logging/LogFileSink.h"
#include "logging/SaveOptions.h"
#include "platform/ConsoleDialogs.h"

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
            benchmark::DoNotOptimize(sink.append(LogPath(), kRecord, vantrel::Flush::No));
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
        benchmark::DoNotOptimize(sink.append(LogPath(), batch, vantrel::Flush::No));
    }
    state.SetItemsProcessed(state.iterations() * kWaitingRecords);
}

BENCHMARK(OneOpeningPerRecord);
BENCHMARK(OneOpeningForAll);

class StillClock : public vantrel::platform::Clock {
  public:
    vantrel::platform::DateTime now() const override { return {2026, 12, 6, 14, 5, 9}; }
};

// Every tick is due: a record of four channels with its serial number.
void LoggerTick(benchmark::State& state, vantrel::LogSync sync) {
    vantrel::AcquisitionState acquisition;
    acquisition.CardConnected1 = true;
    for (int n = 0; n < 4; ++n) {
        acquisition.SaveChannel[n] = true;
        acquisition.ChannelValue[n] = 1.25f * static_cast<float>(n);
    }
    StillClock clock;
    vantrel::platform::ConsoleDialogs dialogs;
    vantrel::DiskLogFileSink sink;
    sink.replace(LogPath(), "");
    vantrel::DataLogger logger(acquisition, clock, dialogs, sink);
    vantrel::LoggingPreferences preferences;
    preferences.sync = sync;
    preferences.syncIntervalS = 10;
    logger.setPreferences(preferences);
    const vantrel::SaveOptionsChoice choice{LogPath(), {}, false, 1, 1, 1, 1};
    vantrel::ApplySaveOptions(acquisition, choice, sink, clock.now());
    for (auto _ : state) {
        logger.Tick();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(LoggerTick, sync_record, vantrel::LogSync::Record);
BENCHMARK_CAPTURE(LoggerTick, sync_interval_10s, vantrel::LogSync::Interval);
BENCHMARK_CAPTURE(LoggerTick, sync_none, vantrel::LogSync::None);

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
    const auto tick = [&](const char* sync) {
        const auto found = reporter.times.find(std::string("LoggerTick/") + sync);
        return found == reporter.times.end() ? 0.0 : found->second;
    };
    const double record = tick("sync_record");
    const double interval = tick("sync_interval_10s");
    const double none = tick("sync_none");
    if (record > 0 && interval > 0 && none > 0) {
        // Times are in the reporter's unit, nanoseconds by default.
        std::printf(
            "one record a tick: sync=record %.1f us, sync=interval (10 s) %.1f us, sync=none "
            "%.1f us; record costs %.1fx none, interval %.1fx none\n",
            record / 1000, interval / 1000, none / 1000, record / none, interval / none);
    }
    std::error_code ignored;
    fs::remove(LogPath(), ignored);
    return 0;
}
