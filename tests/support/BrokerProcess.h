#pragma once

// The real mosquitto broker for tests: started on a free port of 127.0.0.1 with a
// configuration file written here, never the system's service; and mosquitto_sub
// collecting what the broker passes on.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace vantrel::testing {

// A TCP port of 127.0.0.1 that nothing listens on just now.
int FreePort();

class BrokerProcess {
  public:
    BrokerProcess();
    ~BrokerProcess() { stop(); }
    BrokerProcess(const BrokerProcess&) = delete;
    BrokerProcess& operator=(const BrokerProcess&) = delete;

    // Writes the configuration (a persistent broker, the header lines, a listener
    // on port(), then lines) and starts the broker; true once it runs. Without
    // lines naming allow_anonymous, anyone may connect. A restart without lines
    // keeps the configuration.
    bool start(const QStringList& lines = {}, const QStringList& header = {});
    // Ends it as its service would (SIGTERM); its stored sessions survive for the
    // next start.
    void stop();
    int port() const { return port_; }
    // A file in the broker's own folder (certificates, password file).
    QString path(const QString& name) const { return folder_.filePath(name); }
    // Adds a user to the password file passwd.
    bool addUser(const QString& user, const QString& password);
    // A test CA (ca.crt), a server certificate it signed for 127.0.0.1 and
    // localhost (server.crt, server.key), one for another host (elsewhere.crt,
    // elsewhere.key), and an unrelated CA (other-ca.crt).
    bool makeCertificates();

  private:
    QTemporaryDir folder_;
    QProcess process_;
    int port_;
    QStringList lines_;
    QStringList header_;
};

struct ReceivedMessage {
    std::string topic;
    std::string payload;
};

class MqttSubscriber {
  public:
    ~MqttSubscriber();
    // Subscribes to filter with QoS 1 in a session the broker keeps while the
    // subscriber is away; it reconnects by itself. True once subscribed.
    bool start(int port, const QString& filter, const QString& clientId);
    std::vector<std::string> payloads(const std::string& topic) const;

  private:
    QProcess process_;
    std::vector<ReceivedMessage> received_;
    bool subscribed_ = false;
};

}  // namespace vantrel::testing
