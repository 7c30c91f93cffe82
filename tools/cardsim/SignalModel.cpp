#include "SignalModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "settings/FieldReader.h"

namespace cardsim {

namespace {

// IEC 60751 platinum resistance: R/R0 = 1 + A t + B t^2 (+ C (t - 100) t^3 below 0).
constexpr double kPtA = 3.9083e-3;
constexpr double kPtB = -5.775e-7;
constexpr double kPtC = -4.183e-12;

double Pt100Ratio(double t) {
    double ratio = 1.0 + kPtA * t + kPtB * t * t;
    if (t < 0.0) {
        ratio += kPtC * (t - 100.0) * t * t * t;
    }
    return ratio;
}

}  // namespace

double ThermoTable::MillivoltsAt(double degrees) const {
    if (millivolts.empty()) {
        return 0.0;
    }
    const double index =
        std::clamp(degrees - firstDegree, 0.0, static_cast<double>(millivolts.size() - 1));
    const auto low = static_cast<std::size_t>(std::floor(index));
    const std::size_t high = std::min(low + 1, millivolts.size() - 1);
    const double fraction = index - static_cast<double>(low);
    return millivolts[low] + (millivolts[high] - millivolts[low]) * fraction;
}

std::optional<ThermoTable> LoadThermoTable(const std::string& path, int firstDegree) {
    // The program's own reader, so a table the program accepts (one number a line
    // or several separated by commas) gives the simulator the same voltages.
    auto reader = vantrel::FieldReader::fromFile(path);
    if (!reader) {
        return std::nullopt;
    }
    ThermoTable table;
    table.firstDegree = firstDegree;
    while (!reader->atEnd()) {
        const auto value = reader->readDouble();
        if (!value) {
            return std::nullopt;
        }
        table.millivolts.push_back(*value);
    }
    if (table.millivolts.empty()) {
        return std::nullopt;
    }
    return table;
}

bool SignalModel::Load(const SimOptions& options, std::string& error) {
    options_ = &options;
    const auto needs = [&](SignalKind kind) {
        return std::any_of(options.channels.begin(), options.channels.end(),
                           [kind](const ChannelSignal& s) { return s.kind == kind; });
    };
    struct Wanted {
        SignalKind kind;
        const char* file;
        int firstDegree;
        ThermoTable* table;
    };
    for (const Wanted& wanted : {Wanted{SignalKind::ThermoJ, "j.tc", 0, &tableJ_},
                                 Wanted{SignalKind::ThermoK, "k.tc", -200, &tableK_}}) {
        if (!needs(wanted.kind)) {
            continue;
        }
        const std::string path = options.tablesDir + "/" + wanted.file;
        auto table = LoadThermoTable(path, wanted.firstDegree);
        if (!table) {
            error = "cannot read the thermocouple table " + path + " (see --tables)";
            return false;
        }
        *wanted.table = std::move(*table);
    }
    return true;
}

int SignalModel::CountAt(int channel, double seconds) const {
    const double count = RawCountAt(options_->channels[static_cast<std::size_t>(channel)], seconds);
    return static_cast<int>(std::lround(std::clamp(count, -32768.0, 32767.0)));
}

double SignalModel::RawCountAt(const ChannelSignal& signal, double seconds) const {
    const SimOptions& o = *options_;
    const double span10 = o.span10 - o.zero10;
    const double span200 = o.span200 - o.zero200;
    switch (signal.kind) {
        case SignalKind::Count:
            return signal.a;
        case SignalKind::Sine:
            return signal.c + signal.a * std::sin(2.0 * std::numbers::pi * seconds / signal.b);
        case SignalKind::Ramp: {
            const double phase = std::fmod(seconds, signal.c) / signal.c;
            return signal.a + (signal.b - signal.a) * phase;
        }
        case SignalKind::Volts:
            return o.zero10 + signal.a / 10.0 * span10;
        case SignalKind::MilliAmps:
            return o.zero200 + signal.a / 20.0 * span200;
        case SignalKind::MilliVolts:
            return o.zero200 + signal.a / 200.0 * span200;
        case SignalKind::Pt100:
            return signal.b * Pt100Ratio(signal.a);
        case SignalKind::ThermoJ:
        case SignalKind::ThermoK: {
            // The card sees the hot junction's voltage less the cold junction's.
            const ThermoTable& table = signal.kind == SignalKind::ThermoJ ? tableJ_ : tableK_;
            const double mv = table.MillivoltsAt(signal.a) - table.MillivoltsAt(o.ambient);
            return o.zero200 + mv / 200.0 * span200;
        }
    }
    return 0.0;
}

}  // namespace cardsim
