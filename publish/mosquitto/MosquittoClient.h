#pragma once

// The MQTT client on libmosquitto. Each connection attempt runs on a thread of its
// own: the name look-up and TCP connect (which can block) and then the network
// loop. Messages are handed to that thread in batches, one wake-up per flush(),
// and only it calls the library once connected, so the user-interface thread
// never waits for the library's locks nor makes a system call per message. What
// happens there comes back as events in a queue that the user-interface thread
// drains; wake() tells it that the connection changed.

#include <deque>
#include <functional>
#include <memory>

#include "publish/MqttClient.h"

namespace vantrel::publish {

class MosquittoClient : public MqttClient {
  public:
    // wake is called on the network thread when the connection is made or ends
    // (acknowledgements wait to be taken); it must be safe to call from any thread
    // and must not block.
    explicit MosquittoClient(std::function<void()> wake = {});
    ~MosquittoClient() override;
    MosquittoClient(const MosquittoClient&) = delete;
    MosquittoClient& operator=(const MosquittoClient&) = delete;

    void connect(const ConnectOptions& options) override;
    std::optional<int> publish(std::string_view topic, std::string_view payload, int qos,
                               bool retain) override;
    void flush() override;
    std::vector<ClientEvent> takeEvents() override;
    bool waitForEvents(int timeoutMs) override;
    void disconnect(int timeoutMs) override;

    struct Session;

  private:
    std::function<void()> wake_;
    std::shared_ptr<Session> session_;
    // Events of an attempt already let go, still to be taken.
    std::deque<ClientEvent> leftover_;
    // Our own message ids, counted across attempts, so that a late
    // acknowledgement of an earlier one never passes for a newer message's.
    int lastId_ = 0;
};

}  // namespace vantrel::publish
