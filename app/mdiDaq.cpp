#include "app/mdiDaq.h"

#include <QCloseEvent>
#include <QScreen>
#include <string>

#include "app/CascadePlacement.h"
#include "app/frmAbout.h"
#include "app/frmCardComm.h"
#include "app/frmStatus.h"
#include "app/frmTaskManager.h"
#include "engine/ModMain.h"
#include "link/Commands.h"
#include "logging/DataLogger.h"
#include "logging/ui/frmSave.h"
#include "platform/PortNaming.h"
#include "platform/qt/QtTimer.h"
#include "publish/Publisher.h"
#include "setup/ui/frmCalib.h"
#include "setup/ui/frmConfig.h"
#include "views/ui/frmTrend.h"
#include "views/ui/frmViewAnalogData.h"
#include "views/ui/frmViewDigitalData.h"

namespace vantrel {

namespace {

constexpr int kSaveTickMilliseconds = 1000;

}  // namespace

mdiDaq::Timers QtWindowTimers() {
    mdiDaq::Timers timers;
    timers.delay = std::make_unique<platform::QtTimer>(nullptr, QStringLiteral("tmrDelay"));
    for (auto& reopen : timers.reopen) {
        reopen = std::make_unique<platform::QtTimer>();
    }
    timers.publish = std::make_unique<platform::QtTimer>(nullptr, QStringLiteral("tmrPublish"));
    return timers;
}

mdiDaq::mdiDaq(AcquisitionState& state, platform::SerialPort& cardPort1,
               platform::SerialPort& cardPort2, platform::Dialogs& dialogs, platform::Clock& clock,
               Timers timers, QWidget* parent)
    : QMainWindow(parent),
      cm(cardPort1),
      cm2(cardPort2),
      state_(state),
      dialogs_(dialogs),
      clock_(clock),
      timers_(std::move(timers)) {
    setObjectName(QStringLiteral("mdiDaq"));
    setWindowTitle(QStringLiteral("Vantrel - 16 Channel ~ Data Acquisition Solution"));

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);

    buildMenus();
    connectMenus();

    tmrSave = new QTimer(this);
    tmrSave->setObjectName(QStringLiteral("tmrSave"));
    tmrSave->setInterval(kSaveTickMilliseconds);
    // A coarse timer may stretch each second by up to 5%, and the log interval is
    // a count of these ticks.
    tmrSave->setTimerType(Qt::PreciseTimer);
    logger_ = std::make_unique<DataLogger>(state_, clock_, dialogs_);
    connect(tmrSave, &QTimer::timeout, this, &mdiDaq::tmrSave_Timer);

    tmrDelay = timers_.delay.get();
    sequencer_ = std::make_unique<link::TaskSequencer>(
        state_, *tmrDelay, [this](int card, std::string_view text) { SendCommand(card, text); });
    sequencer_->setTaskChangedHandler([this](bool running) { taskChanged(running); });

    for (int card = 0; card < 2; ++card) {
        auto& reopen = timers_.reopen[static_cast<std::size_t>(card)];
        links_[card] =
            std::make_unique<link::CardLink>(state_, card, port(card), *reopen, *sequencer_);
        links_[card]->setConversionFailureHandler(
            [this](const ConversionFailure& failure) { return ShowConversionFailure(failure); });
    }
    makePublisher();

    runModal_ = [](QDialog& dialog) { dialog.exec(); };
}

mdiDaq::~mdiDaq() = default;

void mdiDaq::Form_Load() {
    // The logger ticks for the whole run, the splash included.
    tmrSave->start();

    {
        frmAbout splash(this);
        runModal(splash);
    }
    // The whole work area, so that every child window fits: a window manager
    // maximises the window, and without one it still covers the screen.
    setGeometry(screen()->availableGeometry());
    showMaximized();

    OpenCardPort(0);
    OpenCardPort(1);
    ViewStatus_Click();
    loadPreferences();
}

void mdiDaq::OpenCardPort(int card) {
    cardLink(card).OpenCardPort();
}

void mdiDaq::SendCommand(int card, std::string_view text) {
    cardLink(card).SendCommand(text);
}

