#include "tests/support/BrokerProcess.h"

#include <unistd.h>

#include <QFile>
#include <QTcpServer>
#include <QTextStream>
#include <cstdlib>

#include "tests/support/CardSimProcess.h"

namespace vantrel::testing {

int FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

BrokerProcess::BrokerProcess() : port_(FreePort()) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

bool BrokerProcess::start(const QStringList& lines, const QStringList& header) {
    if (!lines.isEmpty() || !header.isEmpty()) {
        lines_ = lines;
        header_ = header;
    }
    QFile config(path("mosquitto.conf"));
    if (!config.open(QIODevice::WriteOnly)) {
        return false;
    }
    QTextStream out(&config);
    out << header_.join('\n') << "\npersistence true\npersistence_location " << folder_.path()
        << "/\nmax_queued_messages 1000000\n";
    if (::geteuid() == 0) {
        // Run as root it would switch to the mosquitto user, who cannot read here.
        out << "user root\n";
    }
    if (!lines_.join('\n').contains("allow_anonymous")) {
        out << "allow_anonymous true\n";
    }
    out << "listener " << port_ << " 127.0.0.1\n" << lines_.join('\n') << "\n";
    config.close();
    process_.start(QStringLiteral("mosquitto"), {"-c", config.fileName()});
    QByteArray log;
    return process_.waitForStarted(5000) && PumpUntil([&] {
               log += process_.readAll();
               return log.contains(" running") || process_.state() == QProcess::NotRunning;
           }) &&
           process_.state() == QProcess::Running;
}

void BrokerProcess::stop() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool BrokerProcess::addUser(const QString& user, const QString& password) {
    QFile(path("passwd")).open(QIODevice::Append);
    return QProcess::execute("mosquitto_passwd", {"-b", path("passwd"), user, password}) == 0;
}

bool BrokerProcess::makeCertificates() {
    const char* source = std::getenv("VANTREL_SOURCE_DIR");
    QProcess shell;
    shell.setWorkingDirectory(folder_.path());
    shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    shell.start("sh", {QString::fromLocal8Bit(source) + "/tests/support/make-test-certificates"});
    return source != nullptr && shell.waitForFinished(60000) && shell.exitCode() == 0;
}

MqttSubscriber::~MqttSubscriber() {
    process_.terminate();
    process_.waitForFinished(5000);
}

bool MqttSubscriber::start(int port, const QString& filter, const QString& clientId) {
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_, [this] {
        while (process_.canReadLine()) {
            // Retain flag, topic and payload; the rest is -d's account of its doings.
            const QString line = QString::fromUtf8(process_.readLine()).chopped(1);
            if (line.startsWith("0 ") || line.startsWith("1 ")) {
                received_.push_back(
                    {line.section(' ', 1, 1).toStdString(), line.section(' ', 2).toStdString()});
            }
            subscribed_ = subscribed_ || line.contains("received SUBACK");
        }
    });
    // Line-buffered, so each message arrives as it is printed.
    process_.start("stdbuf",
                   {"-oL", "mosquitto_sub", "-h", "127.0.0.1", "-p", QString::number(port), "-t",
                    filter, "-q", "1", "-c", "-i", clientId, "-d", "-F", "%r %t %p"});
    return process_.waitForStarted(5000) && PumpUntil([this] { return subscribed_; });
}

std::vector<std::string> MqttSubscriber::payloads(const std::string& topic) const {
    std::vector<std::string> out;
    for (const ReceivedMessage& message : received_) {
        if (message.topic == topic) {
            out.push_back(message.payload);
        }
    }
    return out;
}

}  // namespace vantrel::testing
