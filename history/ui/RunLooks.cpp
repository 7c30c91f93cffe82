#include "history/ui/RunLooks.h"

#include <algorithm>
#include <array>

#include "engine/InputUnits.h"
#include "views/ui/ValueText.h"

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

ChannelLooks RunChannelLooks(const AcquisitionState& state, const history::HistoryDocument& run,
                             CurrentScales scales, TrendColour trendColour) {
    const bool anyPlotted =
        std::any_of(state.PlotChannel.begin(), state.PlotChannel.begin() + kUsedChannels,
                    [](bool marked) { return marked; });
    return [&state, &run, scales = std::move(scales), trendColour = std::move(trendColour),
            anyPlotted](int group, int column) {
        ChannelLook look;
        const history::HistoryGroup& shown = run.groups[static_cast<std::size_t>(group)];
        if (shown.firstSlot < 0) {
            const auto at = static_cast<std::size_t>(column);
            look.name = QString::fromStdString(shown.names[at]);
            look.unit = QString::fromStdString(shown.units[at]);
            look.color = PaletteColour(kUsedChannels + column);
            return look;
        }
        const int slot = shown.firstSlot + column;
        const auto at = static_cast<std::size_t>(slot);
        look.name = QString::fromStdString(state.ChannelName[at]);
        if (look.name.isEmpty()) {
            look.name = QStringLiteral("Channel %1").arg(slot);
        }
        const std::optional<ChannelScale> scale =
            scales ? scales()[at] : std::optional<ChannelScale>();
        const int inputType = state.InputType[at];
        look.unit = QString::fromStdString(std::string(ChannelUnit(inputType, scale)));
        // The analog view writes a scaled value with its unit, the converted one bare.
        const QString unit = look.unit.isEmpty() ? QString() : QLatin1Char(' ') + look.unit;
        look.valueText = [inputType, scale, unit](double value) {
            return scale ? ScaledValueText(value, inputType, *scale)
                         : ChannelValueText(static_cast<float>(value), inputType) + unit;
        };
        const std::optional<QColor> trend = trendColour ? trendColour(slot) : std::nullopt;
        look.color = trend && *trend != QColor(Qt::white) ? *trend : PaletteColour(slot);
        look.shown = !anyPlotted || state.PlotChannel[at];
        return look;
    };
}

}  // namespace vantrel
