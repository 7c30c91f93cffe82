#include "acquisition/StatusText.h"

#include "engine/CardView.h"
#include "logging/DatedFileName.h"
#include "logging/RecordsFlow.h"

namespace vantrel::acquisition {

CardStatusText CardStatus(const AcquisitionState& state, int card) {
    const ConstCardView flags = CardOf(state, card);
    CardStatusText text;
    text.port = "USB : COM" + std::to_string(flags.ComPort);
    text.status = "Card Disconnected";
    switch (flags.linkCondition()) {
        case LinkCondition::PortNotFound:
            text.fault = "COM not found";
            break;
        case LinkCondition::PortLost:
            text.fault = "COM lost";
            break;
        case LinkCondition::CardNotFound:
            text.fault = "Card not found";
            break;
        case LinkCondition::NoAnswer:
            text.fault = "No answer";
            break;
        case LinkCondition::NoData:
            text.fault = "No data";
            break;
        case LinkCondition::Fine:
            text.fault = "No Faults";
            break;
    }
    if (flags.PortOpen && flags.CardConnected) {
        text.status = "Card Connected. Ver." + flags.CardVersion;
    }
    text.task = flags.TaskRunning ? "Task Running" : " No Task Running";
    return text;
}

std::string SaveStatus(const AcquisitionState& state) {
    if (state.SaveError) {
        // Records wait because the log file cannot be written.
        return "Save error";
    }
    return RecordsAreBeingWritten(state) ? "Saving" : "Not Saving";
}

namespace {

std::string LogFileNotes(const AcquisitionState& state) {
    return std::string(state.LogResumed ? " (resumed)" : "") +
           (state.LowDiskSpace ? ", disk space low" : "");
}

}  // namespace

std::string LogFileStatus(const AcquisitionState& state) {
    if (!state.Saving) {
        return "No log file";
    }
    return FileNameOf(state.LogFileInUse) + LogFileNotes(state);
}

std::string CardStatusLine(const AcquisitionState& state, int card) {
    const CardStatusText text = CardStatus(state, card);
    std::string task = text.task;
    task.erase(0, task.find_first_not_of(' '));
    return "card " + std::to_string(CardIndex(card) + 1) + ": " + text.status + ", " + text.fault +
           ", " + task;
}

std::string SaveStatusLine(const AcquisitionState& state) {
    return "logging: " + SaveStatus(state);
}

std::string LogFileLine(const AcquisitionState& state) {
    return "log file: " + state.LogFileInUse + LogFileNotes(state);
}

std::vector<std::string> StatusChanges::next(const AcquisitionState& state) {
    std::vector<std::string> now = {CardStatusLine(state, 0), CardStatusLine(state, 1),
                                    SaveStatusLine(state)};
    if (state.Saving) {
        now.push_back(LogFileLine(state));
    }
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i >= last_.size() || last_[i] != now[i]) {
            changed.push_back(now[i]);
        }
    }
    last_ = std::move(now);
    return changed;
}

}  // namespace vantrel::acquisition
