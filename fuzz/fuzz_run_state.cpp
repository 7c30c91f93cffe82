// Any bytes left as the run state file, or at the end of a log file that logging
// resumes into: reading gives a state or a problem, never both and never neither;
// a state read has a real day or none and a serial number to go on from that is not
// negative; a state written out reads back to the same text; a serial number read
// from a log is never negative.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "acquisition/RunStateFile.h"
#include "logging/LogTail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vantrel::acquisition::RunStateReading reading = vantrel::acquisition::ParseRunState(text);
    if (reading.run.has_value() == !reading.problem.empty()) {
        std::abort();
    }
    if (reading.run) {
        if ((reading.run->fileDay && !reading.run->fileDay->ok()) ||
            reading.run->serialBefore < 0) {
            std::abort();
        }
        const std::string written = vantrel::acquisition::RunStateText(*reading.run);
        const auto again = vantrel::acquisition::ParseRunState(written);
        if (!again.run || vantrel::acquisition::RunStateText(*again.run) != written) {
            std::abort();
        }
    }
    for (const bool wholeFile : {true, false}) {
        const auto number = vantrel::LastSerialNumber(text, wholeFile);
        if (number && *number < 0) {
            std::abort();
        }
    }
    return 0;
}
