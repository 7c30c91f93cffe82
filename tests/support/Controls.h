#pragma once

// Reaching a window's controls as a user does, by their object names, and letting
// one of its running timers fire once without waiting for it. A missing control or
// a stopped timer throws, which fails the test that asked.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <stdexcept>

namespace vantrel::testing {

template <typename Control = QWidget>
Control& Find(const QObject& window, const QString& name) {
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr) {
        throw std::runtime_error("no control named " + name.toStdString());
    }
    return *control;
}

// Element `index` of a control array: "lblData" and 3 find "lblData_3".
template <typename Control = QWidget>
Control& Find(const QObject& window, const char* name, int index) {
    return Find<Control>(window,
                         QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index));
}

// One timeout, delivered as the event loop delivers it, so the connection counts.
inline void Tick(const QObject& window, const QString& timerName = QStringLiteral("tmrUpdate")) {
    QTimer& timer = Find<QTimer>(window, timerName);
    if (!timer.isActive()) {
        throw std::runtime_error(timerName.toStdString() + " is not running");
    }
    QTimerEvent event(timer.timerId());
    QCoreApplication::sendEvent(&timer, &event);
}

// Types into a text field or spin box as the user does: its text selected and
// replaced key by key, then Return.
inline void TypeInto(QWidget& field, const QString& text) {
    const auto press = [&field](int key, Qt::KeyboardModifiers modifiers, const QString& typed) {
        QKeyEvent down(QEvent::KeyPress, key, modifiers, typed);
        QCoreApplication::sendEvent(&field, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, typed);
        QCoreApplication::sendEvent(&field, &up);
    };
    press(Qt::Key_A, Qt::ControlModifier, QString());
    press(Qt::Key_Backspace, Qt::NoModifier, QString());
    for (const QChar c : text) {
        press(c.isLetterOrNumber() ? int(c.toUpper().unicode()) : int(Qt::Key_unknown),
              Qt::NoModifier, QString(c));
    }
    press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
}

}  // namespace vantrel::testing
