// Guards the publishing rules with a scripted client: pacing (a value sent more
// often than the interval, or an old one instead of the latest), digital changes
// held back, values lost or reordered across a lost connection, the status sent
// behind spooled values or repeated unchanged, live values held behind a
// backlog, a backoff that grows past 30 s or never grows, a message box for
// every failure, a full spool or disk said late, never or with a wrong count, a
// damaged spool dropped whole or its copy overwritten, and an exit without
// goodbye; events lost while the broker is away, and the alarm set not retained,
// sent unchanged or not sent again to a new connection.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "platform/DateTimeText.h"
#include "publish/ClientId.h"
#include "publish/Publisher.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeMqttClient.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {
namespace {

using publish::LinkFailure;
using ::testing::HasSubstr;

struct Rig {
    explicit Rig(std::uint64_t spoolCapacity = publish::kSpoolLimitBytes, std::string spool = "")
        : publisher(state,
                    {clock, tick, [this] { return std::make_unique<FakeMqttClient>(broker); },
                     std::move(spool), spoolCapacity, "1.0"}) {
        clock.current = {2026, 12, 6, 14, 5, 9, 0, 60};
        publisher.setNoticeHandler([this](const std::string& text) { notices.push_back(text); });
    }
    void start(int intervalMs, publish::PayloadShape payload = publish::PayloadShape::PerChannel) {
        publish::MqttSettings settings;
        settings.enabled = true;
        settings.station = "rig";
        settings.intervalMs = intervalMs;
        settings.payload = payload;
        publisher.apply(settings);
    }
    void connect() {
        broker.accept();
        publisher.onClientEvents();
    }
    void end(LinkFailure failure) {
        broker.end(failure);
        publisher.onClientEvents();
    }
    void analogFrame(int card, float value, std::optional<ConversionFailure> failure = {}) {
        for (int channel = 0; channel < kChannelsPerCard; ++channel) {
            state.ChannelValue[static_cast<std::size_t>(card * 8 + channel)] = value;
        }
        publisher.onFrame(TakeConvertedFrame(state, card, clock.current, failure));
    }
    // Every message handed over so far is acknowledged, rounds times.
    void acknowledge(int rounds) {
        for (int round = 0; round < rounds; ++round) {
            broker.acknowledgeAll();
            publisher.onClientEvents();
        }
    }
    void digitalFrame() { publisher.onFrame(TakeDigitalFrame(state, 1, clock.current)); }
    // Time passes in timer ticks.
    void advance(int ms) {
        for (int passed = 0; passed < ms; passed += publish::kPublishTickMs) {
            clock.current = platform::LocalDateTime(
                platform::UtcMilliseconds(clock.current) + publish::kPublishTickMs, 60);
            tick.tick();
        }
    }
    std::string line() const { return publish::BrokerLine(publisher.linkStatus()); }
    std::vector<std::string> payloads(const std::string& topic) const {
        std::vector<std::string> out;
        for (const auto& sent : broker.sent) {
            if (sent.topic == topic) {
                out.push_back(sent.payload);
            }
        }
        return out;
    }

