#include "history/ui/RunLooks.h"

#include <algorithm>

#include "engine/InputUnits.h"
#include "views/ChannelPalette.h"
#include "views/ui/ValueText.h"

namespace vantrel {

QColor PaletteColour(int index) {
    const platform::Rgb colour = ChannelPaletteColour(index);
    return {colour.red, colour.green, colour.blue};
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
