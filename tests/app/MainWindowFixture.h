#pragma once

// The program with its main window, built as the program builds it, on scripted
// ports, dialogs and MQTT client in a fresh start folder. The splash is answered
// at once, and every timer (the task-start pause, the port retries, the logger's
// tick, ...) is one the test fires.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

#include "app/Program.h"
#include "app/frmAbout.h"
#include "tests/engine/Tables.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeMqttClient.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        makeWindow();
    }

    // A fresh program in startFolder (the fixture's folder when empty), the tables
    // read from the source tree.
    void makeWindow(const QString& startFolder = {}) {
        program.reset();
        auto makePort = [this](int card) {
            auto port = std::make_unique<FakeSerialPort>();
            (card == 0 ? cm : cm2) = port.get();
            return port;
        };
        program = std::make_unique<Program>(
            ProgramOptions{(startFolder.isEmpty() ? folder.path() : startFolder).toStdString(),
                           DataFolder()},
            ProgramParts{makePort, timers.factory(), clock, dialogs, logFiles,
                         [this](auto) { return std::make_unique<FakeMqttClient>(broker); },
                         [this](QDialog& dialog) { runModal(dialog); }});
        ASSERT_TRUE(program->built());
        window = program->window();
        run = &program->run();
    }

    void startProgram() { program->start(); }
    AcquisitionState& state() { return program->state(); }

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
    FakeDialogs dialogs;
    FakeClock clock;
    DiskLogFileSink logFiles;
    FakeBroker broker;
    FakeTimers timers;
    std::unique_ptr<Program> program;
    // Parts of the program.
    FakeSerialPort* cm = nullptr;
    FakeSerialPort* cm2 = nullptr;
    acquisition::Run* run = nullptr;
    mdiDaq* window = nullptr;
    // What the user does in a modal dialog other than the splash; what happens
    // while the splash shows.
    std::function<void(QDialog&)> modal;
    std::function<void()> splash;

    int modalRuns = 0;
    bool splashSeenVisibleMainWindow = true;
    int splashSeenOpenAttempts = -1;

  private:
    void runModal(QDialog& dialog) {
        ++modalRuns;
        if (qobject_cast<frmAbout*>(&dialog) != nullptr) {
            splashSeenVisibleMainWindow = window->isVisible();
            splashSeenOpenAttempts = cm->openAttempts + cm2->openAttempts;
            if (splash) {
                splash();
            }
        } else if (modal) {
            modal(dialog);
        }
    }
};

}  // namespace vantrel::testing
