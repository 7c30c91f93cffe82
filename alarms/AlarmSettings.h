#pragma once

// The [alarms] part of vantrel.ini: rule1, rule2, ... one rule each in the words
// of alarms/RuleText.h, and for each built-in fault the channels it is switched
// off for. Its keys are rows of settings/IniKeys.h.

#include <vector>

#include "alarms/AlarmRule.h"
#include "settings/IniValues.h"

namespace vantrel::alarms {

// Rules in the order of their numbers; a rule that cannot be used, a rule past
// the 64th and a word naming no channel are noted in problems, with why, and left
// out. An empty rule is one switched off by hand and is passed over.
AlarmSettings ReadAlarmSettings(const ini::FileTexts& file, std::vector<ini::Problem>& problems);
// The section as the file keeps it: the rules numbered from rule1 on.
ini::SectionTexts AlarmSettingsTexts(const AlarmSettings& settings);

}  // namespace vantrel::alarms
