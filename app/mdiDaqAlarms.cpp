// The main window's part in the alarms: the status bar's line, the alarm list,
// markers, a raised rule's beep and desktop notification, and the marks the live
// views put on channels in alarm and on values that are not live. Output lines are
// the run's to switch, with or without a window.

#include <QApplication>
#include <QPointer>
#include <QStatusBar>

#include "alarms/AlarmListText.h"
#include "app/DesktopNotifier.h"
#include "app/frmAlarms.h"
#include "app/mdiDaq.h"
#include "engine/CardView.h"
#include "platform/DateTimeText.h"
#include "views/ui/ChannelMarkLooks.h"

namespace vantrel {

namespace {

// A marker is a short note on the run's time line.
constexpr int kLongestMarker = 100;

}  // namespace

void mdiDaq::watchAlarms() {
    lblAlarms = new QLabel(this);
    lblAlarms->setObjectName(QStringLiteral("lblAlarms"));
    lblAlarms->setAutoFillBackground(true);
    lblAlarms->hide();
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    statusBar()->addWidget(lblAlarms, 1);
    // The run outlives the window; a pointer that the window's end clears.
    run_.events().addListener([self = QPointer<mdiDaq>(this)](const alarms::RunEvent& event) {
        if (self) {
            self->alarmEvent(event);
        }
    });
    showAlarmLine();
}

void mdiDaq::alarmEvent(const alarms::RunEvent& event) {
    using alarms::EventKind;
    if (event.kind != EventKind::AlarmRaised && event.kind != EventKind::AlarmCleared &&
        event.kind != EventKind::AlarmAcknowledged) {
        return;
    }
    showAlarmLine();
    if (alarmsWindow) {
        alarmsWindow->refresh();
    }
    if (event.kind != EventKind::AlarmRaised || !event.alarm ||
        event.alarm->kind != alarms::AlarmKind::Rule) {
        return;
    }
    const auto& rules = run_.events().evaluator().settings().rules;
    const auto index = static_cast<std::size_t>(event.alarm->index);
    if (event.alarm->index < 0 || index >= rules.size()) {
        return;
    }
    if (rules[index].beep) {
        QApplication::beep();
    }
    if (rules[index].notify) {
        const bool critical = event.level == alarms::AlarmLevel::Critical;
        NotifyDesktop(critical ? QStringLiteral("Vantrel: critical alarm")
                               : QStringLiteral("Vantrel: warning"),
                      QString::fromStdString(event.text));
    }
}

void mdiDaq::showAlarmLine() {
    const std::vector<alarms::ActiveAlarm>& active = run_.events().active();
    const QString line = QString::fromStdString(alarms::ActiveAlarmsLine(active));
    if (lblAlarms->text() != line) {
        lblAlarms->setText(line);
        lblAlarms->setAccessibleName(line);
    }
    lblAlarms->setVisible(!active.empty());
    if (active.empty()) {
        return;
    }
    const alarms::AlarmLevel worst = active.front().level;
    QPalette colours = lblAlarms->palette();
    colours.setColor(QPalette::Window, AlarmColour(worst));
    colours.setColor(QPalette::WindowText, AlarmTextColour(worst));
    lblAlarms->setPalette(colours);
    lblAlarms->setAccessibleDescription(QString::fromLatin1(alarms::LevelText(worst)));
}

ChannelMarks mdiDaq::channelMarks() const {
    // The run's history holds each card's last converted frame, at the time it
    // was converted.
    LastFrames lastFrames;
    const history::HistoryDocument& history = run_.history();
    const int offset = clock_.now().utcOffsetMinutes;
    for (const history::HistoryGroup& group : history.groups) {
        if (group.firstSlot < 0 || group.series.empty()) {
            continue;
        }
        const auto card = static_cast<std::size_t>(CardOfChannelSlot(group.firstSlot));
        if (card < lastFrames.size()) {
            lastFrames[card] = platform::LocalDateTime(group.series.lastX(), offset);
        }
    }
    const alarms::RunEvents& events = run_.events();
    return MarkChannels(state_, events.evaluator().settings(), events.active(), lastFrames);
}

void mdiDaq::ViewAlarms_Click() {
    showChild(
        alarmsWindow, [this] { return new frmAlarms(run_); }, ChildSize::ShareOfArea);
}

void mdiDaq::TaskAddMarker_Click() {
    const std::optional<std::string> text =
        dialogs_.askText({"Add Marker", "Marker text:", kLongestMarker});
    if (!text) {
        return;
    }
    const QString note = QString::fromStdString(*text).trimmed().left(kLongestMarker);
    if (!note.isEmpty()) {
        run_.addMarker(note.toStdString());
    }
}

}  // namespace vantrel
