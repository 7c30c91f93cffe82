#pragma once

// The about box: program name, version and a line on the channel count. At
// start-up it is the blocking splash and closes itself after two seconds; from
// Help > About it also shows the build, the Qt it runs on and the licence, and
// stays until closed.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace vantrel {

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kShowMilliseconds = 2000;

    enum class Role { Splash, About };

    explicit frmAbout(QWidget* parent = nullptr, Role role = Role::Splash);

    QLabel* lblName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblProduct = nullptr;
    QLabel* lblChannels = nullptr;
    QTimer* Timer1 = nullptr;
    // Only in the About role.
    QLabel* lblBuild = nullptr;
    QLabel* lblLicence = nullptr;
    QPushButton* cmdClose = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Closes the box when its time is up.
    void Timer1_Timer();
    void addAboutDetails();

    Role role_;
};

}  // namespace vantrel
