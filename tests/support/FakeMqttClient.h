#pragma once

#include <deque>
#include <string>
#include <vector>

#include "publish/MqttClient.h"

namespace vantrel::testing {

// The far end of scripted clients, kept by the test: it records what was
// published and connects, fails or acknowledges only when the test says so.
struct FakeBroker {
    struct Sent {
        int id = 0;
        std::string topic;
        std::string payload;
        bool retain = false;
    };
    std::vector<publish::ConnectOptions> connects;
    std::vector<Sent> sent;
    std::deque<publish::ClientEvent> events;
    bool up = false;
    int disconnects = 0;
    std::size_t acknowledged = 0;

    void accept() {
        up = true;
        events.push_back({publish::ClientEvent::Kind::Connected, {}, 0});
    }
    void end(publish::LinkFailure failure) {
        up = false;
        events.push_back({publish::ClientEvent::Kind::Ended, failure, 0});
    }
    // Every message handed over so far is acknowledged.
    void acknowledgeAll() {
        for (; acknowledged < sent.size(); ++acknowledged) {
            events.push_back({publish::ClientEvent::Kind::Delivered, {}, sent[acknowledged].id});
        }
    }
};

// What the publisher owns and destroys, while the test keeps the broker.
class FakeMqttClient : public publish::MqttClient {
  public:
    explicit FakeMqttClient(FakeBroker& broker) : broker_(broker) {}
    void connect(const publish::ConnectOptions& options) override {
        broker_.connects.push_back(options);
    }
    std::optional<int> publish(std::string_view topic, std::string_view payload, int,
                               bool retain) override {
        if (!broker_.up) {
            return std::nullopt;
        }
        const int id = static_cast<int>(broker_.sent.size()) + 1;
        broker_.sent.push_back({id, std::string(topic), std::string(payload), retain});
        return id;
    }
    std::vector<publish::ClientEvent> takeEvents() override {
        std::vector<publish::ClientEvent> taken(broker_.events.begin(), broker_.events.end());
        broker_.events.clear();
        return taken;
    }
    bool waitForEvents(int) override { return !broker_.events.empty(); }
    void disconnect(int) override {
        ++broker_.disconnects;
        broker_.up = false;
    }

  private:
    FakeBroker& broker_;
};

}  // namespace vantrel::testing
