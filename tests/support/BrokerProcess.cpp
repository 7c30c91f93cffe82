#include "tests/support/BrokerProcess.h"

#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QTextStream>

#include "tests/support/CardSimProcess.h"

namespace vantrel::testing {

int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

BrokerProcess::BrokerProcess() : port_(FreePort()) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

BrokerProcess::~BrokerProcess() {
    stop();
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
        << "/\n"
        << "max_queued_messages 1000000\n";
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
    if (!process_.waitForStarted(5000)) {
        return false;
    }
    QByteArray log;
    const bool running = PumpUntil([&] {
        log += process_.readAll();
        return log.contains(" running") || process_.state() == QProcess::NotRunning;
    });
    return running && process_.state() == QProcess::Running;
}

void BrokerProcess::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool BrokerProcess::addUser(const QString& user, const QString& password) {
    const QString file = path("passwd");
    if (!QFile::exists(file)) {
        QFile(file).open(QIODevice::WriteOnly);
    }
    return QProcess::execute("mosquitto_passwd", {"-b", file, user, password}) == 0;
}

bool BrokerProcess::makeCertificates() {
    const auto run = [this](const QStringList& arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(folder_.path());
        openssl.start("openssl", arguments);
        return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
    };
    const auto selfSigned = [&](const QString& name, const QString& subject) {
        return run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-keyout",
                    name + ".key", "-out", name + ".crt", "-subj", subject});
    };
    const auto signedFor = [&](const QString& name, const QString& names) {
        QFile extension(path(name + ".ext"));
        extension.open(QIODevice::WriteOnly);
        extension.write("subjectAltName=" + names.toUtf8() + "\n");
        extension.close();
        return run({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", name + ".key", "-out",
                    name + ".csr", "-subj", "/CN=" + name}) &&
               run({"x509", "-req", "-in", name + ".csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                    "-CAcreateserial", "-days", "2", "-out", name + ".crt", "-extfile",
                    name + ".ext"});
    };
    return selfSigned("ca", "/CN=Vantrel Test CA") && selfSigned("other-ca", "/CN=Other CA") &&
           signedFor("server", "IP:127.0.0.1,DNS:localhost") &&
           signedFor("elsewhere", "DNS:elsewhere.example");
}

struct SubscriberCallbacks {
    static void connected(mosquitto* mosq, void* data, int rc) {
        auto* self = static_cast<MqttSubscriber*>(data);
        if (rc == 0) {
            mosquitto_subscribe(mosq, nullptr, self->filter_.c_str(), 1);
        }
    }
    static void subscribed(mosquitto*, void* data, int, int, const int*) {
        auto* self = static_cast<MqttSubscriber*>(data);
        std::lock_guard lock(self->mutex_);
        self->subscribed_ = true;
    }
    static void message(mosquitto*, void* data, const mosquitto_message* message) {
        auto* self = static_cast<MqttSubscriber*>(data);
        std::lock_guard lock(self->mutex_);
        self->received_.push_back({message->topic,
                                   std::string(static_cast<const char*>(message->payload),
                                               static_cast<std::size_t>(message->payloadlen)),
                                   message->retain});
    }
};

MqttSubscriber::~MqttSubscriber() {
    if (mosq_ != nullptr) {
        mosquitto_disconnect(mosq_);
        mosquitto_loop_stop(mosq_, false);
        mosquitto_destroy(mosq_);
    }
}

bool MqttSubscriber::start(int port, const std::string& filter, const std::string& clientId) {
    mosquitto_lib_init();
    filter_ = filter;
    mosq_ = mosquitto_new(clientId.c_str(), false, this);
    mosquitto_connect_callback_set(mosq_, SubscriberCallbacks::connected);
    mosquitto_subscribe_callback_set(mosq_, SubscriberCallbacks::subscribed);
    mosquitto_message_callback_set(mosq_, SubscriberCallbacks::message);
    mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
    if (mosquitto_connect(mosq_, "127.0.0.1", port, 10) != MOSQ_ERR_SUCCESS ||
        mosquitto_loop_start(mosq_) != MOSQ_ERR_SUCCESS) {
        return false;
    }
    return PumpUntil([this] {
        std::lock_guard lock(mutex_);
        return subscribed_;
    });
}

std::vector<ReceivedMessage> MqttSubscriber::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> MqttSubscriber::payloads(const std::string& topic) const {
    std::vector<std::string> out;
    for (const ReceivedMessage& message : received()) {
        if (message.topic == topic) {
            out.push_back(message.payload);
        }
    }
    return out;
}

}  // namespace vantrel::testing
