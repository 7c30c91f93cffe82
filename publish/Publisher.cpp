#include "publish/Publisher.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/CardView.h"
#include "platform/DateTimeText.h"
#include "publish/CardPayloads.h"
#include "publish/ClientId.h"
#include "settings/AppPaths.h"
#include "settings/DamagedCopy.h"

namespace vantrel::publish {

namespace {

std::string CardText(const AcquisitionState& state, int card) {
    const ConstCardView view = CardOf(state, card);
    if (view.PortLost) {
        return "port lost";
    }
    return view.PortOpen && view.CardConnected ? "connected" : "not connected";
}

// Both cards' lines in one word, line slot s in bit s.
std::uint32_t LineWord(const std::array<DigitalFrame, 2>& cards,
                       std::uint16_t DigitalFrame::*lines) {
    std::uint32_t word = 0;
    for (const DigitalFrame& card : cards) {
        for (int line = 0; line < kLinesPerCard; ++line) {
            const std::uint32_t bit = (card.*lines >> line) & 1u;
            word |= bit << LineSlot(card.card, line);
        }
    }
    return word;
}

std::string ValueCount(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " value" : " values");
}

std::string SizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMegabyte = 1000000;
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                  : std::to_string(bytes) + " bytes";
}

}  // namespace

Publisher::Publisher(const AcquisitionState& state, PublisherServices services)
    : state_(state), services_(std::move(services)) {
    services_.tick.setHandler([this] { tick(); });
}

Publisher::~Publisher() {
    services_.tick.stop();
    services_.tick.setHandler(nullptr);
}

void Publisher::setNoticeHandler(std::function<void(const std::string&)> handler) {
    notice_ = std::move(handler);
}

void Publisher::notify(const std::string& text) {
    if (notice_) {
        notice_(text);
    }
}

const OutboxCounters& Publisher::counters() const {
    static const OutboxCounters kNone;
    return outbox_ ? outbox_->counters() : kNone;
}

void Publisher::apply(const MqttSettings& settings) {
    endConnection();
    settings_ = settings;
    // New settings, new chances: each failure kind may be told again.
    lastFailureShown_.reset();
    if (!settings_.enabled) {
        link_ = {};
        services_.tick.stop();
        return;
    }
    openSpool();
    topics_.emplace(settings_.topicPrefix, settings_.station);
    client_ = services_.makeClient();
    retryDelayMs_ = kFirstRetryMs;
    startConnecting();
    services_.tick.start(kPublishTickMs, false);
}

void Publisher::openSpool() {
    if (spool_) {
        return;
    }
    std::unique_ptr<SpoolStorage> storage;
    if (!services_.spoolPath.empty()) {
        storage = FileSpoolStorage::Open(services_.spoolPath);
        if (!storage) {
            notify("MQTT: " + services_.spoolPath +
                   " cannot be opened. Values waiting for the broker are kept in memory only "
                   "and are lost when the program ends.");
        }
    }
    if (!storage) {
        storage = std::make_unique<MemorySpoolStorage>();
    }
    spool_ = std::make_unique<Spool>(std::move(storage), services_.spoolCapacity);
    outbox_ = std::make_unique<Outbox>(*spool_);
    if (spool_->damagedBytes() > 0) {
        // Nothing is thrown away: the bytes that could not be read stay in a copy,
        // beside those of any damage before.
        const DamagedCopy copy = services_.spoolPath.empty()
                                     ? DamagedCopy{{}, std::make_error_code(std::errc::io_error)}
                                     : KeepDamagedCopy(services_.spoolPath);
        notify("MQTT: " + std::string(kSpoolFile) + " was damaged; " +
               std::to_string(spool_->damagedBytes()) +
               " bytes of values waiting for the broker could not be read" +
               (copy.error ? "." : " and are kept in " + copy.path + "."));
    }
}

void Publisher::startConnecting() {
    ConnectOptions options;
    options.host = settings_.host;
    options.port = settings_.port;
    options.clientId = ClientId(settings_.station, state_.AppDir);
    options.username = settings_.username;
    options.password = settings_.password;
    options.tls = settings_.tls;
    options.caFile = settings_.caFile;
    options.willTopic = topics_->status();
    options.willPayload = kOfflinePayload;
    options.qos = settings_.qos;
    link_ = {LinkStatus::State::Connecting, settings_.host, settings_.port, std::nullopt};
    waitedMs_ = 0;
    client_->connect(options);
}

