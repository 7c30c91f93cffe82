#pragma once

#include <QString>

namespace vantrel {

// Object name of an element of a control array: "lblData" and 3 give "lblData_3".
inline QString indexedName(const char* name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

}  // namespace vantrel