    AcquisitionState state;
    FakeClock clock;
    FakeTimer tick;
    FakeBroker broker;
    std::vector<std::string> notices;
    publish::Publisher publisher;
};

TEST(PublisherTest, EachChannelsLatestValueAtMostEveryIntervalAndDigitalChangesAtOnce) {
    Rig rig;
    rig.start(1000);
    rig.connect();
    rig.analogFrame(0, 1.0f);
    rig.analogFrame(0, 2.0f);
    EXPECT_TRUE(rig.payloads("vantrel/rig/analog/0").empty());
    rig.advance(50);
    EXPECT_EQ(rig.broker.sent.size(), 10u);  // the status, the alarm set and eight channels
    EXPECT_THAT(rig.payloads("vantrel/rig/analog/7").at(0), HasSubstr("\"value\":2.00,"));
    rig.analogFrame(0, 3.0f);
    rig.advance(950);
    EXPECT_EQ(rig.payloads("vantrel/rig/analog/7").size(), 1u);
    rig.advance(50);
    EXPECT_THAT(rig.payloads("vantrel/rig/analog/7").at(1), HasSubstr("\"value\":3.00,"));

    rig.state.DigitalIn[17] = true;  // card 2's line 1
    rig.digitalFrame();
    rig.digitalFrame();  // unchanged: waits for the interval
    EXPECT_EQ(rig.payloads("vantrel/rig/digital").size(), 1u);
    EXPECT_THAT(rig.payloads("vantrel/rig/digital")[0], HasSubstr(R"("in":"00020000")"));
    rig.advance(1000);
    EXPECT_EQ(rig.payloads("vantrel/rig/digital").size(), 2u);
}

TEST(PublisherTest, ValuesWaitForTheBrokerAndDrainBehindTheStatusAndTheLiveValues) {
    Rig rig;
    rig.start(0);
    rig.connect();
    rig.analogFrame(0, 1.0f);  // handed over, never acknowledged
    rig.end(LinkFailure::ConnectionLost);
    EXPECT_EQ(rig.line(), "MQTT: not connected (connection lost)");
    for (int frame = 0; frame < 39; ++frame) {  // 320 values wait in all
        rig.analogFrame(0, 2.0f);
    }
    rig.advance(1000);
    ASSERT_EQ(rig.broker.connects.size(), 2u);
    rig.broker.sent.clear();
    rig.connect();
    EXPECT_EQ(rig.broker.sent.at(0).topic, "vantrel/rig/status");
    EXPECT_EQ(rig.broker.sent.at(1).topic, "vantrel/rig/alarms");
    // Then the backlog, leaving room for the live values.
    EXPECT_EQ(rig.broker.sent.size(), 2 + publish::kBacklogInFlightLimit);
    rig.analogFrame(0, 3.0f);
    rig.acknowledge(1);
    rig.analogFrame(0, 4.0f);  // ahead of the backlog's last 20
    std::string values;
    for (const std::string& payload : rig.payloads("vantrel/rig/analog/0")) {
        values += payload.substr(payload.find("\"value\":") + 8, 1);
    }
    // 150 of the backlog hold 19 of channel 0's values; each keeps its own time.
    EXPECT_EQ(values, "1" + std::string(18, '2') + "3" + std::string(19, '2') + "4");
    EXPECT_THAT(rig.payloads("vantrel/rig/analog/0")[20], HasSubstr("T13:05:09.000Z"));
    rig.acknowledge(3);
    EXPECT_EQ(rig.broker.sent.size(), 2 + 320 + 16u);
    EXPECT_TRUE(rig.publisher.spool()->empty());
    // The same failure again is not told again.
    rig.end(LinkFailure::ConnectionLost);
    EXPECT_EQ(rig.notices,
              std::vector<std::string>{
                  "MQTT: the connection to localhost:1883 was lost (connection lost)."});
}

TEST(PublisherTest, RetriesWithAGrowingPauseOfAtMostThirtySeconds) {
    Rig rig;
    rig.start(1000);
    std::vector<int> pauses;
    for (int attempt = 0; attempt < 7; ++attempt) {
        rig.end(attempt < 5 ? LinkFailure::Refused : LinkFailure::AuthenticationFailed);
        const std::size_t before = rig.broker.connects.size();
        int waited = 0;
        while (rig.broker.connects.size() == before && waited < 60000) {
            rig.advance(publish::kPublishTickMs);
            waited += publish::kPublishTickMs;
        }
        pauses.push_back(waited);
    }
    EXPECT_EQ(pauses, (std::vector<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000}));
    // A broker that never answers.
    rig.advance(publish::kConnectTimeoutMs);
    EXPECT_EQ(rig.line(), "MQTT: not connected (timed out)");
    EXPECT_EQ(rig.notices, (std::vector<std::string>{
                               "MQTT: cannot connect to localhost:1883: refused.",
                               "MQTT: cannot connect to localhost:1883: authentication failed.",
                               "MQTT: cannot connect to localhost:1883: timed out."}));
    rig.connect();  // the dropped attempt's late answer counts for nothing
    EXPECT_EQ(rig.line(), "MQTT: not connected (timed out)");
    rig.advance(publish::kLongestRetryMs);
    rig.connect();
    EXPECT_EQ(rig.line(), "MQTT: connected to localhost:1883");
}