void Publisher::endConnection() {
    if (!client_) {
        return;
    }
    if (link_.state == LinkStatus::State::Connected) {
        // What the interval still holds back goes first, then the goodbye.
        publishPending();
        outbox_->pump();
        std::optional<int> goodbye =
            client_->publish(topics_->status(), kOfflinePayload, settings_.qos, true);
        client_->flush();
        // Only acknowledgements now; the spool's turn comes with the next connection.
        outbox_->detach();
        const std::int64_t deadline =
            platform::UtcMilliseconds(services_.clock.now()) + kGoodbyeWaitMs;
        const auto left = [&] {
            return static_cast<int>(std::clamp<std::int64_t>(
                deadline - platform::UtcMilliseconds(services_.clock.now()), 0, kGoodbyeWaitMs));
        };
        bool waiting = goodbye.has_value() || outbox_->inFlight() > 0;
        while (waiting && left() > 0 && client_->waitForEvents(left())) {
            for (const ClientEvent& event : client_->takeEvents()) {
                if (event.kind == ClientEvent::Kind::Ended) {
                    waiting = false;
                } else if (event.kind == ClientEvent::Kind::Delivered) {
                    outbox_->delivered(event.messageId);
                    goodbye = event.messageId == goodbye ? std::nullopt : goodbye;
                }
            }
            waiting = waiting && (goodbye.has_value() || outbox_->inFlight() > 0);
        }
    }
    client_->disconnect(kGoodbyeWaitMs);
    for (const ClientEvent& event : client_->takeEvents()) {
        if (event.kind == ClientEvent::Kind::Delivered) {
            outbox_->delivered(event.messageId);
        }
    }
    outbox_->disconnected();
    client_.reset();
    statusPublished_.reset();
    alarmsPublished_.reset();
    reportSpool();
}

void Publisher::shutdown() {
    services_.tick.stop();
    endConnection();
    link_ = {};
}

void Publisher::onClientEvents() {
    if (!client_) {
        return;
    }
    for (const ClientEvent& event : client_->takeEvents()) {
        if (!client_) {
            break;
        }
        handle(event);
    }
    // The room a batch of acknowledgements left, filled at once.
    outbox_->pump();
    reportSpool();
}

void Publisher::handle(const ClientEvent& event) {
    switch (event.kind) {
        case ClientEvent::Kind::Connected:
            if (link_.state != LinkStatus::State::Connecting) {
                break;
            }
            link_.state = LinkStatus::State::Connected;
            link_.failure.reset();
            retryDelayMs_ = kFirstRetryMs;
            // The status first: the broker may still hold the last will.
            statusPublished_.reset();
            publishStatusIfChanged();
            alarmsPublished_.reset();
            publishAlarmsIfChanged();
            outbox_->connected(*client_);
            break;
        case ClientEvent::Kind::Ended:
            ended(event.failure);
            break;
        case ClientEvent::Kind::Delivered:
            outbox_->delivered(event.messageId);
            break;
    }
}

void Publisher::ended(LinkFailure failure) {
    if (link_.state != LinkStatus::State::Connecting &&
        link_.state != LinkStatus::State::Connected) {
        return;
    }
    const bool wasConnected = link_.state == LinkStatus::State::Connected;
    outbox_->disconnected();
    link_.state = LinkStatus::State::NotConnected;
    link_.failure = failure;
    waitedMs_ = 0;
    if (lastFailureShown_ != failure) {
        lastFailureShown_ = failure;
        const std::string where = settings_.host + ":" + std::to_string(settings_.port);
        notify(wasConnected || failure == LinkFailure::ConnectionLost
                   ? "MQTT: the connection to " + where + " was lost (" +
                         std::string(FailureText(failure)) + ")."
                   : "MQTT: cannot connect to " + where + ": " + std::string(FailureText(failure)) +
                         ".");
    }
}

void Publisher::tick() {
    onClientEvents();
    if (!client_) {
        return;
    }
    waitedMs_ += kPublishTickMs;
    if (link_.state == LinkStatus::State::NotConnected && waitedMs_ >= retryDelayMs_) {
        retryDelayMs_ = std::min(retryDelayMs_ * 2, kLongestRetryMs);
        startConnecting();
    } else if (link_.state == LinkStatus::State::Connecting && waitedMs_ >= kConnectTimeoutMs) {
        // A broker that never answers: the attempt is dropped and tried again.
        client_->disconnect(0);
        ended(LinkFailure::TimedOut);
    }
    const std::int64_t now = platform::UtcMilliseconds(services_.clock.now());
    // A clock set back would otherwise hold the values until it caught up.
    if (settings_.intervalMs > 0 &&
        (now - lastPaceMs_ >= settings_.intervalMs || now < lastPaceMs_)) {
        lastPaceMs_ = now;
        publishPending();
    }
    publishStatusIfChanged();
    publishAlarmsIfChanged();
    outbox_->pump();
    reportSpool();
}

