#pragma once

// Publishes the live values to an MQTT broker: each analog channel's and each
// derived channel's latest value at most every interval_ms (every frame at 0), as
// the user reads them (scaled, with their units), the digital lines on every change
// and every interval, and the program's status, retained, whenever it changes.
// Keeps the connection up with a backoff of at most 30 s, and tells the user once
// of each new kind of failure. Runs on the user-interface thread; fed by the card
// links' frame listeners and by its own timer tick.

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "derived/EngineeringValues.h"
#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "publish/LinkStatus.h"
#include "publish/MqttClient.h"
#include "publish/MqttSettings.h"
#include "publish/Outbox.h"
#include "publish/Payloads.h"
#include "publish/Spool.h"

namespace vantrel::publish {

inline constexpr int kPublishTickMs = 50;
inline constexpr int kFirstRetryMs = 1000;
inline constexpr int kLongestRetryMs = 30000;
inline constexpr int kConnectTimeoutMs = 20000;
// How long an orderly end waits for the last messages to be acknowledged.
inline constexpr int kGoodbyeWaitMs = 2000;

struct PublisherServices {
    platform::Clock& clock;
    platform::Timer& tick;
    std::function<std::unique_ptr<MqttClient>()> makeClient;
    // The spool file; empty keeps the spool in memory.
    std::string spoolPath;
    std::uint64_t spoolCapacity = kSpoolLimitBytes;
    std::string version;
};

class Publisher {
  public:
    Publisher(const AcquisitionState& state, PublisherServices services);
    ~Publisher();
    Publisher(const Publisher&) = delete;
    Publisher& operator=(const Publisher&) = delete;

    // Takes effect at once: an open connection says goodbye and a new one starts.
    void apply(const MqttSettings& settings);
    // The run's scales and derived channels, which name and read the values its
    // frames carry; without them every channel is published as converted.
    void setEngineering(const derived::EngineeringValues* engineering);
    // A card link accepted a frame; its values come with it.
    void onFrame(const link::FrameEvent& event);
    // An event of the run, sent and spooled as the values are.
    void onEvent(const alarms::RunEvent& event);
    // The alarms active now; kept retained on the broker, re-sent on each change.
    void onAlarms(const std::vector<alarms::ActiveAlarm>& active);
    // The client has events waiting (and on every tick).
    void onClientEvents();
    void tick();
    // The orderly end: the values still pending, then {"online":false}, waited
    // for briefly; what is not acknowledged stays in the spool for the next run.
    void shutdown();

    LinkStatus linkStatus() const { return link_; }
    // Messages for the user: a new kind of failure, a spool that is full or
    // cannot be written (each once when it starts and once when it ends, with
    // the count of values lost), a damaged spool.
    void setNoticeHandler(std::function<void(const std::string&)> handler);

    const OutboxCounters& counters() const;
    const Spool* spool() const { return spool_.get(); }

  private:
    void openSpool();
    void startConnecting();
    void endConnection();
    void handle(const ClientEvent& event);
    void ended(LinkFailure failure);
    void publishPending();
    void publishChannel(std::size_t slot);
    void publishCard(int card);
    void publishDerived();
    void publishDigital();
    void publishStatusIfChanged();
    void publishAlarmsIfChanged();
    StatusFacts statusFacts() const;
    void reportSpool();
    void notify(const std::string& text);

    const AcquisitionState& state_;
    PublisherServices services_;
    std::function<void(const std::string&)> notice_;

    MqttSettings settings_;
    std::optional<Topics> topics_;
    std::unique_ptr<MqttClient> client_;
    LinkStatus link_;
    int retryDelayMs_ = kFirstRetryMs;
    int waitedMs_ = 0;  // since connecting began, or since the last failure
    std::optional<LinkFailure> lastFailureShown_;

    std::unique_ptr<Spool> spool_;
    std::unique_ptr<Outbox> outbox_;
    std::uint64_t droppedReported_ = 0;
    bool spoolFullReported_ = false;
    std::uint64_t lostReported_ = 0;
    bool writeTroubleReported_ = false;

    const derived::EngineeringValues* engineering_ = nullptr;
    std::array<AnalogSample, kUsedChannels> samples_{};
    std::bitset<kUsedChannels> analogPending_;
    // By the derived channel's place in the run's settings.
    std::array<DerivedSample, kDerivedSlots> derivedSamples_{};
    std::bitset<kDerivedSlots> derivedPending_;
    // Each card's lines as its last digital frame gave them.
    std::array<DigitalFrame, 2> lines_{DigitalFrame{0, {}, 0, 0}, DigitalFrame{1, {}, 0, 0}};
    platform::DateTime digitalTime_;
    std::uint32_t digitalIn_ = 0;
    std::uint32_t digitalOut_ = 0;
    bool digitalPending_ = false;
    std::optional<std::uint64_t> digitalPublished_;  // out << 32 | in
    std::int64_t lastPaceMs_ = 0;
    std::optional<std::string> statusPublished_;
    std::string alarms_ = AlarmsPayload({});
    std::optional<std::string> alarmsPublished_;
    // Where each message is built, kept from one message to the next.
    std::string payload_;
    std::string topic_;
};

}  // namespace vantrel::publish