TEST(PublisherTest, StatusIsRetainedSentOnChangeAndAFailedConversionSendsNull) {
    Rig rig;
    rig.state.AppDir = "foobar";
    rig.start(0);
    // FNV-1a's published values: the same id in every run and build from one start
    // folder (std::hash would not be), another id from another folder. The will's
    // topic and text reach a subscriber in PublishingEndToEnd.
    EXPECT_EQ(rig.broker.connects.at(0).clientId, "vantrel-rig-bf9cf968");
    EXPECT_EQ(publish::ClientId("rig", "a"), "vantrel-rig-e40c292c");
    rig.connect();
    rig.advance(100);
    rig.state.TaskRunning2 = rig.state.PortLost1 = true;
    rig.advance(50);
    const auto statuses = rig.payloads("vantrel/rig/status");
    ASSERT_EQ(statuses.size(), 2u);
    EXPECT_TRUE(rig.broker.sent.at(0).retain);
    EXPECT_THAT(statuses[0],
                HasSubstr(R"("card1":"not connected","card2":"not connected","task":"stopped")"));
    EXPECT_THAT(statuses[1],
                HasSubstr(R"("card1":"port lost","card2":"not connected","task":"running")"));

    rig.analogFrame(1, 1.0f, ConversionFailure{ConversionFailure::Kind::DivisionByZero, 11});
    EXPECT_THAT(rig.payloads("vantrel/rig/analog/10").at(0), HasSubstr("\"value\":1.00,"));
    EXPECT_THAT(
        rig.payloads("vantrel/rig/analog/11").at(0),
        HasSubstr(
            R"("value":null,"name":"Channel 11","input":"+/- 10V","unit":"V","error":"Division by zero11")"));
    EXPECT_THAT(rig.payloads("vantrel/rig/analog/15").at(0), HasSubstr(R"("value":null)"));
}

TEST(PublisherTest, EventsWaitForTheBrokerAndTheAlarmSetIsRetainedOnEachChange) {
    Rig rig;
    rig.start(0);
    alarms::RunEvent raised{alarms::EventKind::AlarmRaised,
                            rig.clock.current,
                            "CH3",
                            alarms::AlarmLevel::Critical,
                            static_cast<double>(81.2f),
                            "CH3 \"above\" 80",
                            alarms::AlarmId{}};
    rig.publisher.onEvent(raised);
    alarms::ActiveAlarm alarm{{},
                              alarms::AlarmLevel::Critical,
                              "CH3",
                              "CH3 above 80",
                              rig.clock.current,
                              static_cast<double>(81.2f)};
    rig.publisher.onAlarms({alarm});
    EXPECT_TRUE(rig.broker.sent.empty());
    rig.connect();
    rig.advance(50);
    EXPECT_EQ(rig.payloads("vantrel/rig/events"),
              std::vector<std::string>{
                  R"({"time":"2026-12-06T13:05:09.000Z","kind":"alarm raised","channel":"CH3",)"
                  R"("level":"critical","value":81.2,"text":"CH3 \"above\" 80"})"});
    const std::string raisedSet =
        R"([{"channel":"CH3","level":"critical","text":"CH3 above 80",)"
        R"("raised":"2026-12-06T13:05:09.000Z","value":81.2,"acknowledged":false,"holds":true}])";
    EXPECT_EQ(rig.payloads("vantrel/rig/alarms"), std::vector<std::string>{raisedSet});

    rig.publisher.onEvent({alarms::EventKind::Marker, rig.clock.current, "", {}, {}, "", {}});
    EXPECT_THAT(rig.payloads("vantrel/rig/events").at(1),
                HasSubstr(R"("kind":"marker","channel":"","level":null,"value":null,"text":""})"));
    rig.publisher.onAlarms({alarm});
    rig.publisher.onAlarms({});
    EXPECT_EQ(rig.payloads("vantrel/rig/alarms"), (std::vector<std::string>{raisedSet, "[]"}));
    rig.end(LinkFailure::ConnectionLost);
    rig.advance(publish::kFirstRetryMs);
    rig.connect();
    EXPECT_EQ(rig.payloads("vantrel/rig/alarms").size(), 3u);
    for (const auto& sent : rig.broker.sent) {
        EXPECT_EQ(sent.retain, sent.topic != "vantrel/rig/events") << sent.topic;
    }
}

TEST(PublisherTest, AnOrderlyEndSaysGoodbyeAndKeepsWhatWasNotAcknowledged) {
    Rig rig;
    rig.start(1000);
    rig.connect();
    rig.analogFrame(0, 1.0f);  // held back by the interval
    rig.publisher.shutdown();
    // The goodbye's text reaches a subscriber in PublishingEndToEnd.
    // The status, the alarm set, eight channels, the goodbye.
    EXPECT_EQ(rig.broker.sent.size(), 11u);
    EXPECT_TRUE(rig.broker.sent.back().retain);
    EXPECT_EQ(rig.broker.disconnects, 1);
    EXPECT_EQ(rig.publisher.spool()->size(), 8u);
    EXPECT_EQ(rig.line(), "");
}

