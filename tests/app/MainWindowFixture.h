#pragma once

// A main window and its run on scripted ports and dialogs. The splash is answered
// at once, and the task-start pause, the port retries and the logger's tick are
// timers the test fires.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/Run.h"
#include "app/QtPublisher.h"
#include "app/frmAbout.h"
#include "app/mdiDaq.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        state.AppDir = folder.path().toStdString();
        makeWindow();
    }

    void makeWindow() {
        window.reset();
        publisher.reset();
        run.reset();
        acquisition::RunTimers timers;
        timers.pause = std::make_unique<FakeTimer>();
        delay = static_cast<FakeTimer*>(timers.pause.get());
        timers.reopen = {std::make_unique<FakeTimer>(), std::make_unique<FakeTimer>()};
        timers.watch = {std::make_unique<FakeTimer>(), std::make_unique<FakeTimer>()};
        timers.logTick = std::make_unique<FakeTimer>();
        logTick = static_cast<FakeTimer*>(timers.logTick.get());
        run = std::make_unique<acquisition::Run>(
            state, acquisition::RunParts{cm, cm2, clock, dialogs, logFiles}, std::move(timers));
        publisher = std::make_unique<QtPublisher>(state, clock, publishTick);
        window = std::make_unique<mdiDaq>(
            state, *run, publisher->get(), dialogs, clock, [this](QDialog& dialog) {
                ++modalRuns;
                if (qobject_cast<frmAbout*>(&dialog) != nullptr) {
                    splashSeenVisibleMainWindow = window->isVisible();
                    splashSeenOpenAttempts = cm.openAttempts + cm2.openAttempts;
                } else if (modal) {
                    modal(dialog);
                }
            });
    }

    // Chooses the menu item of that object name.
    void choose(const char* item) { Find<QAction>(*window, item).trigger(); }
    QWidget& open(const char* item, const char* windowName) {
        choose(item);
        return Find(*window, windowName);
    }

    // Deletes closed windows and then their frames, as the event loop would.
    static void flushDeletes() {
        for (int round = 0; round < 2; ++round) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    // A file of the start folder, whole.
    std::string startFolderFile(const char* name) const {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    // The start folder, where shut-down writes the settings files.
    QTemporaryDir folder;
    AcquisitionState state;
    FakeSerialPort cm;
    FakeSerialPort cm2;
    FakeDialogs dialogs;
    FakeClock clock;
    DiskLogFileSink logFiles;
    std::unique_ptr<acquisition::Run> run;
    FakeTimer publishTick;
    std::unique_ptr<QtPublisher> publisher;
    std::unique_ptr<mdiDaq> window;
    FakeTimer* delay = nullptr;    // owned by the run
    FakeTimer* logTick = nullptr;  // owned by the run
    // What the user does in a modal dialog other than the splash.
    std::function<void(QDialog&)> modal;

    int modalRuns = 0;
    bool splashSeenVisibleMainWindow = true;
    int splashSeenOpenAttempts = -1;
};

}  // namespace vantrel::testing
