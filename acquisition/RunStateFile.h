#pragma once

// The small file in the start folder that says what the run was doing, so that a
// start after a power cut or a crash can take logging up again: whether logging was
// on and the task running, which file records went to, and the logging options and
// channel marks in force (the settings files are only written at a proper end).
//
// Text, one "key=value" line each, CR LF ended:
//   logging=on|off, task=running|stopped, file=<file in use>,
//   log_file=<the name the user chose>, headers=true|false, delimiter=1..3,
//   interval_unit=1..3, interval_choice=0..300, stamp_style=1..5,
//   save=<16 of 0 or 1, channel 0 first>, name0= ... name15=<channel names>,
//   file_day=YYYY-MM-DD (the day of the first record in file; left out before it
//   has one), serial_before=<serial number the file's records go on from>.
// Unknown keys are passed over, so a later version's file still reads; the last
// two may be missing, as in files of earlier versions.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "logging/LogFilePlace.h"
#include "logging/SaveOptions.h"

namespace vantrel::acquisition {

inline constexpr const char* kRunStateFile = "vantrel-run.state";

struct RunState {
    bool logging = false;
    bool taskRunning = false;
    std::string fileInUse;
    std::optional<std::chrono::year_month_day> fileDay;
    std::int32_t serialBefore = 0;
    SaveOptionsChoice options;
    std::array<bool, kUsedChannels> saveChannels{};

    bool operator==(const RunState&) const = default;
};

// What the state says now, with records going to file.
RunState CurrentRunState(const AcquisitionState& state, const LogFilePlace& file);
std::string RunStateText(const RunState& run);

struct RunStateReading {
    std::optional<RunState> run;
    // Why there is none: "line 3: 'delimiter' must be 1, 2 or 3, found '7'".
    std::string problem;
};
RunStateReading ParseRunState(std::string_view text);

}  // namespace vantrel::acquisition
