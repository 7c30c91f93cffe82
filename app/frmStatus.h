#pragma once

// "Card Status": per card whether its port opened, whether the card answered and
// with which version, the port number and whether a task runs; below, whether
// records are being saved and into which file. Reads the shared state every 250 ms,
// never writes it.

#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

class frmStatus : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRefreshMilliseconds = 250;

    explicit frmStatus(const AcquisitionState& state, QWidget* parent = nullptr);

    // The broker line's text at each refresh; hidden while it is empty.
    void setBrokerLine(std::function<std::string()> line);

    void tmrStatus_Timer();
    // While the program ends without a person to close message boxes, what they
    // would say shows in the save line.
    void ShowClosingNote(const QString& text);

    std::array<QLabel*, 2> lblStatus{};
    std::array<QLabel*, 2> lblUSB{};
    std::array<QLabel*, 2> lblFault{};
    std::array<QLabel*, 2> lblTask{};
    QLabel* lblSave = nullptr;
    QLabel* lblMqtt = nullptr;
    // The log file in use, under card 2's column.
    QLabel* lblFile = nullptr;
    QTimer* tmrStatus = nullptr;

  private:
    void Form_Load();
    void refreshCard(int card);
    void refreshBroker();
    // The file text, shortened in the middle to the label's width.
    void showFileText();
    bool eventFilter(QObject* watched, QEvent* event) override;

    const AcquisitionState& state_;
    QString closingNote_;
    std::function<std::string()> brokerLine_;
    QString fileText_;
};

}  // namespace vantrel
