#pragma once

// A main window on scripted ports and dialogs. The splash is answered at once, and
// the task-start pause and the port retries are timers the test fires.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

#include "app/frmAbout.h"
#include "app/mdiDaq.h"
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
        mdiDaq::Timers timers;
        timers.delay = std::make_unique<FakeTimer>();
        delay = static_cast<FakeTimer*>(timers.delay.get());
        timers.reopen = {std::make_unique<FakeTimer>(), std::make_unique<FakeTimer>()};
        timers.publish = std::make_unique<FakeTimer>();
        window = std::make_unique<mdiDaq>(state, cm, cm2, dialogs, clock, std::move(timers));
        window->setModalRunner([this](QDialog& dialog) {
            ++modalRuns;
            if (auto* about = qobject_cast<frmAbout*>(&dialog)) {
                splashSeenVisibleMainWindow = window->isVisible();
                splashSeenOpenAttempts = cm.openAttempts + cm2.openAttempts;
                about->Timer1_Timer();
            }
        });
    }

    // Deletes closed windows and then their frames, as the event loop would.
    static void flushDeletes() {
        for (int round = 0; round < 2; ++round) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    // The start folder, where shut-down writes the settings files.
    QTemporaryDir folder;
    AcquisitionState state;
    FakeSerialPort cm;
    FakeSerialPort cm2;
    FakeDialogs dialogs;
    FakeClock clock;
    std::unique_ptr<mdiDaq> window;
    FakeTimer* delay = nullptr;  // owned by the window

    int modalRuns = 0;
    bool splashSeenVisibleMainWindow = true;
    int splashSeenOpenAttempts = -1;
};

}  // namespace vantrel::testing