void mdiDaq::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void mdiDaq::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    tmrSave->stop();
    // A start under way sends no "@N" after the "@F" below.
    sequencer_->Cancel();
    for (int card = 0; card < 2; ++card) {
        if (port(card).isOpen()) {
            SendCommand(card, link::kCommandStop);
        }
    }
    // Records still waiting for a failing file are saved elsewhere, not dropped.
    logger_->Close();
    // Each file is written whole or not at all. A failure is reported; the other
    // file is still written, so one bad file does not lose the other's settings.
    if (std::optional<std::string> failure = modMain::SaveChannelSettings(state_)) {
        reportFatal(*failure);
    }
    if (std::optional<std::string> failure = modMain::SaveLogSettings(state_)) {
        reportFatal(*failure);
    }
    publisher_->shutdown();
}

void mdiDaq::reportFatal(const std::string& text) {
    dialogs_.showMessage({text, "Vantrel", platform::MessageIcon::Critical});
}

bool mdiDaq::ShowConversionFailure(const ConversionFailure& failure) {
    if (conversionMessageOpen_) {
        return false;
    }
    conversionMessageOpen_ = true;
    QPointer<mdiDaq> self(this);
    dialogs_.showMessageNonBlocking({failure.message(), "Vantrel", platform::MessageIcon::Critical},
                                    [self] {
                                        if (self) {
                                            self->conversionMessageOpen_ = false;
                                        }
                                    });
    return true;
}

// ---- Task control ----

void mdiDaq::TaskStart_Click() {
    if (!unloaded_) {
        sequencer_->Start();
    }
}

void mdiDaq::TaskStop_Click() {
    if (!unloaded_) {
        sequencer_->Stop();
    }
}

void mdiDaq::taskChanged(bool running) {
    TaskStart->setEnabled(!running);
    TaskStop->setEnabled(running);
}

// ---- Menu items ----

void mdiDaq::FileSave_Click() {
    {
        frmSave window(state_, dialogs_, clock_, this);
        runModal(window);
    }
    FileSave->setChecked(state_.Saving);
}

void mdiDaq::FileExit_Click() {
    close();
}

void mdiDaq::ViewAnalogData_Click() {
    showChild(analogDataWindow, [this] { return new frmViewAnalogData(state_); });
}

void mdiDaq::ViewDigitalData_Click() {
    showChild(digitalDataWindow, [this] {
        return new frmViewDigitalData(
            state_, [this](int card, std::string_view command) { SendCommand(card, command); });
    });
}

void mdiDaq::ViewTrend_Click() {
    showChild(trendWindow, [this] { return new frmTrend(state_, clock_, dialogs_); });
}

void mdiDaq::ViewHistory_Click() {}

void mdiDaq::ViewStatus_Click() {
    showChild(statusWindow, [this] {
        auto* status = new frmStatus(state_);
        status->setBrokerLine([this] { return brokerLine(); });
        return status;
    });
}

void mdiDaq::TaskManager_Click() {
    showChild(taskManagerWindow, [this] { return new frmTaskManager(state_); });
}

void mdiDaq::OptionsCardConfig_Click(int index) {
    state_.SelectedCard = static_cast<std::int16_t>(index);
    showChild(configWindow, [this] { return new frmConfig(state_, dialogs_); });
}

void mdiDaq::OptionsCardComm_Click() {
    showChild(cardCommWindow, [this] {
        frmCardComm::Services services;
        services.deviceName = [appDir = state_.AppDir](int portNumber) {
            return platform::SerialDeviceName(portNumber, appDir);
        };
        services.savePorts = [](const AcquisitionState& state) {
            return modMain::SavePortSettings(state);
        };
        services.endProgram = [self = QPointer<mdiDaq>(this)] {
            if (self) {
                self->close();
            }
        };
        return new frmCardComm(state_, dialogs_, std::move(services));
    });
}

void mdiDaq::OptionsCalibrate_Click(int index) {
    state_.SelectedCard = static_cast<std::int16_t>(index);
    showChild(calibWindow, [this] { return new frmCalib(state_, dialogs_); });
}

void mdiDaq::HelpContents_Click() {}

void mdiDaq::HelpAbout_Click() {
    if (aboutWindow) {
        aboutWindow->raise();
        aboutWindow->activateWindow();
        return;
    }
    auto* about = new frmAbout(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setModal(false);
    aboutWindow = about;
    about->show();
}

void mdiDaq::tmrSave_Timer() {
    logger_->Tick();
}

// ---- Child windows ----

void mdiDaq::addChild(QWidget* child) {
    child->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* frame = mdiArea_->addSubWindow(child);
    frame->setAttribute(Qt::WA_DeleteOnClose);
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
