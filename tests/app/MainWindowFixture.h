#pragma once

// A main window on scripted ports and dialogs. The splash is answered at once, and
// the task-start wait runs the test's script instead of a real 100 ms timer.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/frmAbout.h"
#include "app/mdiDaq.h"
#include "engine/AcquisitionState.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"

namespace vantrel::testing {

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        state.AppDir = folder.path().toStdString();
        makeWindow();
    }

    void makeWindow() {
        window = std::make_unique<mdiDaq>(state, cm, cm2, dialogs, clock);
        window->setModalRunner([this](QDialog& dialog) {
            ++modalRuns;
            if (auto* about = qobject_cast<frmAbout*>(&dialog)) {
                splashSeenVisibleMainWindow = window->isVisible();
                splashSeenOpenAttempts = cm.openAttempts + cm2.openAttempts;
                about->Timer1_Timer();
            }
        });
        window->setDelayWait([this] {
            ++waits;
            if (duringWait) {
                duringWait();
            }
            window->tmrDelay_Timer();
        });
    }

    // Deletes closed windows, as the event loop would.
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // The start folder, where shut-down writes the settings files.
    QTemporaryDir folder;
    AcquisitionState state;
    FakeSerialPort cm;
    FakeSerialPort cm2;
    FakeDialogs dialogs;
    FakeClock clock;
    std::unique_ptr<mdiDaq> window;

    int modalRuns = 0;
    bool splashSeenVisibleMainWindow = true;
    int splashSeenOpenAttempts = -1;
    int waits = 0;
    std::function<void()> duringWait;
};

}  // namespace vantrel::testing
