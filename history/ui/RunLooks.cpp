#include "history/ui/RunLooks.h"

#include <algorithm>
#include <array>

#include "engine/CardView.h"
#include "engine/InputUnits.h"

namespace vantrel {

QColor PaletteColour(int index) {
    // Sixteen colours that tell apart on white.
    static const std::array<QColor, 16> palette{
        QColor(31, 119, 180),  QColor(255, 127, 14), QColor(44, 160, 44),   QColor(214, 39, 40),
        QColor(148, 103, 189), QColor(140, 86, 75),  QColor(227, 119, 194), QColor(127, 127, 127),
        QColor(188, 189, 34),  QColor(23, 190, 207), QColor(0, 0, 128),     QColor(128, 0, 0),
        QColor(0, 128, 128),   QColor(128, 128, 0),  QColor(255, 0, 255),   QColor(0, 0, 0)};
    return palette[static_cast<std::size_t>(index) % palette.size()];
}

ChannelLooks RunChannelLooks(const AcquisitionState& state, TrendColour trendColour) {
    const bool anyPlotted =
        std::any_of(state.PlotChannel.begin(), state.PlotChannel.begin() + kUsedChannels,
                    [](bool marked) { return marked; });
    return [&state, trendColour = std::move(trendColour), anyPlotted](int group, int column) {
        const int slot = ChannelSlot(group, column);
        const auto at = static_cast<std::size_t>(slot);
        ChannelLook look;
        look.name = QString::fromStdString(state.ChannelName[at]);
        if (look.name.isEmpty()) {
            look.name = QStringLiteral("Channel %1").arg(slot);
        }
        look.unit = QString::fromLatin1(InputUnit(state.InputType[at]).data());
        const std::optional<QColor> trend = trendColour ? trendColour(slot) : std::nullopt;
        look.color = trend && *trend != QColor(Qt::white) ? *trend : PaletteColour(slot);
        look.shown = !anyPlotted || state.PlotChannel[at];
        return look;
    };
}

}  // namespace vantrel
