#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/AutoStart.h"
#include "acquisition/Run.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {

// A run on fake ports and hand-fired timers, with its start folder and log files
// in a fresh temporary folder, or in startFolder and written through sink (a later
// start on the same disk).
struct RunRig {
    explicit RunRig(const TempFolder* startFolder = nullptr, LogFileSink* sink = nullptr)
        : folder(startFolder != nullptr ? *startFolder : ownFolder.emplace()),
          files(sink != nullptr ? *sink : ownFiles) {
        state.AppDir = folder.path().string();
        run = std::make_unique<acquisition::Run>(
            state, acquisition::RunParts{cm, cm2, clock, dialogs, files},
            acquisition::MakeRunTimers(timers.factory()));
        pause = &timers["tmrDelay"];
        logTick = &timers["tmrSave"];
    }

    // The unattended start over this run, polled by `poll`, its lines kept in `said`.
    acquisition::AutoStart autoStart(bool log) {
        return {state, *run, poll, log, [this](const std::string& line) { said.push_back(line); }};
    }

    std::optional<TempFolder> ownFolder;
    const TempFolder& folder;
    DiskLogFileSink ownFiles;
    LogFileSink& files;
    AcquisitionState state;
    FakeSerialPort cm;
    FakeSerialPort cm2;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeTimer poll;
    std::vector<std::string> said;
    FakeTimers timers;
    FakeTimer* pause = nullptr;
    FakeTimer* logTick = nullptr;
    std::unique_ptr<acquisition::Run> run;
};

}  // namespace vantrel::testing
