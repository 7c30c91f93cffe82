// Every file the program reads goes through the field reader: tables, the three
// settings files, configuration and calibration files. Arbitrary bytes must give
// values or a clean "nothing", never a crash, a hang or unbounded memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"
#include "settings/FieldReader.h"
#include "settings/SettingsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the order of field types to read, the rest is the file.
    const std::uint8_t pattern = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    vantrel::FieldReader reader(text);
    for (int field = 0; field < 4096 && !reader.atEnd(); ++field) {
        switch ((pattern >> (2 * (field % 4))) & 3) {
            case 0:
                (void)reader.readString();
                break;
            case 1:
                (void)reader.readDouble();
                break;
            case 2:
                (void)reader.readInteger();
                (void)reader.readLong();
                break;
            default:
                (void)reader.readBoolean();
                break;
        }
        (void)reader.line();
    }

    // A settings file that reads whole names no field; one that stops names one.
    vantrel::AcquisitionState state;
    for (auto read :
         {vantrel::ReadPortSettings, vantrel::ReadChannelSettings, vantrel::ReadLogSettings}) {
        vantrel::FieldReader settings(text);
        const std::optional<std::string> stop = read(settings, state);
        if (stop && stop->rfind("line ", 0) != 0) {
            std::abort();
        }
    }
    return 0;
}
