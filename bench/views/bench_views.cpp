// Cost of one refresh of each live view, painted offscreen at full-HD size. The
// trend tick is measured at 500 and at 10 points with all sixteen channels
// plotted; the summary prints the milliseconds side by side.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bench/SummaryReporter.h"
#include "engine/AcquisitionState.h"
#include "platform/qt/QtClock.h"
#include "views/ui/TrendSurface.h"
#include "views/ui/frmTrend.h"
#include "views/ui/frmViewAnalogData.h"
#include "views/ui/frmViewDigitalData.h"

namespace {

using namespace vantrel;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The trend only needs dialogs for a colour change, which the benchmark never makes.
class NoDialogs : public platform::Dialogs {
  public:
    std::optional<std::string> openFile(const platform::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const platform::FileDialogRequest&) override { return {}; }
    std::optional<platform::Rgb> chooseColor(platform::Rgb) override { return {}; }
    void showMessage(const platform::Message&) override {}
    void showMessageNonBlocking(const platform::Message&, std::function<void()>) override {}
};

// New values every tick, so every label and every line really changes.
void moveValues(AcquisitionState& state, int tick) {
    for (int n = 0; n < kUsedChannels; ++n) {
        state.ChannelValue[static_cast<std::size_t>(n)] =
            50.0f + 45.0f * static_cast<float>(std::sin(0.1 * tick + n));
        state.InputType[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(n % 7);
    }
    for (int line = 0; line < kUsedLines; ++line) {
        state.DigitalIn[static_cast<std::size_t>(line)] = ((tick + line) % 3) == 0;
        state.DigitalOut[static_cast<std::size_t>(line)] = ((tick + line) % 2) == 0;
    }
    state.AnalogFrame2 = state.AnalogFrame1;
    state.AmbientTemp1 = 20.0f + static_cast<float>(tick % 10) / 10.0f;
}

void BM_TrendTick(benchmark::State& bench) {
    AcquisitionState state;
    state.PlotChannel.fill(true);
    platform::QtClock clock;
    NoDialogs dialogs;
    frmTrend window(state, clock, dialogs);
    const int position = bench.range(0) == 500 ? 4 : 0;
    window.cmbPoints->setCurrentIndex(position);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const std::vector<TrendLine> grid = TrendGrid();
    int tick = 0;
    for (auto _ : bench) {
        moveValues(state, ++tick);
        window.tmrTrend_Timer();
        QPainter painter(&image);
        TrendSurface::paint(painter, image.rect(), grid, window.pic->drawing());
    }
    bench.counters["lines"] = static_cast<double>(window.pic->drawing().lines.size());
}
BENCHMARK(BM_TrendTick)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

template <typename Window>
void refreshAndPaint(benchmark::State& bench, AcquisitionState& state, Window& window) {
    window.resize(kWidth / 2, kHeight / 2);
    QImage image(window.size(), QImage::Format_RGB32);
    int tick = 0;
    for (auto _ : bench) {
        moveValues(state, ++tick);
        window.tmrUpdate_Timer();
        window.render(&image);
    }
}

void BM_AnalogRefresh(benchmark::State& bench) {
    AcquisitionState state;
    frmViewAnalogData window(state);
    refreshAndPaint(bench, state, window);
}
BENCHMARK(BM_AnalogRefresh)->Unit(benchmark::kMillisecond);

void BM_DigitalRefresh(benchmark::State& bench) {
    AcquisitionState state;
    frmViewDigitalData window(state, [](int, std::string_view) {});
    refreshAndPaint(bench, state, window);
}
BENCHMARK(BM_DigitalRefresh)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::SummaryReporter reporter;
    bench::RunOffscreen(argc, argv, reporter);
    const auto at = [&](const char* name) { return reporter.at(name); };
    const double ten = at("BM_TrendTick/10");
    const double five = at("BM_TrendTick/500");
    if (ten > 0.0 && five > 0.0) {
        std::printf(
            "\nCPU per tick, trend 16 channels, 1920x1080: %.3f ms at 500 points, %.3f ms at 10 "
            "points "
            "(x%.1f); goal < 5 ms\n",
            five, ten, five / ten);
    }
    std::printf("analog refresh %.3f ms, digital refresh %.3f ms (label/lamp update + paint)\n",
                at("BM_AnalogRefresh"), at("BM_DigitalRefresh"));
    benchmark::Shutdown();
    return 0;
}
