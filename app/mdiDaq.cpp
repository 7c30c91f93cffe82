#include "app/mdiDaq.h"

#include <QCloseEvent>
#include <QScreen>
#include <algorithm>
#include <string>

#include "app/CascadePlacement.h"
#include "app/PreferencesFile.h"
#include "app/frmAbout.h"
#include "app/frmCardComm.h"
#include "app/frmHelp.h"
#include "app/frmStatus.h"
#include "app/frmTaskManager.h"
#include "history/ui/RunLooks.h"
#include "history/ui/frmHistory.h"
#include "logging/ui/frmSave.h"
#include "platform/DateTimeText.h"
#include "platform/PortNaming.h"
#include "publish/Publisher.h"
#include "settings/SettingsFiles.h"
#include "setup/ui/frmCalib.h"
#include "setup/ui/frmConfig.h"
#include "views/ui/FilledShape.h"
#include "views/ui/frmTrend.h"
#include "views/ui/frmViewAnalogData.h"
#include "views/ui/frmViewDigitalData.h"

namespace vantrel {

mdiDaq::mdiDaq(AcquisitionState& state, acquisition::Run& run, publish::Publisher& publisher,
               platform::Dialogs& dialogs, platform::Clock& clock, ModalRunner runModal,
               const Preferences& preferences, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      run_(run),
      publisher_(publisher),
      preferences_(preferences),
      dialogs_(dialogs),
      clock_(clock),
      runModal_(std::move(runModal)) {
    setObjectName(QStringLiteral("mdiDaq"));
    setWindowTitle(QStringLiteral("Vantrel - 16 Channel ~ Data Acquisition Solution"));

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);

    buildMenus();
    connectMenus();
    connectWindowMenu();
    watchAlarms();
    run_.setTaskChangedHandler([this](bool running) { taskChanged(running); });
}

mdiDaq::~mdiDaq() {
    run_.setTaskChangedHandler(nullptr);
    // The frame's children close after this part of the window is gone; the Window
    // menu's items must not hear of it.
    mdiArea_->disconnect(this);
}

void mdiDaq::ShowSplash() {
    frmAbout splash(this);
    runModal_(splash);
}

void mdiDaq::Form_Load() {
    // The whole work area, so that every child window fits: a window manager
    // maximises the window, and without one it still covers the screen.
    setGeometry(screen()->availableGeometry());
    showMaximized();
}

void mdiDaq::OpenStatusWindow() {
    ViewStatus_Click();
}

void mdiDaq::ShowClosingNote(const std::string& text) {
    if (statusWindow) {
        statusWindow->ShowClosingNote(QString::fromStdString(text));
    }
}

void mdiDaq::closeEvent(QCloseEvent* event) {
    // An end already under way (a signal, a port file that cannot be written) asks
    // nothing more.
    if (!run_.ended() && !exitAgreed()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool mdiDaq::exitAgreed() {
    const bool logging = state_.Saving;
    const bool publishing = publisher_.linkStatus().state != publish::LinkStatus::State::Off;
    if (!logging && !publishing) {
        return true;
    }
    return dialogs_.confirm(
        {logging ? "Logging is on: stop and exit?" : "Publishing is on: stop and exit?", "Vantrel",
         "Exit"});
}

void mdiDaq::Form_Unload() {
    run_.end();
}

// ---- Task control ----

void mdiDaq::TaskStart_Click() {
    run_.startTask();
}

void mdiDaq::TaskStop_Click() {
    run_.stopTask();
}

void mdiDaq::taskChanged(bool running) {
    TaskStart->setEnabled(!running);
    TaskStop->setEnabled(running);
}

// ---- Menu items ----

void mdiDaq::FileSave_Click() {
    {
        frmSave window(state_, dialogs_, clock_, this, &run_.logSink());
        runModal_(window);
    }
    FileSave->setChecked(state_.Saving);
}

void mdiDaq::FileExit_Click() {
    close();
}

void mdiDaq::ViewAnalogData_Click() {
    showChild(analogDataWindow, [this] {
        auto* view = new frmViewAnalogData(state_);
        view->setMarks([this] { return channelMarks(); });
        view->setScales([this]() -> const ChannelScales& { return preferences_.channels; });
        return view;
    });
}

void mdiDaq::ViewDigitalData_Click() {
    showChild(digitalDataWindow, [this] {
        return new frmViewDigitalData(
            state_, [this](int card, std::string_view command) { run_.send(card, command); });
    });
}

void mdiDaq::ViewTrend_Click() {
    showChild(
        trendWindow,
        [this] {
            auto* trend = new frmTrend(state_, clock_, dialogs_);
            trend->setMarks([this] { return channelMarks(); });
            trend->setScales([this]() -> const ChannelScales& { return preferences_.channels; });
            trend->setChosenColours(preferences_.trend, [this](int channel, platform::Rgb colour) {
                keepTrendColour(channel, colour);
            });
            return trend;
        },
        ChildSize::ShareOfArea);
}

void mdiDaq::keepTrendColour(int channel, platform::Rgb colour) {
    preferences_.trend.at(static_cast<std::size_t>(channel)) = colour;
    if (std::optional<std::string> failure = SaveTrendColours(state_.AppDir, preferences_.trend)) {
        dialogs_.showMessage({*failure + " The colour applies until the program ends.",
                              "Real Time Trend", platform::MessageIcon::Warning});
    }
}

void mdiDaq::ViewHistory_Click() {
    showChild(historyWindow, [this] {
        auto trendColour = [this](int slot) -> std::optional<QColor> {
            if (!trendWindow) {
                return std::nullopt;
            }
            return trendWindow->shpColor[static_cast<std::size_t>(slot)]->fillColor();
        };
        auto scales = [this]() -> const ChannelScales& { return run_.engineering().scales(); };
        auto* history = new frmHistory(
            run_.history(), RunChannelLooks(state_, run_.history(), scales, trendColour), dialogs_);
        history->followEvents(run_.events().events());
        return history;
    });
}

void mdiDaq::FileOpenLog_Click() {
    const std::optional<std::string> path = dialogs_.openFile(
        {"Open Log", "Log Files (*.csv *.txt *.log)|*.csv;*.txt;*.log|All Files (*)|*", "", ""});
    if (path) {
        QPointer<frmHistory> window;
        history::LogDerived derived{run_.engineering().derivedSettings(), {}};
        std::copy_n(state_.ChannelName.begin(), kUsedChannels, derived.channelNames.begin());
        showChild(window, [&] { return new frmHistory(*path, dialogs_, std::move(derived)); });
    }
}

void mdiDaq::ViewStatus_Click() {
    showChild(statusWindow, [this] {
        auto* status = new frmStatus(state_);
        status->setBrokerLine([this] { return publish::BrokerLine(publisher_.linkStatus()); });
        return status;
    });
}

void mdiDaq::TaskManager_Click() {
    showChild(taskManagerWindow, [this] { return new frmTaskManager(state_); });
}

void mdiDaq::OptionsCardConfig_Click(int index) {
    showChild(configWindow.at(index),
              [this, index] { return new frmConfig(state_, index, dialogs_); });
}

void mdiDaq::OptionsCardComm_Click() {
    showChild(cardCommWindow, [this] {
        frmCardComm::Services services;
        services.deviceName = [appDir = state_.AppDir](int portNumber) {
            return platform::SerialDeviceName(portNumber, appDir);
        };
        services.savePorts = [](const AcquisitionState& state) { return SavePortSettings(state); };
        // The run ends first, so that closing asks nothing: the ports cannot be kept.
        services.endProgram = [self = QPointer<mdiDaq>(this)] {
            if (self) {
                self->Form_Unload();
                self->close();
            }
        };
        services.applyPorts = [this] { run_.applyPorts(); };
        return new frmCardComm(state_, dialogs_, std::move(services));
    });
}

void mdiDaq::OptionsCalibrate_Click(int index) {
    showChild(calibWindow.at(index),
              [this, index] { return new frmCalib(state_, index, dialogs_); });
}

void mdiDaq::HelpContents_Click() {
    if (!helpWindow) {
        helpWindow = new frmHelp(this);
        helpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}

void mdiDaq::HelpAbout_Click() {
    if (aboutWindow) {
        aboutWindow->raise();
        aboutWindow->activateWindow();
        return;
    }
    auto* about = new frmAbout(this, frmAbout::Role::About);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setModal(false);
    aboutWindow = about;
    about->show();
}

// ---- Child windows ----

void mdiDaq::addChild(QWidget* child, ChildSize size) {
    child->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* frame = mdiArea_->addSubWindow(child);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    if (size == ChildSize::ShareOfArea) {
        SizeToShareOfArea(*mdiArea_, *frame);
    }
    // The frame's own Close item would make Window > Close's Ctrl+F4 ambiguous.
    for (QAction* item : frame->systemMenu()->actions()) {
        QList<QKeySequence> keys = item->shortcuts();
        if (keys.removeAll(WindowClose->shortcut()) > 0) {
            item->setShortcuts(keys);
        }
    }
    PlaceInCascade(*mdiArea_, *frame);
    // A child that closes itself (OK, Cancel) takes its frame with it. Queued, so
    // that a frame already being destroyed drops the request.
    connect(child, &QObject::destroyed, frame, &QMdiSubWindow::close, Qt::QueuedConnection);
    frame->show();
}

void mdiDaq::bringToFront(QWidget* child) {
    QWidget* frame = child->parentWidget();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame)) {
        if (sub->isMinimized()) {
            sub->showNormal();
        }
        mdiArea_->setActiveSubWindow(sub);
        sub->raise();
        return;
    }
    child->raise();
    child->activateWindow();
}

}  // namespace vantrel
