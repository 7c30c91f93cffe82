#pragma once

// What goes to the broker: the topics under <topic_prefix>/<station> and the JSON
// payloads of the analog values, the digital lines and the program's status.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alarms/Alarm.h"
#include "alarms/RunEvent.h"
#include "derived/DerivedChannel.h"
#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "platform/Clock.h"

namespace vantrel::publish {

// Made once per connection, so that a message takes its topic without building it.
// Only the validated prefix and station, slot and card numbers and fixed words
// make them, so none holds a wildcard ('+', '#').
class Topics {
  public:
    Topics(std::string_view prefix, std::string_view station);
    // channel is the slot 0..15.
    const std::string& analog(int channel) const;
    // A card's frame in one message; card is 0 or 1 (…/card1/analog, …/card2/analog).
    const std::string& cardAnalog(int card) const;
    const std::string& influx() const { return influx_; }
    // name is the derived channel's, which only letters, digits and '_' make.
    std::string derived(std::string_view name) const;
    // The same into out, reusing its room.
    void derived(std::string_view name, std::string& out) const;
    const std::string& digital() const { return digital_; }
    const std::string& status() const { return status_; }
    const std::string& events() const { return events_; }
    const std::string& alarms() const { return alarms_; }

  private:
    std::string base_;
    std::vector<std::string> analog_;
    std::vector<std::string> cardAnalog_;
    std::string influx_;
    std::string digital_;
    std::string status_;
    std::string events_;
    std::string alarms_;
};

// One channel's latest reading: its value as the user reads it (through the
// channel's user scale where it has one), or the conversion failure that kept it
// from being converted.
struct AnalogSample {
    platform::DateTime time;
    double value = 0.0;
    int inputType = 0;
    std::optional<std::string> error;
};

// The value as the views show it (decimals by input type, halves away from zero),
// as a JSON number; nothing for a value JSON cannot hold (infinite or not a number).
std::optional<std::string> ValueNumber(float value, int inputType);
// The same to a given number of decimals.
std::optional<std::string> DecimalNumber(double value, int decimals);
// The same appended to out; false, with nothing appended, for a value JSON cannot
// hold.
bool AppendDecimal(std::string& out, double value, int decimals);
// "2026-12-06T13:05:09.250Z": the moment in UTC, appended to out.
void AppendIsoUtc(std::string& out, const platform::DateTime& local);

// How a channel reads: its unit ("count" for an unknown input type without a
// scale) and its decimals, the scale's where it names them.
std::string_view UnitOf(int inputType, const std::optional<ChannelScale>& scale);
int DecimalsOf(int inputType, const std::optional<ChannelScale>& scale);
// The sample's value as a number appended to out, as the user reads it; false,
// with nothing appended, when it has none.
bool AppendSampleValue(std::string& out, const AnalogSample& sample,
                       const std::optional<ChannelScale>& scale);
// Why a sample has no value: its conversion failure, or "not a number".
std::string_view MissingValueReason(const AnalogSample& sample);
// The JSON value of a sample, null when it has none; whether it had one.
bool AppendJsonSampleValue(std::string& out, const AnalogSample& sample,
                           const std::optional<ChannelScale>& scale);
// ,"unit":… and, for a sample without a value, ,"error":… with the reason.
void AppendJsonUnitAndReason(std::string& out, const AnalogSample& sample,
                             const std::optional<ChannelScale>& scale, bool valued);

// {"time":…,"value":1.25,"name":…,"input":"PT-100","unit":"deg.C"}; a failure
// gives "value":null and "error". With a user scale the value is read to its
// decimals (the input type's when it has none) and the unit is the scale's.
std::string AnalogPayload(const AnalogSample& sample, std::string_view name,
                          const std::optional<ChannelScale>& scale = std::nullopt);
// The same appended to out.
void AppendAnalogPayload(std::string& out, const AnalogSample& sample, std::string_view name,
                         const std::optional<ChannelScale>& scale);

// A derived channel's latest value; none when its frame gave it none (a channel it
// uses did not convert, or the result is not a finite number).
struct DerivedSample {
    platform::DateTime time;
    std::optional<double> value;
};
// {"time":…,"value":3.25,"name":"dT","unit":"K"}, the value to the channel's
// decimals; "value":null when there is none.
std::string DerivedPayload(const DerivedSample& sample, const derived::DerivedChannel& channel);
// {"time":…,"in":"0000ABCD","out":"…"}: lines 31..0 as upper-case hex.
std::string DigitalPayload(const platform::DateTime& time, std::uint32_t in, std::uint32_t out);
void AppendDigitalPayload(std::string& payload, const platform::DateTime& time, std::uint32_t in,
                          std::uint32_t out);

struct StatusFacts {
    std::string card1;  // "connected", "not connected" or "port lost"
    std::string card2;
    bool taskRunning = false;
    bool logging = false;
    std::string version;
    bool operator==(const StatusFacts&) const = default;
};
std::string StatusPayload(const StatusFacts& facts);
// {"time":…,"kind":"alarm raised","channel":"CH3","level":"critical","value":81.2,
// "text":"CH3 above 80"}; level and value null when the event has none.
std::string EventPayload(const alarms::RunEvent& event);
// The active alarms as one JSON array, in the order given, [] when none:
// {"channel":…,"level":…,"text":…,"raised":…,"value":…,"acknowledged":false,"holds":true}.
std::string AlarmsPayload(const std::vector<alarms::ActiveAlarm>& active);

// The last will and the goodbye of an orderly exit.
inline constexpr std::string_view kOfflinePayload = R"({"online":false})";

}  // namespace vantrel::publish
