#pragma once

// What the evaluator is told about the cards besides their frames, taken from the
// shared state when it changes: a card's link fault and the channels the user
// marked for the trend or the log.

#include <cstdint>

#include "engine/AcquisitionState.h"

namespace vantrel::alarms {

// As the status window's fault line tells them. A port that never opened and a
// card that never answered in this run are not faults of a link: nothing was
// lost, the card may well not be there.
enum class LinkFault : std::uint8_t { None, PortLost, NoAnswer, NoData };

LinkFault LinkFaultOf(const AcquisitionState& state, int card);
// Channel slot s in bit s: plotted or saved.
std::uint16_t ChannelsMarked(const AcquisitionState& state);

}  // namespace vantrel::alarms
