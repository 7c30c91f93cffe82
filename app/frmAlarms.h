#pragma once

// "Alarms": the active alarms (critical first, newest first) with their channel,
// condition, level, value at raise, when raised and whether acknowledged, and
// below them the recent history of alarms raised, cleared and acknowledged.
// Acknowledge takes the selected active alarm (Space or Enter on it), Acknowledge
// All every one (Ctrl+Shift+A). Rebuilt when the run's events have moved on.

#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "acquisition/Run.h"

class QPushButton;
class QTimer;

namespace vantrel {

class frmAlarms : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kHistoryRows = 1000;

    explicit frmAlarms(acquisition::Run& run, QWidget* parent = nullptr);

    // Shows what the run holds now, when it changed since the last refresh.
    void refresh();
    // Wide enough for a time and a condition on one line.
    QSize sizeHint() const override { return {760, 420}; }
    void tmrUpdate_Timer() { refresh(); }
    void cmdAcknowledge_Click();
    void cmdAcknowledgeAll_Click();

    QTableWidget* grdActive = nullptr;
    QTableWidget* grdHistory = nullptr;
    QPushButton* cmdAcknowledge = nullptr;
    QPushButton* cmdAcknowledgeAll = nullptr;
    QTimer* tmrUpdate = nullptr;

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showActive();
    void showHistory();
    std::optional<alarms::AlarmId> selectedAlarm() const;

    acquisition::Run& run_;
    // The events seen at the last refresh: an acknowledgement is an event too.
    std::uint64_t shownEvents_ = ~std::uint64_t{0};
};

}  // namespace vantrel
