#pragma once

// The one program-wide set of values shared by the link, the logger and every
// window. Plain data: readers poll it on their own timers, writers set fields
// directly. Field names, types and index ranges follow the program's documented
// data model so that settings files and windows agree on them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// Per-channel arrays hold 21 entries (channel slots 0..15 carry data: card 1's
// channel c is slot c, card 2's is c + 8); per-line and configuration arrays hold 41
// (line slots 0..31: card 1's line d is slot d, card 2's is d + 16).
inline constexpr int kChannelArraySize = 21;
inline constexpr int kConfigArraySize = 41;
inline constexpr int kLineArraySize = 41;
inline constexpr int kUsedChannels = 16;
inline constexpr int kUsedLines = 32;
inline constexpr int kChannelsPerCard = 8;
inline constexpr int kLinesPerCard = 16;
inline constexpr int kTableSize = 2001;
inline constexpr int kTableJEntries = 1101;  // 0..1100 degrees
inline constexpr int kTableKEntries = 1571;  // -200..1370 degrees
inline constexpr int kTableKOffset = 200;

// A Boolean kept in a 16-bit field: -1 is true, 0 is false.
inline constexpr std::int16_t kLineOutput = -1;
inline constexpr std::int16_t kLineInput = 0;

inline constexpr const char* kDefaultAnalogFrame1 =
    "+00000,+00000,+00000,+00000,+00000,+00000,+00000,+00000,+25.00";

template <typename T, std::size_t N>
using Slots = std::array<T, N>;

// A table whose used channel slots (0..15) hold value; the slots beyond stay zero.
template <typename T, std::size_t N>
constexpr Slots<T, N> UsedChannelSlots(T value) {
    Slots<T, N> table{};
    for (int s = 0; s < kUsedChannels; ++s) {
        table[static_cast<std::size_t>(s)] = value;
    }
    return table;
}

// The log file a first run uses: on Windows the traditional "D:\test.csv", elsewhere
// (no drive D:) "test.csv" beside the settings in the start folder.
std::string DefaultLogFileName(const std::string& appDir);

// "Channel " and the slot number for the used slots; the others empty.
Slots<std::string, kChannelArraySize> DefaultChannelNames();

// A derived channel logged after the marked channels: its place among the derived
// channels (its slot in each frame's derived values), its name and its unit.
struct LoggedDerived {
    std::size_t slot = 0;
    std::string name;
    std::string unit;
    bool operator==(const LoggedDerived&) const = default;
};

// The initialisers below are the one home of every default: start-up begins from a
// state built for the start folder, and a test that builds a bare state runs on
// the same defaults (with an empty start folder).
struct AcquisitionState {
    AcquisitionState() = default;
    explicit AcquisitionState(std::string appDir);

    // 1. Link and card status
    std::int16_t ComPort1 = 1;
    std::int16_t ComPort2 = 2;
    bool PortOpen1 = false;
    bool PortOpen2 = false;
    bool CardConnected1 = false;
    bool CardConnected2 = false;
    bool TaskRunning1 = false;
    bool TaskRunning2 = false;
    std::string CardVersion1;
    std::string CardVersion2;
    // Set while a port that had opened has gone away (adapter unplugged) and is
    // being reopened; cleared when it opens again.
    bool PortLost1 = false;
    bool PortLost2 = false;
    // Set from the moment "?" goes out until the card's version reply. A card
    // whose port came back is not trusted until it has answered.
    bool AwaitingAnswer1 = false;
    bool AwaitingAnswer2 = false;
    // Set while no analog frame of the card has been taken in for two seconds;
    // while its task runs, its values are then old ones, not measurements.
    bool DataStale1 = false;
    bool DataStale2 = false;

    // 2. Frames: the last accepted frame text of each card, CR included.
    std::string AnalogFrame1 = kDefaultAnalogFrame1;
    std::string AnalogFrame2;
    std::string DigitalFrame1;
    std::string DigitalFrame2;

