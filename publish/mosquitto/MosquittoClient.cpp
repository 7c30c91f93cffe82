#include "publish/mosquitto/MosquittoClient.h"

#include <fcntl.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "publish/Outbox.h"

namespace vantrel::publish {

namespace {

constexpr int kLoopTimeoutMs = 100;
constexpr int kGoodbyeLoops = 10;
// A quarter of the messages that may await acknowledgement at once.
constexpr std::size_t kWakeAfterAcknowledgements = kInFlightLimit / 4;
// CONNACK codes of MQTT 3.1.1 that mean the credentials were refused.
constexpr int kBadUserNameOrPassword = 4;
constexpr int kNotAuthorised = 5;

void InitialiseLibraryOnce() {
    static std::once_flag once;
    // Never cleaned up: an attempt stuck in a name look-up may outlive everything.
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// Messages handed over and not yet given to the library. Entries keep their room
// when taken, so that a steady stream costs no allocation.
struct Outgoing {
    int id = 0;
    std::string topic;
    std::string payload;
    int qos = 0;
    bool retain = false;
};

struct Batch {
    std::vector<Outgoing> entries;
    std::size_t count = 0;

    Outgoing& add() {
        if (count == entries.size()) {
            entries.emplace_back();
        }
        return entries[count++];
    }
};

}  // namespace

struct MosquittoClient::Session {
    ~Session() {
        if (mosq != nullptr) {
            mosquitto_destroy(mosq);
        }
        for (const int fd : wakePipe) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }

    bool openWakePipe() {
        if (pipe(wakePipe.data()) != 0) {
            wakePipe = {-1, -1};
            return false;
        }
        for (const int fd : wakePipe) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        return true;
    }

