#pragma once

// Keeps each benchmark's CPU time per iteration, in milliseconds, for a closing
// summary printed side by side: on a shared machine the wall time also counts
// other programs' turns.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdlib>

#include <map>
#include <string>
#include <vector>

namespace vantrel::bench {

class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> milliseconds;

    // The CPU milliseconds of one benchmark, 0 when it did not run.
    double at(const std::string& name) const {
        const auto found = milliseconds.find(name);
        return found == milliseconds.end() ? 0.0 : found->second;
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            milliseconds[run.benchmark_name()] =
                run.GetAdjustedCPUTime() * (run.time_unit == benchmark::kMillisecond ? 1.0 : 1e-6);
        }
    }
};

// Runs the registered benchmarks in a Qt application on the offscreen platform
// (unless another is set), the figures going to reporter.
inline void RunOffscreen(int& argc, char** argv, SummaryReporter& reporter) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
}

}  // namespace vantrel::bench