void Publisher::setEngineering(const derived::EngineeringValues* engineering) {
    engineering_ = engineering;
}

void Publisher::onFrame(const link::FrameEvent& event) {
    // Kept while not publishing too, so that the first digital message after a
    // start holds both cards' lines.
    if (const auto* lines = std::get_if<DigitalFrame>(&event)) {
        lines_[static_cast<std::size_t>(CardIndex(lines->card))] = *lines;
    }
    if (!client_) {
        return;
    }
    if (const auto* frame = std::get_if<ConvertedFrame>(&event)) {
        for (int channel = 0; channel < kChannelsPerCard; ++channel) {
            const auto c = static_cast<std::size_t>(channel);
            const auto index = static_cast<std::size_t>(ChannelSlot(frame->card, channel));
            AnalogSample& sample = samples_[index];
            sample.time = frame->convertedAt;
            sample.value = frame->scaled[c] ? *frame->scaled[c] : frame->values[c].value_or(0.0f);
            sample.inputType = frame->inputTypes[c];
            sample.error.reset();
            // The failing slot and those after it were not converted this time.
            if (!frame->values[c] && frame->failure) {
                sample.error = frame->failure->message();
            }
            analogPending_.set(index);
        }
        const std::size_t derivedCount =
            engineering_ != nullptr ? engineering_->derivedSettings().channels.size() : 0;
        for (std::size_t place = 0; place < derivedCount && place < kDerivedSlots; ++place) {
            derivedSamples_[place] = {frame->convertedAt, frame->derived[place]};
            derivedPending_.set(place);
        }
    } else {
        digitalTime_ = std::get<DigitalFrame>(event).receivedAt;
        digitalIn_ = LineWord(lines_, &DigitalFrame::inputs);
        digitalOut_ = LineWord(lines_, &DigitalFrame::outputs);
        const std::uint64_t lines = std::uint64_t{digitalOut_} << 32 | digitalIn_;
        if (digitalPublished_ != lines) {
            publishDigital();
        } else {
            digitalPending_ = true;
        }
    }
    if (settings_.intervalMs == 0) {
        publishPending();
    }
    // A frame's messages go out together; a changed line at once.
    outbox_->pump();
    reportSpool();
}

void Publisher::onEvent(const alarms::RunEvent& event) {
    if (!client_) {
        return;
    }
    payload_ = EventPayload(event);
    outbox_->send({topics_->events(), payload_, settings_.qos, false});
    outbox_->pump();
    reportSpool();
}

void Publisher::onAlarms(const std::vector<alarms::ActiveAlarm>& active) {
    // Kept while not publishing too, so that a connection made later starts with
    // the set as it is.
    alarms_ = AlarmsPayload(active);
    publishAlarmsIfChanged();
}

void Publisher::publishPending() {
    if (settings_.payload == PayloadShape::PerChannel) {
        for (std::size_t slot = 0; slot < samples_.size(); ++slot) {
            if (analogPending_.test(slot)) {
                publishChannel(slot);
            }
        }
    } else {
        for (int card = 0; card < 2; ++card) {
            // A card's channels come and go together, with its frames.
            if (analogPending_.test(static_cast<std::size_t>(ChannelSlot(card, 0)))) {
                publishCard(card);
            }
        }
    }
    analogPending_.reset();
    publishDerived();
    if (digitalPending_) {
        publishDigital();
    }
}

void Publisher::publishChannel(std::size_t slot) {
    const std::optional<ChannelScale> none;
    const std::optional<ChannelScale>& scale =
        engineering_ != nullptr ? engineering_->scales()[slot] : none;
    payload_.clear();
    AppendAnalogPayload(payload_, samples_[slot], state_.ChannelName[slot], scale);
    outbox_->send({topics_->analog(static_cast<int>(slot)), payload_, settings_.qos, false});
}

