// One redraw of the History window with all sixteen channels of both cards in view
// at 1920 plot pixels, for 10 minutes, 1 hour and 24 hours of run at wire speed
// (15.5 frames a second per card), side by side: the cost must stay flat. Also the
// cost of appending one frame and the memory that 24 hours of history take. A signal
// that swings across the whole height within every pixel column costs more on all
// lengths alike: the painting of its pixels, not the length, sets that cost.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "bench/SummaryReporter.h"
#include "history/HistoryDocument.h"
#include "history/ui/HistoryPlot.h"
#include "history/ui/frmHistory.h"

namespace {

using namespace vantrel;

constexpr std::int64_t kFrameMs = 65;  // 15.5 frames a second
constexpr int kPlotWidth = 1920;

class NoDialogs : public platform::Dialogs {
  public:
    std::optional<std::string> openFile(const platform::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const platform::FileDialogRequest&) override { return {}; }
    std::optional<platform::Rgb> chooseColor(platform::Rgb) override { return {}; }
    void showMessage(const platform::Message&) override {}
    void showMessageNonBlocking(const platform::Message&, std::function<void()>) override {}
};

// The same picture at every length, so that only the amount of data differs: three
// slow swings over the whole run with 2% noise on each channel, as a sensor gives.
void Fill(history::HistoryDocument& run, std::int64_t minutes) {
    const std::int64_t frames = minutes * 60'000 / kFrameMs;
    std::array<float, kChannelsPerCard> values{};
    std::uint32_t noise = 12345;
    for (std::int64_t i = 0; i < frames; ++i) {
        const double phase = 6.0 * M_PI * static_cast<double>(i) / static_cast<double>(frames);
        for (int card = 0; card < 2; ++card) {
            for (int c = 0; c < kChannelsPerCard; ++c) {
                noise = noise * 1664525u + 1013904223u;
                values[static_cast<std::size_t>(c)] = static_cast<float>(
                    std::sin(phase + c + 8 * card) + 0.02 * (noise >> 8) / double(1u << 24));
            }
            run.groups[static_cast<std::size_t>(card)].series.append(
                1'796'562'309'250 + i * kFrameMs + card * 30, values.data());
        }
    }
}

ChannelLook Look(int group, int column) {
    return {QStringLiteral("Channel %1").arg(group * 8 + column), QStringLiteral("V"),
            QColor(Qt::blue), true};
}

void BM_Redraw(benchmark::State& bench) {
    history::HistoryDocument run = history::RunHistory();
    Fill(run, bench.range(0));
    NoDialogs dialogs;
    frmHistory window(run, Look, dialogs);
    window.resize(kPlotWidth + 330, 1080);
    window.show();
    QApplication::processEvents();
    for (auto _ : bench) {
        window.cmdShowAll_Click();
    }
    bench.counters["columns"] = window.pic->axisRect()->width();
}
BENCHMARK(BM_Redraw)->Arg(10)->Arg(60)->Arg(24 * 60)->Unit(benchmark::kMillisecond);

void BM_AppendFrame(benchmark::State& bench) {
    history::HistoryDocument run = history::RunHistory();
    std::array<float, kChannelsPerCard> values{};
    std::int64_t x = 0;
    for (auto _ : bench) {
        values[0] = static_cast<float>(x % 100);
        run.groups[0].series.append(x += kFrameMs, values.data());
    }
}
BENCHMARK(BM_AppendFrame);

}  // namespace

int main(int argc, char** argv) {
    bench::SummaryReporter reporter;
    bench::RunOffscreen(argc, argv, reporter);
    const auto at = [&](const std::string& name) { return reporter.at(name); };
    const double ten = at("BM_Redraw/10");
    const double day = at("BM_Redraw/1440");
    std::printf(
        "\nCPU per redraw, 16 channels at %d pixels: 10 min %.2f ms, 1 h %.2f ms, 24 h %.2f ms"
        " (24 h / 10 min x%.2f); goal <= 16 ms and flat\n",
        kPlotWidth, ten, at("BM_Redraw/60"), day, ten > 0.0 ? day / ten : 0.0);

    const std::size_t before = mallinfo2().uordblks;
    auto run = std::make_unique<history::HistoryDocument>(history::RunHistory());
    Fill(*run, 24 * 60);
    const std::size_t heap = mallinfo2().uordblks - before;
    std::printf(
        "24 h of history, both cards: %.1f MB on the heap (%.1f MB of frames and buckets);"
        " goal <= 150 MB\n",
        static_cast<double>(heap) / 1e6, static_cast<double>(run->memoryBytes()) / 1e6);
    benchmark::Shutdown();
    return 0;
}
