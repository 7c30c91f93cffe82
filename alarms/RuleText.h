#pragma once

// A rule as one line a user can write by hand: the channel or line as the views
// name it, the condition, then options in any order, words separated by blanks,
// in any letter case:
//
//   CH3 above 80 critical hysteresis 2 on-delay 5 off-delay 10 latching
//   CH12 outside 4 to 20 set D20 beep
//   D17 on critical notify
//
// Conditions: above X, below X, outside L to H, inside L to H ("to" may be left
// out) for a channel CH0..CH15 or a derived channel by its name ("dT above 5");
// on, off, changes for an input line D0..D31. A name read as CHn or Dn is the
// channel or the line.
// Options: warning (the default) or critical, hysteresis X, on-delay S, off-delay
// S (seconds), latching, set Dn or clear Dn (an output line of either card), beep,
// notify.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "alarms/AlarmRule.h"

namespace vantrel::alarms {

// The rule, or why the text is none ("8O is not a number").
std::variant<AlarmRule, std::string> ParseRule(std::string_view text);
// The rule as ParseRule reads it back: the level always, other options only when
// they are not their defaults.
std::string RuleText(const AlarmRule& rule);

// "CH3", "D17": the names the analog and digital views give.
std::string ChannelName(int slot);
std::string LineName(int slot);
// "CH3", "D17" or "dT": the input as the rule names it.
std::string InputName(const AlarmRule& rule);
// "CH3 above 80", "CH12 outside 4 to 20", "D17 on": what the rule watches.
std::string ConditionText(const AlarmRule& rule);

// Channel slots named as "CH2 CH5" (channel s in bit s); why, when a word names no
// channel, with the channels named by the other words.
struct ChannelList {
    std::uint16_t channels = 0;
    std::string why;
};
ChannelList ParseChannelList(std::string_view text);
std::string ChannelListText(std::uint16_t channels);

// A number as a rule's words write it ("80", "+2.5", "-1e3"); none when the word is
// not a finite number.
std::optional<double> ReadNumber(std::string_view word);
std::string NumberWord(double value);
// The slot a "CH12" or "d3" names, however large; none when the word is no such name.
std::optional<int> ChannelNameSlot(std::string_view word);
std::optional<int> LineNameSlot(std::string_view word);
// Why a word that is no CHn, Dn or name cannot be a rule's input.
std::string NoInputText(std::string_view word);

}  // namespace vantrel::alarms
