#pragma once

// The about box: program name, version and a line on the channel count. It closes
// itself after two seconds; at start-up it is the blocking splash.

#include <QDialog>
#include <QLabel>
#include <QTimer>

namespace vantrel {

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kShowMilliseconds = 2000;

    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblProduct = nullptr;
    QLabel* lblChannels = nullptr;
    QTimer* Timer1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Closes the box when its time is up.
    void Timer1_Timer();
};

}  // namespace vantrel
