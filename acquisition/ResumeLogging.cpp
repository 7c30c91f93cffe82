#include "acquisition/ResumeLogging.h"

#include "logging/LogRecord.h"
#include "logging/LogTail.h"
#include "settings/TextStyles.h"

namespace vantrel::acquisition {

std::string ResumeLogging(AcquisitionState& state, const RunState& last, LogFileSink& sink) {
    StoreChoices(state, last.options);
    for (int n = 0; n < kUsedChannels; ++n) {
        state.SaveChannel[n] = last.saveChannels[n];
    }
    const std::string& path = last.fileInUse;
    state.LogFileInUse = path;
    state.LogIntervalTicks =
        IntervalTicks(state.LogIntervalChoice, IntervalUnitOf(state.LogIntervalUnit));
    state.LogTickCount = state.LogIntervalTicks - 1;
    // A dated file the last run named but killed before its first record.
    state.LogSampleNo = last.serialBefore;
    const bool serial = StampStyleOf(state.LogStampStyle) == StampStyle::Serial;
    std::string said = "logging resumed after a restart, into " + path;
    if (!sink.holdsData(path)) {
        // The file went missing meanwhile: it starts again as a new log would.
        if (state.LogHeaders) {
            sink.createNew(path, HeaderLine(state) + std::string(kLineEnd));
        }
    } else if (serial) {
        if (const std::optional<std::string> tail = sink.readTail(path, kLogTailBytes)) {
            const bool wholeFile = sink.fileSize(path).value_or(0) <= tail->size();
            state.LogSampleNo = LastSerialNumber(*tail, wholeFile).value_or(last.serialBefore);
        }
    }
    if (serial) {
        said += "; serial numbers go on from " + std::to_string(state.LogSampleNo + 1);
    }
    state.LogResumed = true;
    state.Saving = true;
    return said;
}

}  // namespace vantrel::acquisition