TEST(PublisherTest, AFullSpoolSaysSoAtOnceAndHowManyWereDroppedOnceEmpty) {
    Rig rig(2000);
    rig.start(0);
    for (int frame = 0; frame < 10; ++frame) {
        rig.analogFrame(0, static_cast<float>(frame));
    }
    const std::uint64_t dropped = rig.publisher.spool()->dropped();
    EXPECT_GT(dropped, 0u);
    const std::string full = "MQTT spool full at 2000 bytes: the oldest values are being dropped.";
    EXPECT_EQ(rig.notices, std::vector<std::string>{full});
    rig.connect();
    // The newest value survived.
    EXPECT_THAT(rig.payloads("vantrel/rig/analog/7").back(), HasSubstr("\"value\":9.00,"));
    rig.acknowledge(5);
    EXPECT_EQ(rig.notices,
              (std::vector<std::string>{full, "MQTT: " + std::to_string(dropped) +
                                                  " values were dropped while the broker "
                                                  "could not be reached: vantrel-mqtt.spool "
                                                  "holds at most 2000 bytes."}));
}

#ifndef _WIN32
TEST(PublisherTest, AFullDiskIsSaidOncePerEpisodeWithTheExactCountAndWritingResumesAtOnce) {
    TempFolder folder;
    const std::string path = folder.file("vantrel-mqtt.spool");
    Rig rig(publish::kSpoolLimitBytes, path);
    rig.start(0);
    rig.analogFrame(0, 1.0f);
    // The system's limit on file size stands for a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit room{};
    getrlimit(RLIMIT_FSIZE, &room);
    for (int episode = 0; episode < 2; ++episode) {
        const rlimit full{std::filesystem::file_size(path), room.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        for (int frame = 0; frame <= episode; ++frame) {
            rig.analogFrame(0, 2.0f);
            rig.advance(50);
        }
        setrlimit(RLIMIT_FSIZE, &room);
        rig.analogFrame(0, 3.0f);
    }
    EXPECT_EQ(rig.publisher.spool()->size(), 3u * 8);
    const std::string from = "MQTT: values from " + path;
    EXPECT_EQ(rig.notices, (std::vector<std::string>{
                               from + " cannot be kept: File too large; 8 values lost so far.",
                               from + " are kept again; 8 values were lost.",
                               from + " cannot be kept: File too large; 8 values lost so far.",
                               from + " are kept again; 16 values were lost."}));
}
#endif

TEST(PublisherTest, ADamagedSpoolDeliversWhatCameBeforeTheDamageAndKeepsEveryDamagedCopy) {
    TempFolder folder;
    const std::string path = folder.file("vantrel-mqtt.spool");
    {
        publish::Spool spool(publish::FileSpoolStorage::Open(path));
        for (int n = 1000; n < 2000; ++n) {  // 32 bytes each
            spool.pushBack(publish::SpooledMessage{"vantrel/rig/analog/0", std::to_string(n), 1});
        }
        spool.sync();
    }
    const std::string cut = folder.read("vantrel-mqtt.spool").substr(0, 32040 * 6 / 10);
    folder.write("vantrel-mqtt.spool", cut);
    folder.write("vantrel-mqtt.spool.bad", "an earlier damage");
    Rig rig(publish::kSpoolLimitBytes, path);
    rig.start(0);
    rig.connect();
    rig.acknowledge(10);
    // 599 and a half messages are left.
    const std::vector<std::string> delivered = rig.payloads("vantrel/rig/analog/0");
    ASSERT_EQ(delivered.size(), 599u);
    EXPECT_EQ(delivered.back(), "1598");
    EXPECT_EQ(folder.read("vantrel-mqtt.spool.bad"), "an earlier damage");
    EXPECT_EQ(folder.read("vantrel-mqtt.spool.1.bad"), cut);
    EXPECT_EQ(rig.notices.at(0),
              "MQTT: vantrel-mqtt.spool was damaged; 12832 bytes of values "
              "waiting for the broker could not be read and are kept in " +
                  path + ".1.bad.");
}

}  // namespace
}  // namespace vantrel::testing
