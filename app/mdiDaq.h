#pragma once

// The main window: a multiple-document frame holding the menu bar, the child
// windows and the messages. The run itself (card links, task sequencer, logger) is
// handed in and set going by the program; the window asks it to start and stop the
// task, apply new ports, and end.

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/Run.h"
#include "app/Preferences.h"
#include "engine/AcquisitionState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "views/ChannelMarks.h"

class QCloseEvent;

namespace vantrel {

class frmAbout;
class frmHelp;
class frmStatus;
class frmTaskManager;
class frmCardComm;
class frmViewAnalogData;
class frmViewDigitalData;
class frmTrend;
class frmConfig;
class frmCalib;
class frmHistory;
class frmAlarms;
namespace publish {
class Publisher;
}

class mdiDaq : public QMainWindow {
    Q_OBJECT

  public:
    // Runs a modal dialog (the splash, the save options) to its end. The program
    // hands in QDialog::exec; a test answers the dialog itself.
    using ModalRunner = std::function<void(QDialog&)>;

    // publisher: fed by the run. preferences: vantrel.ini as read at start, which
    // Options > Settings shows, writes back and applies to the publisher and the run.
    mdiDaq(AcquisitionState& state, acquisition::Run& run, publish::Publisher& publisher,
           platform::Dialogs& dialogs, platform::Clock& clock, ModalRunner runModal,
           const Preferences& preferences, QWidget* parent = nullptr);
    ~mdiDaq() override;

    // Start-up, in the order the program calls them around the run's own steps:
    // the splash, run to its end; the frame over the whole work area; the status
    // window.
    void ShowSplash();
    void Form_Load();
    void OpenStatusWindow();
    // Shut-down: the run's end (stop commands, waiting records, settings files).
    void Form_Unload();
    // Shows text in the status window, if it is open, while the program ends.
    void ShowClosingNote(const std::string& text);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Menu handlers.
    void FileOpenLog_Click();
    void FileSave_Click();
    void FileExit_Click();
    void ViewAnalogData_Click();
    void ViewDigitalData_Click();
    void ViewTrend_Click();
    void ViewHistory_Click();
    void ViewAlarms_Click();
    void ViewStatus_Click();
    void TaskStart_Click();
    void TaskStop_Click();
    void TaskManager_Click();
    void TaskAddMarker_Click();
    void OptionsCardConfig_Click(int index);
    void OptionsCardComm_Click();
    void OptionsSettings_Click();
    void OptionsCalibrate_Click(int index);
    void HelpContents_Click();
    void HelpAbout_Click();
    // The Window menu (mdiDaqWindows.cpp): its items greyed without a child
    // window, and the list of the open ones.
    void connectWindowMenu();
    void showWindowList();
    void enableWindowItems();
    // Whether the user lets a running log or publishing stop; asked only then.
    bool exitAgreed();
    // A picked trend colour into vantrel.ini.
    void keepTrendColour(int channel, platform::Rgb colour);

    void buildMenus();
    void connectMenus();
    void taskChanged(bool running);
    // Alarms in the window (mdiDaqAlarms.cpp): the status bar's line, a raised
    // rule's beep and desktop notification, the views' marks.
    void watchAlarms();
    void alarmEvent(const alarms::RunEvent& event);
    void showAlarmLine();
    ChannelMarks channelMarks() const;
    // Options > Settings (mdiDaqPreferences.cpp).
    void applyPreferences(const Preferences& preferences);

    // A fixed form opens at its design size; a window whose content grows, at a
    // share of the frame (GrowingWindowSize).
    enum class ChildSize { Design, ShareOfArea };

    // Shows a child window inside the frame once: when it is already open it is
    // brought to the front as it is; otherwise make() builds it (unparented) and it
    // is shown. Closing the child destroys it and its frame.
    template <class W, class F>
    W* showChild(QPointer<W>& slot, F make, ChildSize size = ChildSize::Design) {
        if (slot) {
            bringToFront(slot);
            return slot;
        }
        W* child = make();
        slot = child;
        addChild(child, size);
        return child;
    }
    void addChild(QWidget* child, ChildSize size);
    void bringToFront(QWidget* child);

    AcquisitionState& state_;
    acquisition::Run& run_;
    publish::Publisher& publisher_;
    Preferences preferences_;
    platform::Dialogs& dialogs_;
    platform::Clock& clock_;
    ModalRunner runModal_;
    QMdiArea* mdiArea_ = nullptr;
    // The status bar's line of the active alarms; empty while none is.
    QLabel* lblAlarms = nullptr;

    // Menus and items, named after their path.
    QMenu* File = nullptr;
    QAction* FileOpenLog = nullptr;
    QAction* FileSave = nullptr;
    QAction* FileExit = nullptr;
    QMenu* View = nullptr;
    QAction* ViewAnalogData = nullptr;
    QAction* ViewDigitalData = nullptr;
    QAction* sv2 = nullptr;
    QAction* ViewTrend = nullptr;
    QAction* ViewHistory = nullptr;
    QAction* ViewAlarms = nullptr;
    QAction* sv1 = nullptr;
    QAction* ViewStatus = nullptr;
    QMenu* Task = nullptr;
    QAction* TaskStart = nullptr;
    QAction* TaskStop = nullptr;
    QAction* st1 = nullptr;
    QAction* TaskManager = nullptr;
    QAction* TaskAddMarker = nullptr;
    QMenu* Options = nullptr;
    std::array<QAction*, 2> OptionsCardConfig{};
    QAction* OptionsCardComm = nullptr;
    QAction* so1 = nullptr;
    QAction* OptionsSettings = nullptr;
    std::array<QAction*, 2> OptionsCalibrate{};
    QMenu* Window = nullptr;
    QAction* WindowCascade = nullptr;
    QAction* WindowTile = nullptr;
    QAction* WindowClose = nullptr;
    QAction* WindowCloseAll = nullptr;
    QAction* sw1 = nullptr;
    // The open child windows after sw1, rebuilt each time the menu opens.
    QList<QAction*> WindowList;
    QMenu* Help = nullptr;
    QAction* HelpContents = nullptr;
    QAction* HelpAbout = nullptr;

    // The child windows, each open at most once.
    QPointer<frmStatus> statusWindow;
    QPointer<frmTaskManager> taskManagerWindow;
    QPointer<frmCardComm> cardCommWindow;
    QPointer<frmAbout> aboutWindow;
    QPointer<frmHelp> helpWindow;
    QPointer<frmViewAnalogData> analogDataWindow;
    QPointer<frmViewDigitalData> digitalDataWindow;
    QPointer<frmTrend> trendWindow;
    // One configuration and one calibration window per card, index 0 for card 1.
    std::array<QPointer<frmConfig>, 2> configWindow;
    std::array<QPointer<frmCalib>, 2> calibWindow;
    QPointer<frmHistory> historyWindow;
    QPointer<frmAlarms> alarmsWindow;
};

}  // namespace vantrel
