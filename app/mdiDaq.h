#pragma once

// The main window: a multiple-document frame holding the menu bar, the two card
// ports, the logger tick and the task-start delay. It owns the three moments of a
// run: start-up (splash, ports, version queries, status window), task start and
// stop (through the task sequencer), and shut-down (stop commands, settings files).

#include <QAction>
#include <QDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string_view>

#include "app/Preferences.h"
#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "link/TaskSequencer.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"

class QCloseEvent;

namespace vantrel {

class frmAbout;
class frmStatus;
class frmTaskManager;
class frmCardComm;
class frmViewAnalogData;
class frmViewDigitalData;
class frmTrend;
class frmConfig;
class frmCalib;
class DataLogger;
namespace publish {
class Publisher;
}

class mdiDaq : public QMainWindow {
    Q_OBJECT

  public:
    // The timers the window runs on: the pause between the start commands
    // (tmrDelay), each card's port retry and the publisher's tick (tmrPublish).
    // The program hands in Qt timers (QtWindowTimers); tests hand in timers they
    // fire themselves.
    struct Timers {
        std::unique_ptr<platform::Timer> delay;
        std::array<std::unique_ptr<platform::Timer>, 2> reopen;
        std::unique_ptr<platform::Timer> publish;
    };

    mdiDaq(AcquisitionState& state, platform::SerialPort& cm, platform::SerialPort& cm2,
           platform::Dialogs& dialogs, platform::Clock& clock, Timers timers,
           QWidget* parent = nullptr);
    ~mdiDaq() override;

    // Start-up: splash, show, open card 1 and card 2 with their version queries,
    // open the status window.
    void Form_Load();
    // Shut-down: "@F" on every port open now, then both settings files. Runs once.
    void Form_Unload();

    // Menu handlers.
    void FileSave_Click();
    void FileExit_Click();
    void ViewAnalogData_Click();
    void ViewDigitalData_Click();
    void ViewTrend_Click();
    void ViewHistory_Click();
    void ViewStatus_Click();
    void TaskStart_Click();
    void TaskStop_Click();
    void TaskManager_Click();
    void OptionsCardConfig_Click(int index);
    void OptionsCardComm_Click();
    void OptionsSettings_Click();
    void OptionsCalibrate_Click(int index);
    void HelpContents_Click();
    void HelpAbout_Click();

    // Timer handler.
    void tmrSave_Timer();

    // Writes text + CR to the card's port (0 = card 1, else card 2); checks nothing.
    void SendCommand(int card, std::string_view text);
    // Reports a failed conversion without blocking the receive path; while one such
    // box is open, further failures are not stacked on top of it (false).
    bool ShowConversionFailure(const ConversionFailure& failure);

    // What the windows share.
    AcquisitionState& state() { return state_; }
    platform::Dialogs& dialogs() { return dialogs_; }
    platform::Clock& clock() { return clock_; }
    platform::SerialPort& port(int card) { return card == 0 ? cm : cm2; }
    // The link of card 0 or 1: receive framing, lost-port reopening, counters.
    link::CardLink& cardLink(int card) { return *links_[card == 0 ? 0 : 1]; }
    link::TaskSequencer& sequencer() { return *sequencer_; }
    // Publishes the live values to an MQTT broker when vantrel.ini asks for it.
    publish::Publisher& publisher() { return *publisher_; }
    const Preferences& preferences() const { return preferences_; }
    QMdiArea* mdiArea() const { return mdiArea_; }

    // Shows a child window inside the frame once: when it is already open it is
    // brought to the front as it is; otherwise make() builds it (unparented) and it
    // is shown. Closing the child destroys it and its frame.
    template <class W, class F>
    W* showChild(QPointer<W>& slot, F make) {
        if (slot) {
            bringToFront(slot);
            return slot;
        }
        W* child = make();
        slot = child;
        addChild(child);
        return child;
    }

    // Runs a modal dialog to its end. Tests replace it to answer the dialog
    // themselves instead of entering a modal loop.
    using ModalRunner = std::function<void(QDialog&)>;
    void setModalRunner(ModalRunner runner) { runModal_ = std::move(runner); }
    void runModal(QDialog& dialog) { runModal_(dialog); }

    // The serial ports of card 1 and card 2.
    platform::SerialPort& cm;
    platform::SerialPort& cm2;

    QTimer* tmrSave = nullptr;
    // The pause between "@TA00" and "@N", run by the task sequencer.
    platform::Timer* tmrDelay = nullptr;

    // Menus and items, named after their path.
    QMenu* File = nullptr;
    QAction* FileSave = nullptr;
    QAction* FileExit = nullptr;
    QMenu* View = nullptr;
    QAction* ViewAnalogData = nullptr;
    QAction* ViewDigitalData = nullptr;
    QAction* sv2 = nullptr;
    QAction* ViewTrend = nullptr;
    QAction* ViewHistory = nullptr;
    QAction* sv1 = nullptr;
    QAction* ViewStatus = nullptr;
    QMenu* Task = nullptr;
    QAction* TaskStart = nullptr;
    QAction* TaskStop = nullptr;
    QAction* st1 = nullptr;
    QAction* TaskManager = nullptr;
    QMenu* Options = nullptr;
    std::array<QAction*, 2> OptionsCardConfig{};
    QAction* OptionsCardComm = nullptr;
    QAction* so1 = nullptr;
    QAction* OptionsSettings = nullptr;
    std::array<QAction*, 2> OptionsCalibrate{};
    QMenu* Help = nullptr;
    QAction* HelpContents = nullptr;
    QAction* HelpAbout = nullptr;

    // The child windows, each open at most once.
    QPointer<frmStatus> statusWindow;
    QPointer<frmTaskManager> taskManagerWindow;
    QPointer<frmCardComm> cardCommWindow;
    QPointer<frmAbout> aboutWindow;
    QPointer<frmViewAnalogData> analogDataWindow;
    QPointer<frmViewDigitalData> digitalDataWindow;
    QPointer<frmTrend> trendWindow;
    QPointer<frmConfig> configWindow;
    QPointer<frmCalib> calibWindow;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void connectMenus();
    void addChild(QWidget* child);
    void bringToFront(QWidget* child);
    void OpenCardPort(int card);
    void taskChanged(bool running);
    void reportFatal(const std::string& text);
    // Publishing (mdiDaqPublishing.cpp).
    void makePublisher();
    void loadPreferences();
    void applyPreferences(const Preferences& preferences);
    std::string brokerLine() const;

    AcquisitionState& state_;
    platform::Dialogs& dialogs_;
    platform::Clock& clock_;
    QMdiArea* mdiArea_ = nullptr;
    // The timers outlive the sequencer and the links that drive them.
    Timers timers_;
    std::unique_ptr<link::TaskSequencer> sequencer_;
    std::array<std::unique_ptr<link::CardLink>, 2> links_;
    ModalRunner runModal_;

    bool unloaded_ = false;
    bool conversionMessageOpen_ = false;
    // Appends the log records; ticked by tmrSave.
    std::unique_ptr<DataLogger> logger_;
    Preferences preferences_;
    std::unique_ptr<publish::Publisher> publisher_;
};

// The Qt timers the running program hands to its main window.
mdiDaq::Timers QtWindowTimers();

}  // namespace vantrel