    // 3. Measurements
    Slots<std::int16_t, kChannelArraySize> RawCounts{};
    float AmbientTemp1 = 0.0f;
    float AmbientTemp2 = 0.0f;
    Slots<float, kChannelArraySize> ChannelValue{};

    // 4. Digital lines
    Slots<bool, kLineArraySize> DigitalIn{};
    Slots<bool, kLineArraySize> DigitalOut{};
    Slots<bool, kLineArraySize> DigitalOutCmd{};
    Slots<std::int16_t, kLineArraySize> DigitalDirection{};  // 0 input, -1 output

    // 5. Channel configuration and calibration
    Slots<std::int16_t, kConfigArraySize> InputType{};
    Slots<double, kConfigArraySize> InputRange = UsedChannelSlots<double, kConfigArraySize>(10.0);
    Slots<std::int16_t, kChannelArraySize> CalZero10V{};
    Slots<std::int16_t, kChannelArraySize> CalSpan10V =
        UsedChannelSlots<std::int16_t, kChannelArraySize>(32000);
    Slots<std::int16_t, kChannelArraySize> CalZero200mV{};
    Slots<std::int16_t, kChannelArraySize> CalSpan200mV =
        UsedChannelSlots<std::int16_t, kChannelArraySize>(32000);
    Slots<std::int16_t, kChannelArraySize> CalRTD =
        UsedChannelSlots<std::int16_t, kChannelArraySize>(13000);

    // 6. Task options
    Slots<bool, kChannelArraySize> PlotChannel{};
    Slots<bool, kChannelArraySize> SaveChannel{};

    // 7. Logging options and counters
    std::string LogFileName = DefaultLogFileName({});
    bool Saving = false;
    // "Channel 0" .. "Channel 15"
    Slots<std::string, kChannelArraySize> ChannelName = DefaultChannelNames();
    bool LogHeaders = true;
    std::int16_t LogDelimiter = 1;
    std::int16_t LogIntervalUnit = 1;
    std::int16_t LogIntervalChoice = 5;
    std::int16_t LogStampStyle = 3;
    std::int32_t LogIntervalTicks = 0;
    std::int32_t LogTickCount = 0;
    std::int32_t LogSampleNo = 0;
    // From [logging] in vantrel.ini, not kept in vtrls.con: what a record holds per
    // channel (0 the last value, 1 the interval's mean, 2 its minimum, maximum and
    // mean), a decimal comma, and the delimiter code that stands in for
    // LogDelimiter (0: none, File > Save's choice holds).
    std::int16_t LogStatistics = 0;
    bool LogDecimalComma = false;
    std::int16_t LogSeparatorOverride = 0;
    // Also from the run, not kept in vtrls.con: whether the header names each
    // column's unit ([logging] header_units), the unit of each channel slot's user
    // scale (none where it has none: its input type's unit holds), and the derived
    // channels logged, in the order of their settings.
    bool LogHeaderUnits = false;
    Slots<std::optional<std::string>, kUsedChannels> LogScaleUnit{};
    std::vector<LoggedDerived> LogDerived;
    // Set while log records cannot be written and wait in memory; the status
    // window shows it instead of claiming that saving works.
    bool SaveError = false;
    // The file records go to now: LogFileName, or the dated file that took over
    // from it when the log was split. LogFileName stays the name the user chose.
    std::string LogFileInUse;
    // Logging was taken up again after a restart, where the last run left off.
    bool LogResumed = false;
    // The disk of the log file has less free space than the warning level.
    bool LowDiskSpace = false;

    // 8. Thermocouple tables (millivolts): TableJ index = degrees, TableK index =
    // degrees + 200. Entries beyond the filled part stay 0.
    Slots<double, kTableSize> TableJ{};
    Slots<double, kTableSize> TableK{};

    // 9. Other
    std::string AppDir;
    // Settings files (names in AppDir) that could not be read at start-up nor kept
    // as a .bad copy: the only copy of the user's settings, never overwritten.
    std::vector<std::string> HeldSettingsFiles;
};

}  // namespace vantrel
