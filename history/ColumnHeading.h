#pragma once

// A column's heading in a log or an export: its name, with its unit in brackets
// after it when it has one ("Tin [°C]").

#include <string>
#include <string_view>

namespace vantrel::history {

struct ColumnHeading {
    std::string name;
    std::string unit;  // empty: none
};

// "Tin [°C]", or the name alone for a column without a unit.
std::string NameWithUnit(std::string_view name, std::string_view unit);
// The name and the unit of "Tin [°C]"; a heading without a unit in brackets at its
// end is all name.
ColumnHeading SplitUnit(std::string_view heading);

}  // namespace vantrel::history
