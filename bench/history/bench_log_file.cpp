// Reading a large log file as File > Open Log reads it: a generated file of many
// column layouts (the marks changed while logging, no new header), read a megabyte
// at a time. Prints the time, the peak memory of the process and what the history
// holds by its own count. Usage:
//   bench_log_file [megabytes [layouts [columns [decimals]]]]
//                                                     generates, reads, deletes
//   bench_log_file --file PATH                        reads PATH
//   bench_log_file --generate PATH [megabytes ...]    only writes PATH
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "history/FollowedLog.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrel;

// One record a second from 2026-12-06 00:00:00, `columns` values each: slow swings
// with noise, rounded to `decimals`, written as the logger writes a value (shortest
// text). Fewer decimals give shorter lines, so more records in the same bytes.
void Generate(const fs::path& path, std::uint64_t bytes, int layouts, int columns, int decimals) {
    const double scale = std::pow(10.0, decimals);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "DATE,TIME";
    for (int c = 0; c < columns; ++c) {
        out << (c == 0 ? "," : ",") << "Channel " << c;
    }
    out << "\r\n";
    std::string line;
    std::uint32_t noise = 12345;
    const std::uint64_t perLayout = bytes / static_cast<std::uint64_t>(layouts);
    std::uint64_t written = 0;
    long second = 0;
    for (int layout = 0; layout < layouts; ++layout) {
        const int count = columns - layout;  // one mark fewer each time
        while (written < perLayout * static_cast<std::uint64_t>(layout + 1)) {
            const long s = second++;
            const long day = 6 + s / 86400;
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "%02ld/12/26,%02ld:%02ld:%02ld", day % 28 + 1,
                          s / 3600 % 24, s / 60 % 60, s % 60);
            line = stamp;
            for (int c = 0; c < count; ++c) {
                noise = noise * 1664525u + 1013904223u;
                const double raw = c % 20 + static_cast<double>(s % 600) / 60.0 +
                                   static_cast<double>(noise >> 20) / 4096.0;
                const auto value = static_cast<float>(std::round(raw * scale) / scale);
                char text[24];
                const auto end = std::to_chars(text, text + sizeof text, value).ptr;
                line += ',';
                line.append(text, end);
            }
            line += "\r\n";
            out << line;
            written += line.size();
        }
    }
}

struct Outcome {
    double seconds = 0.0;
    std::unique_ptr<history::FollowedLog> log;
};

// As the window's worker reads it: up to the size the file has now.
Outcome Read(const fs::path& path) {
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome;
    outcome.log = std::make_unique<history::FollowedLog>(
        path.string(), history::LogReadOptions{{}, {2026, 12, 6}});
    outcome.log->readTo(outcome.log->fileSize().value_or(0));
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path path;
    bool generated = false;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--file" && argc == 3) {
        path = argv[2];
    } else {
        const int first = mode == "--generate" ? 3 : 1;
        // Megabytes, layouts, columns of the first layout, decimals of the values.
        std::array<long, 4> numbers{1024, 16, 250, 2};
        for (int i = first; i < argc && i - first < 4; ++i) {
            numbers[static_cast<std::size_t>(i - first)] = std::stol(argv[i]);
        }
        const auto megabytes = static_cast<std::uint64_t>(numbers[0]);
        const auto layouts = static_cast<int>(numbers[1]);
        const auto columns = static_cast<int>(numbers[2]);
        path = mode == "--generate" && argc > 2
                   ? fs::path(argv[2])
                   : fs::temp_directory_path() /
                         ("vantrel_bench_log_" + std::to_string(::getpid()) + ".csv");
        std::printf("Generating %llu MB, %d layouts of %d columns down to %d, in %s\n",
                    static_cast<unsigned long long>(megabytes), layouts, columns,
                    columns - layouts + 1, path.c_str());
        Generate(path, megabytes << 20, layouts, columns, static_cast<int>(numbers[3]));
        if (mode == "--generate") {
            return 0;
        }
        generated = true;
    }
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    const Outcome outcome = Read(path);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    std::uint64_t frames = 0;
    for (const auto& group : outcome.log->document().groups) {
        frames += group.series.appended();
    }
    const auto cpu = [](const rusage& r) {
        return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
               static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
    };
    // On a shared machine the wall time also counts other programs' turns.
    std::printf(
        "Read %.1f MB, %llu lines, %zu layouts, %llu records in %.1f s, %.1f s of CPU "
        "(%.1f MB per CPU second)\n"
        "Peak memory %.0f MB (before reading %.0f MB); the history holds %.1f MB of frames "
        "and buckets\n",
        static_cast<double>(fs::file_size(path)) / 1e6,
        static_cast<unsigned long long>(outcome.log->reader().lineCount()),
        outcome.log->document().groups.size(), static_cast<unsigned long long>(frames),
        outcome.seconds, cpu(after) - cpu(before),
        static_cast<double>(fs::file_size(path)) / 1e6 / (cpu(after) - cpu(before)),
        static_cast<double>(after.ru_maxrss) / 1024.0,
        static_cast<double>(before.ru_maxrss) / 1024.0,
        static_cast<double>(outcome.log->document().memoryBytes()) / 1e6);
    if (generated) {
        fs::remove(path);
    }
    return 0;
}
