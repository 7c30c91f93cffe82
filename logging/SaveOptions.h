#pragma once

// What pressing OK in the save options window does to the shared state, apart
// from the window itself: store the choices, check them, write the header line
// and arm the logger.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"
#include "logging/LogFileSink.h"
#include "logging/LogFormat.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

namespace vantrel {

// The window's controls as read on OK, already turned into the stored codes.
struct SaveOptionsChoice {
    std::string fileName;
    std::array<std::string, kUsedChannels> channelNames{};
    bool headers = true;
    std::int16_t delimiter = CodeOf(Delimiter::Comma);
    std::int16_t intervalUnit = CodeOf(IntervalUnit::Seconds);
    std::int16_t intervalChoice = 5;  // 1..300 units
    std::int16_t stampStyle = CodeOf(StampStyle::Time);

    bool operator==(const SaveOptionsChoice&) const = default;
};

// The choices stored in the state, as the window shows them when it opens.
SaveOptionsChoice StoredChoices(const AcquisitionState& state);
// Stores the choices as they are, checking nothing and starting nothing.
void StoreChoices(AcquisitionState& state, const SaveOptionsChoice& choice);

// The interval in seconds, one logger tick each.
std::int32_t IntervalTicks(std::int16_t intervalChoice, IntervalUnit unit);

// Stores the choices and, when they allow it, starts logging afresh. Nothing when
// logging has started (the window closes), otherwise the message to show (the
// window stays open):
//  - a double quote in a channel name or the file name: nothing is stored, because
//    it would break the quoted fields of the settings file;
//  - a file name that is a folder, a FIFO, a device or any other non-regular
//    file: nothing is stored;
//  - an empty file name: the choices are stored and logging stops;
//  - no channel marked for saving: the choices are stored, logging and its
//    counters stay as they were;
//  - the header line cannot be written, or the file's earlier records cannot be
//    kept: nothing is stored, logging stays exactly as it was.
// With headers on, a log file that holds records is first copied beside itself
// under a dated name (see DatedFileName, stamped with now), so emptying it for the
// header loses no records; one holding only a header line is emptied as it is.
std::optional<platform::Message> ApplySaveOptions(AcquisitionState& state,
                                                  const SaveOptionsChoice& choice,
                                                  LogFileSink& sink, const platform::DateTime& now);

}  // namespace vantrel
