#include "tests/support/CardSimProcess.h"

#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdlib>

namespace vantrel::testing {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        // Blocks until an event arrives or the slice ends; never spins.
        QEventLoop slice;
        QTimer::singleShot(5, &slice, &QEventLoop::quit);
        slice.exec();
    }
    return true;
}

void PumpFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    PumpUntil([&] { return clock.elapsed() >= milliseconds; }, milliseconds + 1000);
}

QString FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList CrlfLines(const QString& path) {
    QStringList lines = FileText(path).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

QStringList CardSimProcess::commands(int link, bool withTimes) const {
    QStringList heard;
    int ready = 0;
    for (const QString& line : lines_) {
        ready += line.startsWith("ready") ? 1 : 0;
        if ((link == 0 || ready == link) && line.startsWith("command ")) {
            heard << line.section(' ', withTimes ? 1 : 2, 2);
        }
    }
    return heard;
}

CardSimProcess::CardSimProcess() {
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_, [this] {
        while (process_.canReadLine()) {
            lines_.append(QString::fromUtf8(process_.readLine()).trimmed());
        }
    });
}

CardSimProcess::~CardSimProcess() {
    stop();
}

bool CardSimProcess::start(int port, const QStringList& extraArguments) {
    const char* binaryDir = std::getenv("VANTREL_BINARY_DIR");
    const char* sourceDir = std::getenv("VANTREL_SOURCE_DIR");
    if (binaryDir == nullptr || sourceDir == nullptr || !folder_.isValid()) {
        return false;
    }
    QStringList arguments{"--dir",    folder_.path(),
                          "--port",   QString::number(port),
                          "--tables", QDir(sourceDir).filePath("data")};
    arguments += extraArguments;
    process_.setProgram(QDir(binaryDir).filePath("vantrel-cardsim"));
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    return process_.waitForStarted(5000) && waitForLine("ready");
}

void CardSimProcess::signal(int number) {
    if (process_.state() == QProcess::Running) {
        ::kill(static_cast<pid_t>(process_.processId()), number);
    }
}

bool CardSimProcess::waitForLine(const QString& prefix, int timeoutMs) {
    bool found = false;
    PumpUntil(
        [&] {
            while (seen_ < lines_.size()) {
                if (lines_[seen_++].startsWith(prefix)) {
                    found = true;
                    return true;
                }
            }
            return process_.state() == QProcess::NotRunning;
        },
        timeoutMs);
    return found;
}

int CardSimProcess::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    signal(SIGTERM);
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
        return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

}  // namespace vantrel::testing