void Publisher::publishCard(int card) {
    const auto first = static_cast<std::size_t>(ChannelSlot(card, 0));
    const CardReadings readings{card, &samples_[first], &state_.ChannelName[first],
                                engineering_ != nullptr ? &engineering_->scales()[first] : nullptr};
    payload_.clear();
    if (settings_.payload == PayloadShape::PerCard) {
        AppendCardPayload(payload_, readings);
        outbox_->send({topics_->cardAnalog(card), payload_, settings_.qos, false});
    } else {
        AppendInfluxLine(payload_, settings_.station, readings);
        outbox_->send({topics_->influx(), payload_, settings_.qos, false});
    }
}

void Publisher::publishDerived() {
    // A derived channel removed since its value came is no longer published.
    const std::vector<derived::DerivedChannel> noChannels;
    const std::vector<derived::DerivedChannel>& channels =
        engineering_ != nullptr ? engineering_->derivedSettings().channels : noChannels;
    for (std::size_t place = 0; place < derivedSamples_.size(); ++place) {
        if (derivedPending_.test(place)) {
            derivedPending_.reset(place);
            if (place < channels.size()) {
                topics_->derived(channels[place].name, topic_);
                payload_ = DerivedPayload(derivedSamples_[place], channels[place]);
                outbox_->send({topic_, payload_, settings_.qos, false});
            }
        }
    }
}

void Publisher::publishDigital() {
    digitalPending_ = false;
    digitalPublished_ = std::uint64_t{digitalOut_} << 32 | digitalIn_;
    payload_.clear();
    AppendDigitalPayload(payload_, digitalTime_, digitalIn_, digitalOut_);
    outbox_->send({topics_->digital(), payload_, settings_.qos, false});
}

StatusFacts Publisher::statusFacts() const {
    return {CardText(state_, 0), CardText(state_, 1), state_.TaskRunning1 || state_.TaskRunning2,
            state_.Saving, services_.version};
}

void Publisher::publishStatusIfChanged() {
    if (link_.state != LinkStatus::State::Connected) {
        return;
    }
    // A state, not a reading: only the newest counts, so it never waits in the
    // spool behind older values.
    std::string payload = StatusPayload(statusFacts());
    if (payload == statusPublished_) {
        return;
    }
    if (client_->publish(topics_->status(), payload, settings_.qos, true)) {
        client_->flush();
        statusPublished_ = std::move(payload);
    }
}

void Publisher::publishAlarmsIfChanged() {
    // Like the status, a state: only the newest set counts.
    if (link_.state != LinkStatus::State::Connected || alarms_ == alarmsPublished_) {
        return;
    }
    if (client_->publish(topics_->alarms(), alarms_, settings_.qos, true)) {
        client_->flush();
        alarmsPublished_ = alarms_;
    }
}

void Publisher::reportSpool() {
    if (!spool_) {
        return;
    }
    // A full spool is said when it fills, and the values it dropped are counted
    // once it has emptied again, in one message.
    if (!spoolFullReported_ && spool_->dropped() > droppedReported_) {
        spoolFullReported_ = true;
        notify("MQTT spool full at " + SizeText(services_.spoolCapacity) +
               ": the oldest values are being dropped.");
    }
    if (spool_->empty() && spool_->dropped() > droppedReported_) {
        notify("MQTT: " + std::to_string(spool_->dropped() - droppedReported_) +
               " values were dropped while the broker could not be reached: " + kSpoolFile +
               " holds at most " + SizeText(services_.spoolCapacity) + ".");
        droppedReported_ = spool_->dropped();
        spoolFullReported_ = false;
    }
    // A spool that cannot be written: once when it starts, with the count so far,
    // and once when it ends, with the whole count.
    const std::uint64_t lost = spool_->lost() - lostReported_;
    const auto where = [this] {
        return services_.spoolPath.empty() ? std::string(kSpoolFile) : services_.spoolPath;
    };
    if (!writeTroubleReported_ && spool_->writeTrouble()) {
        writeTroubleReported_ = true;
        notify("MQTT: values from " + where() + " cannot be kept: " + *spool_->writeTrouble() +
               "; " + ValueCount(lost) + " lost so far.");
    } else if (lost > 0 && !spool_->writeTrouble()) {
        notify("MQTT: values from " + where() + " are kept again; " + ValueCount(lost) +
               " were lost.");
        lostReported_ = spool_->lost();
        writeTroubleReported_ = false;
    }
}

}  // namespace vantrel::publish
