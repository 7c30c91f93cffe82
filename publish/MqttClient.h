#pragma once

// The MQTT client as the publisher needs it, so that the publishing rules are
// tested with a scripted client and run with libmosquitto. Every call is made on
// the user-interface thread and returns at once; what happens on the network
// arrives later as events.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::publish {

// Why there is no connection; each kind is told to the user once.
enum class LinkFailure {
    Refused,
    AuthenticationFailed,
    CertificateNotTrusted,
    HostNotFound,
    ConnectionLost,
    TimedOut,
    CaFileUnreadable,
    TlsFailed,
    NetworkError,
};
// "refused", "authentication failed", "certificate not trusted", …
std::string_view FailureText(LinkFailure failure);

struct ConnectOptions {
    std::string host;
    int port = 1883;
    std::string clientId;
    std::string username;  // empty: none
    std::string password;
    bool tls = false;
    std::string caFile;  // empty with tls: the system's trusted authorities
    // Published by the broker when the connection ends without a goodbye.
    std::string willTopic;
    std::string willPayload;
    int qos = 1;
    int keepAliveSeconds = 15;
};

struct ClientEvent {
    enum class Kind {
        Connected,  // the broker accepted the connection
        Ended,      // no connection (any more): failure says why
        Delivered,  // the message with messageId was acknowledged (QoS 1) or sent (QoS 0)
    };
    Kind kind = Kind::Connected;
    LinkFailure failure = LinkFailure::NetworkError;
    int messageId = 0;
};

class MqttClient {
  public:
    virtual ~MqttClient() = default;

    // Starts connecting; the outcome comes as a Connected or Ended event. Name
    // look-up and the TCP connection happen off the calling thread.
    virtual void connect(const ConnectOptions& options) = 0;
    // Hands a message to the connection; its id, or nothing when there is no
    // connection to take it. It may wait for flush() to go out.
    virtual std::optional<int> publish(std::string_view topic, std::string_view payload, int qos,
                                       bool retain) = 0;
    // Sends what was handed over since the last call, in one go.
    virtual void flush() {}
    // The events since the last call, oldest first.
    virtual std::vector<ClientEvent> takeEvents() = 0;
    // Waits up to timeoutMs for an event to arrive; false when none did. Used only
    // while the program ends, to see its last messages acknowledged.
    virtual bool waitForEvents(int timeoutMs) = 0;
    // Says goodbye to the broker (no last will then) and ends the connection,
    // waiting at most timeoutMs; an attempt still under way is dropped.
    virtual void disconnect(int timeoutMs) = 0;
};

}  // namespace vantrel::publish
