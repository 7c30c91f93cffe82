#pragma once

// Every control's objectName is its name in the program's design ("cmdOK",
// "lblData_3" for element 3 of a control array) and its accessible name is its
// visible text, so tests and screen readers find it.

#include <QString>

namespace vantrel {

// Object name of an element of a control array: "lblData" and 3 give "lblData_3".
inline QString indexedName(const char* name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

template <typename Widget>
Widget* named(Widget* widget, const QString& objectName, const QString& accessibleName) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    return widget;
}

}  // namespace vantrel
