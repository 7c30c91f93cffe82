#pragma once

#include <deque>
#include <string>
#include <vector>

#include "publish/MqttClient.h"

namespace vantrel::testing {

// A client the test drives: it records what was published and connects, fails or
// acknowledges only when the test says so.
class FakeMqttClient : public publish::MqttClient {
  public:
    struct Sent {
        int id = 0;
        std::string topic;
        std::string payload;
        int qos = 0;
        bool retain = false;
    };

    std::vector<publish::ConnectOptions> connects;
    std::vector<Sent> sent;
    bool up = false;
    int disconnects = 0;

    void connect(const publish::ConnectOptions& options) override { connects.push_back(options); }
    std::optional<int> publish(const std::string& topic, std::string_view payload, int qos,
                               bool retain) override {
        if (!up) {
            return std::nullopt;
        }
        sent.push_back({++lastId_, topic, std::string(payload), qos, retain});
        return lastId_;
    }
    std::vector<publish::ClientEvent> takeEvents() override {
        std::vector<publish::ClientEvent> taken(events_.begin(), events_.end());
        events_.clear();
        return taken;
    }
    bool waitForEvents(int) override { return !events_.empty(); }
    void disconnect(int) override {
        ++disconnects;
        up = false;
    }

    void accept() {
        up = true;
        events_.push_back({publish::ClientEvent::Kind::Connected, {}, 0});
    }
    void end(publish::LinkFailure failure) {
        up = false;
        events_.push_back({publish::ClientEvent::Kind::Ended, failure, 0});
    }
    // The broker acknowledges every message handed over so far.
    void acknowledgeAll() {
        for (; acknowledged_ < sent.size(); ++acknowledged_) {
            events_.push_back({publish::ClientEvent::Kind::Delivered, {}, sent[acknowledged_].id});
        }
    }
    // Topics handed over, in order, optionally only those starting with prefix.
    std::vector<std::string> topics(const std::string& prefix = {}) const {
        std::vector<std::string> out;
        for (const Sent& s : sent) {
            if (s.topic.rfind(prefix, 0) == 0) {
                out.push_back(s.topic);
            }
        }
        return out;
    }

  private:
    std::deque<publish::ClientEvent> events_;
    std::size_t acknowledged_ = 0;
    int lastId_ = 0;
};

// What the publisher owns and destroys, while the test keeps its FakeMqttClient.
class ForwardingMqttClient : public publish::MqttClient {
  public:
    explicit ForwardingMqttClient(publish::MqttClient& target) : target_(target) {}
    void connect(const publish::ConnectOptions& options) override { target_.connect(options); }
    std::optional<int> publish(const std::string& topic, std::string_view payload, int qos,
                               bool retain) override {
        return target_.publish(topic, payload, qos, retain);
    }
    std::vector<publish::ClientEvent> takeEvents() override { return target_.takeEvents(); }
    bool waitForEvents(int timeoutMs) override { return target_.waitForEvents(timeoutMs); }
    void disconnect(int timeoutMs) override { target_.disconnect(timeoutMs); }

  private:
    publish::MqttClient& target_;
};

}  // namespace vantrel::testing