    // Called with mutex held.
    void signal() {
        if (!signalled) {
            signalled = true;
            const char byte = 0;
            [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
        }
    }

    void push(const ClientEvent& event) {
        std::lock_guard lock(mutex);
        events.push_back(event);
        changed.notify_all();
        // Acknowledgements wait for the publisher's next tick, where waking the
        // user-interface thread for each would cost more than the message; but a
        // batch of them wakes it at once, so that a backlog drains at the pace of
        // the broker, not of the tick.
        const bool batch = event.kind == ClientEvent::Kind::Delivered &&
                           ++acknowledgementsWaiting == kWakeAfterAcknowledgements;
        if ((event.kind != ClientEvent::Kind::Delivered || batch) && wake) {
            wake();
        }
    }

    void end(LinkFailure failure) {
        bool first = false;
        {
            std::lock_guard lock(mutex);
            first = !reported;
            reported = true;
        }
        if (first) {
            push({ClientEvent::Kind::Ended, failure, 0});
        }
    }

    LinkFailure classify(int rc, int error) const {
        switch (rc) {
            case MOSQ_ERR_EAI:
                return LinkFailure::HostNotFound;
            case MOSQ_ERR_ERRNO:
                if (error == ECONNREFUSED) {
                    return LinkFailure::Refused;
                }
                return error == ETIMEDOUT ? LinkFailure::TimedOut : LinkFailure::NetworkError;
            case MOSQ_ERR_TLS:
            case MOSQ_ERR_TLS_HANDSHAKE:
                return certificateRejected ? LinkFailure::CertificateNotTrusted
                                           : LinkFailure::TlsFailed;
            case MOSQ_ERR_AUTH:
                return LinkFailure::AuthenticationFailed;
            case MOSQ_ERR_CONN_REFUSED:
            case MOSQ_ERR_CONN_LOST:
            case MOSQ_ERR_NO_CONN:
                // Closed before the broker accepted us.
                return LinkFailure::Refused;
            default:
                return LinkFailure::NetworkError;
        }
    }

    bool stopping() {
        std::lock_guard lock(mutex);
        return stopRequested;
    }

    void run(const ConnectOptions& options) {
        errno = 0;
        int rc = mosquitto_connect_async(mosq, options.host.c_str(), options.port,
                                         options.keepAliveSeconds);
        if (rc != MOSQ_ERR_SUCCESS) {
            end(classify(rc, errno));
        }
        while (rc == MOSQ_ERR_SUCCESS && !stopping()) {
            errno = 0;
            // The library's own loop makes the connection (TLS included); ours
            // then serves it, waking once per batch of messages.
            rc = connected ? serve() : mosquitto_loop(mosq, kLoopTimeoutMs, 1);
            if (rc != MOSQ_ERR_SUCCESS) {
                const int error = errno;
                end(connected ? LinkFailure::ConnectionLost : classify(rc, error));
            }
        }
        if (rc == MOSQ_ERR_SUCCESS && connected) {
            // A goodbye, so the broker does not send the last will.
            mosquitto_disconnect(mosq);
            for (int i = 0; i < kGoodbyeLoops && rc == MOSQ_ERR_SUCCESS; ++i) {
                rc = serve();
            }
        }
        std::lock_guard lock(mutex);
        finished = true;
        changed.notify_all();
    }

    // One round of the connected loop: waits for the broker or a batch, hands the
    // batch to the library, reads what came and writes what is queued.
    int serve() {
        std::array<pollfd, 2> watched{};
        watched[0] = {mosquitto_socket(mosq),
                      static_cast<short>(POLLIN | (mosquitto_want_write(mosq) ? POLLOUT : 0)), 0};
        watched[1] = {wakePipe[0], POLLIN, 0};
        if (poll(watched.data(), watched.size(), kLoopTimeoutMs) < 0 && errno != EINTR) {
            return MOSQ_ERR_ERRNO;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            publishBatch();
        }
        int rc = MOSQ_ERR_SUCCESS;
        if ((watched[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
            rc = mosquitto_loop_read(mosq, 1);
            wakeForAcknowledgements();
        }
        if (rc == MOSQ_ERR_SUCCESS) {
            rc = mosquitto_loop_misc(mosq);
        }
        if (rc == MOSQ_ERR_SUCCESS && mosquitto_want_write(mosq)) {
            rc = mosquitto_loop_write(mosq, 1);
        }
        return rc;
    }

    // Acknowledgements read in one go wake the user-interface thread once, so
    // that the room they left is filled at once: a backlog then flows without
    // pause, and the next batch carries the system's acknowledgement of what
    // came (a broker holding back its small messages until that arrives would
    // otherwise stall it for tens of milliseconds).
    void wakeForAcknowledgements() {
        bool waiting = false;
        {
            std::lock_guard lock(mutex);
            waiting = acknowledgementsWaiting > 0 && !acknowledgementsWoken;
            acknowledgementsWoken = acknowledgementsWoken || waiting;
        }
        if (waiting && wake) {
            wake();
        }
    }

    void publishBatch() {
        std::array<char, 64> drained{};
        while (read(wakePipe[0], drained.data(), drained.size()) > 0) {
        }
        {
            std::lock_guard lock(mutex);
            std::swap(pending, taking);
            signalled = false;
        }
        for (std::size_t i = 0; i < taking.count; ++i) {
            const Outgoing& message = taking.entries[i];
            int messageId = 0;
            if (mosquitto_publish(mosq, &messageId, message.topic.c_str(),
                                  static_cast<int>(message.payload.size()), message.payload.data(),
                                  message.qos, message.retain) == MOSQ_ERR_SUCCESS) {
                idOfMessage[static_cast<std::uint16_t>(messageId)] = message.id;
            }
        }
        taking.count = 0;
    }

    mosquitto* mosq = nullptr;
    std::array<int, 2> wakePipe{-1, -1};
    // Handed over by publish(), under mutex; taken by the network thread.
    Batch pending;
    bool signalled = false;  // the wake pipe holds a byte for pending
    // Written and read only on the session's thread.
    Batch taking;
    // Our id of each message the library numbered (its ids are 16 bits).
    std::vector<int> idOfMessage = std::vector<int>(1 << 16, 0);
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<ClientEvent> events;
    std::size_t acknowledgementsWaiting = 0;  // Delivered events not yet taken
    bool acknowledgementsWoken = false;       // and the user-interface thread told
    std::function<void()> wake;
    bool stopRequested = false;
    bool finished = false;
    bool reported = false;
    // Written and read only on the session's thread.
    bool connected = false;
    bool certificateRejected = false;
    // Read by publish() on the user-interface thread.
    bool accepting = false;
};

namespace {

MosquittoClient::Session& SessionOf(void* data) {
    return *static_cast<MosquittoClient::Session*>(data);
}

void OnConnect(mosquitto*, void* data, int rc) {
    MosquittoClient::Session& session = SessionOf(data);
    if (rc == 0) {
        session.connected = true;
        {
            std::lock_guard lock(session.mutex);
            session.accepting = true;
        }
        session.push({ClientEvent::Kind::Connected, LinkFailure::NetworkError, 0});
        return;
    }
    session.end(rc == kBadUserNameOrPassword || rc == kNotAuthorised
                    ? LinkFailure::AuthenticationFailed
                    : LinkFailure::Refused);
}

void OnPublish(mosquitto*, void* data, int messageId) {
    MosquittoClient::Session& session = SessionOf(data);
    session.push({ClientEvent::Kind::Delivered, LinkFailure::NetworkError,
                  session.idOfMessage[static_cast<std::uint16_t>(messageId)]});
}

void OnLog(mosquitto*, void* data, int level, const char* text) {
    // libmosquitto says why TLS failed only in its log: OpenSSL's verification
    // error, or its own host name check.
    if (level == MOSQ_LOG_ERR && (std::strstr(text, "certificate verify failed") != nullptr ||
                                  std::strstr(text, "host name verification failed") != nullptr)) {
        SessionOf(data).certificateRejected = true;
    }
}

}  // namespace

MosquittoClient::MosquittoClient(std::function<void()> wake) : wake_(std::move(wake)) {}

MosquittoClient::~MosquittoClient() {
    disconnect(kLoopTimeoutMs * kGoodbyeLoops);
}

void MosquittoClient::connect(const ConnectOptions& options) {
    disconnect(0);
    leftover_.clear();
    InitialiseLibraryOnce();
    auto session = std::make_shared<Session>();
    session->wake = wake_;
    session_ = session;
    session->mosq = mosquitto_new(options.clientId.c_str(), true, session.get());
    if (session->mosq == nullptr || !session->openWakePipe()) {
        session->end(LinkFailure::NetworkError);
        return;
    }
    mosquitto_threaded_set(session->mosq, true);
    mosquitto_int_option(session->mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    // A batch is written at once; waiting for the broker's acknowledgement of the
    // last one first would only slow a backlog down.
    mosquitto_int_option(session->mosq, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_max_inflight_messages_set(session->mosq, static_cast<unsigned>(kInFlightLimit));
    mosquitto_connect_callback_set(session->mosq, OnConnect);
    mosquitto_publish_callback_set(session->mosq, OnPublish);
    mosquitto_log_callback_set(session->mosq, OnLog);
    if (!options.username.empty()) {
        mosquitto_username_pw_set(session->mosq, options.username.c_str(),
                                  options.password.empty() ? nullptr : options.password.c_str());
    }
    mosquitto_will_set(session->mosq, options.willTopic.c_str(),
                       static_cast<int>(options.willPayload.size()), options.willPayload.data(),
                       options.qos, true);
    if (options.tls) {
        // The broker's certificate and host name are verified; a failure ends the
        // attempt, never a fall-back to plain text.
        const int rc = options.caFile.empty()
                           ? mosquitto_int_option(session->mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1)
                           : mosquitto_tls_set(session->mosq, options.caFile.c_str(), nullptr,
                                               nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            session->end(LinkFailure::CaFileUnreadable);
            return;
        }
    }
    std::thread([session, options] { session->run(options); }).detach();
}

std::optional<int> MosquittoClient::publish(std::string_view topic, std::string_view payload,
                                            int qos, bool retain) {
    if (!session_) {
        return std::nullopt;
    }
    std::lock_guard lock(session_->mutex);
    if (!session_->accepting || session_->reported || session_->stopRequested) {
        return std::nullopt;
    }
    lastId_ = lastId_ == INT_MAX ? 1 : lastId_ + 1;
    Outgoing& message = session_->pending.add();
    message.id = lastId_;
    message.topic.assign(topic);
    message.payload.assign(payload);
    message.qos = qos;
    message.retain = retain;
    return lastId_;
}

void MosquittoClient::flush() {
    if (!session_) {
        return;
    }
    std::lock_guard lock(session_->mutex);
    if (session_->pending.count > 0) {
        session_->signal();
    }
}

std::vector<ClientEvent> MosquittoClient::takeEvents() {
    std::vector<ClientEvent> taken(leftover_.begin(), leftover_.end());
    leftover_.clear();
    if (session_) {
        std::lock_guard lock(session_->mutex);
        taken.insert(taken.end(), session_->events.begin(), session_->events.end());
        session_->events.clear();
        session_->acknowledgementsWaiting = 0;
        session_->acknowledgementsWoken = false;
    }
    return taken;
}

bool MosquittoClient::waitForEvents(int timeoutMs) {
    if (!leftover_.empty() || !session_) {
        return !leftover_.empty();
    }
    flush();
    std::unique_lock lock(session_->mutex);
    session_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [this] { return !session_->events.empty() || session_->finished; });
    return !session_->events.empty();
}

void MosquittoClient::disconnect(int timeoutMs) {
    const std::shared_ptr<Session> session = std::move(session_);
    if (!session) {
        return;
    }
    std::unique_lock lock(session->mutex);
    session->stopRequested = true;
    // Out of its wait at once.
    session->signal();
    session->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return session->finished; });
    // An attempt still in its name look-up finishes on its own, telling no one.
    session->wake = nullptr;
    // Only acknowledgements still mean something; a connection let go is gone.
    std::copy_if(
        session->events.begin(), session->events.end(), std::back_inserter(leftover_),
        [](const ClientEvent& event) { return event.kind == ClientEvent::Kind::Delivered; });
    session->events.clear();
}

}  // namespace vantrel::publish
