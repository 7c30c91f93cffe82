#pragma once

// A card's frame in one message: as JSON (the per_card payload) or as a line of
// InfluxDB's line protocol (the influx payload). Both are appended to a buffer
// the caller keeps, so that a frame costs no allocation once it has grown.

#include <optional>
#include <string>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "publish/Payloads.h"

namespace vantrel::publish {

// A card's eight channels as its latest frame gave them; each array holds the
// card's eight, channel 0 first.
struct CardReadings {
    int card = 0;  // 0 or 1
    const AnalogSample* samples = nullptr;
    const std::string* names = nullptr;
    // None: every channel as converted.
    const std::optional<ChannelScale>* scales = nullptr;
};

// {"time":…,"card":1,"channels":[{"channel":0,"name":"Fan","value":21.3,"unit":"deg.C"},
// …,{"channel":7,"name":…,"value":null,"unit":"V","error":"Overflow7"}]}; channel
// is the slot (card 2's channel c is 8 + c), the time the frame's.
void AppendCardPayload(std::string& out, const CardReadings& card);

// vantrel,station=rig_2,card=1 Fan=21.3,Oil\ temp=80.2 1796562309250000000: a
// field per channel with a value, named after the channel ("ch<slot>" for one
// without a name), the time in nanoseconds since 1970 UTC. A channel without a
// value is left out; when none has one, the line carries the one string field
// error (the first channel's reason), since a line needs a field.
void AppendInfluxLine(std::string& out, std::string_view station, const CardReadings& card);

}  // namespace vantrel::publish
