// Any bytes given as a calibration file must read whole, be refused as incompatible
// or be refused with a reason; what reads must export and import unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/CalibrationFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vantrel::CalibrationFileParse;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CalibrationFileParse parsed = vantrel::ParseCalibrationFile(vantrel::FieldReader(text));
    switch (parsed.outcome) {
        case CalibrationFileParse::Outcome::WrongHeader:
            return 0;
        case CalibrationFileParse::Outcome::BadValues:
            if (parsed.error.empty()) {
                std::abort();
            }
            return 0;
        case CalibrationFileParse::Outcome::Read:
            break;
    }
    const auto again = vantrel::ParseCalibrationFile(
        vantrel::FieldReader(vantrel::FormatCalibrationFile(parsed.table)));
    if (again.outcome != CalibrationFileParse::Outcome::Read || !(again.table == parsed.table)) {
        std::abort();
    }
    return 0;
}
