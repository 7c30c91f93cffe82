// Publishing end to end with the real broker: two simulated cards through the main
// window's links to mosquitto and a subscriber, the broker stopped and started
// again while values keep coming, the program's goodbye at exit, and its last will
// when it is killed. Guards values that never leave the desk, values lost or
// reordered while the broker is away or held behind those that waited, a stream of message boxes, a
// status that stays "online" after the program has gone, and the broker line in the status window;
// an alarm raised by a frame that never reaches the events topic, and an alarm set a subscriber
// that comes later does not find retained; a scaled or derived channel published
// without its unit, or a derived channel's alarm never raised.
#include <signal.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "alarms/RuleText.h"
#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "publish/Publisher.h"
#include "tests/engine/Tables.h"
#include "tests/support/BrokerProcess.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::testing {
namespace {

// A start folder with the tables and a vantrel.ini that publishes to port, then
// the sections of more.
void PrepareStartFolder(const QTemporaryDir& folder, int port, int intervalMs,
                        const char* more = "") {
    CopyShippedTables(folder.path().toStdString());
    std::ofstream(folder.filePath("vantrel.ini").toStdString())
        << "[mqtt]\nenabled=true\nhost=127.0.0.1\nstation=e2e\nport=" << port
        << "\ninterval_ms=" << intervalMs << "\n"
        << more;
}

// The program with its window on two simulated cards, publishing to broker.
struct ProgramOnCards {
    ProgramOnCards(const BrokerProcess& broker, const QStringList& card1, const QStringList& card2,
                   const char* moreIni = "") {
        started = sim1.start(1, card1) && sim2.start(2, card2);
        PrepareStartFolder(appDir, broker.port(), 0, moreIni);
        auto cardPorts = [this](int card) {
            return std::make_unique<platform::QtSerialPort>(card == 0 ? sim1.dir() : sim2.dir());
        };
        program.emplace(ProgramOptions{appDir.path().toStdString()},
                        ProgramParts{cardPorts, QtTimers(), clock, dialogs, files,
                                     MosquittoClients(), [](QDialog&) {}});
    }

    CardSimProcess sim1;
    CardSimProcess sim2;
    bool started = false;
    QTemporaryDir appDir;
    FakeDialogs dialogs;
    platform::QtClock clock;
    DiskLogFileSink files;
    std::optional<Program> program;
};

std::string Time(const std::string& payload) {
    return payload.substr(payload.find("\"time\":\"") + 8, 24);
}

TEST(PublishingEndToEnd, TwoCardsReachTheBrokerAndNothingIsLostWhileItRestarts) {
    BrokerProcess broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber subscriber;
    ASSERT_TRUE(subscriber.start(broker.port(), "vantrel/#", "e2e-subscriber"));
    ProgramOnCards rig(broker, {"--rate", "20", "--ch", "0=volts:5", "--inputs", "0005"},
                       {"--rate", "20", "--ch", "1=count:-500"});
    ASSERT_TRUE(rig.started);
    Program& program = *rig.program;
    FakeDialogs& dialogs = rig.dialogs;
    ASSERT_TRUE(program.built());
    AcquisitionState& state = program.state();
    state.ChannelName[0] = "Fan \"A\"";
    mdiDaq& window = *program.window();
    program.start();
    const auto linkIs = [&](publish::LinkStatus::State wanted) {
        return program.publisher().linkStatus().state == wanted;
    };
    ASSERT_TRUE(PumpUntil([&] {
        return state.CardConnected1 && state.CardConnected2 &&
               linkIs(publish::LinkStatus::State::Connected);
    }));

    Find<QAction>(window, "TaskStart").trigger();
    ASSERT_TRUE(PumpUntil([&] {
        return subscriber.payloads("vantrel/e2e/analog/9").size() >= 3 &&
               !subscriber.payloads("vantrel/e2e/digital").empty();
    }));
    const std::string fan = subscriber.payloads("vantrel/e2e/analog/0").at(0);
    EXPECT_EQ(fan.substr(35), R"("value":5.00,"name":"Fan \"A\"","input":"+/- 10V","unit":"V"})");
    // -500 counts of 32000 on the 10 V range, to hundredths.
    EXPECT_NE(subscriber.payloads("vantrel/e2e/analog/9")[0].find(R"("value":-0.16,)"),
              std::string::npos);
    EXPECT_NE(subscriber.payloads("vantrel/e2e/digital")[0].find(R"("in":"00000005")"),
              std::string::npos);
    EXPECT_EQ(subscriber.payloads("vantrel/e2e/status").back(),
              R"({"online":true,"card1":"connected","card2":"connected","task":"running",)"
              R"("logging":false,"version":"1.0"})");

    // The broker goes away for a while and comes back.
    broker.stop();
    ASSERT_TRUE(PumpUntil([&] { return linkIs(publish::LinkStatus::State::NotConnected); }));
    // More than the backlog may send at once.
    ASSERT_TRUE(PumpUntil([&] { return program.publisher().spool()->size() >= 2000; }, 20000));
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(PumpUntil(
        [&] {
            return linkIs(publish::LinkStatus::State::Connected) &&
                   program.publisher().spool()->empty();
        },
        20000));
    Find<QAction>(window, "TaskStop").trigger();
    PumpFor(300);
    // Every frame of card 1 reaches the subscriber (a resent value may come twice;
    // two frames read in one go may share their millisecond, so times alone cannot
    // tell them apart).
    ASSERT_TRUE(PumpUntil([&] {
        return subscriber.payloads("vantrel/e2e/analog/0").size() >=
               program.run().link(0).counters().analogFrames;
    }));
    // In order within two runs woven together: the values that waited for the
    // broker, and the live ones, which overtake them once it is back. (A value
    // resent because its acknowledgement was lost may come twice, right after
    // itself.) Each value joins the run whose latest is the latest not after it.
    const auto values = subscriber.payloads("vantrel/e2e/analog/0");
    std::string runs[2];  // the latest time of each
    bool overtaken = false;
    for (const std::string& value : values) {
        const std::string time = Time(value);
        std::string& newer = runs[0] < runs[1] ? runs[1] : runs[0];
        std::string& older = &newer == &runs[0] ? runs[1] : runs[0];
        ASSERT_LE(older, time);
        overtaken = overtaken || time < newer;
        (newer <= time ? newer : older) = time;
    }
    EXPECT_TRUE(overtaken);
    // The connection lost, and the attempts while the broker was away refused.
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 2u);

    dialogs.confirmAnswers = {true};
    Find<QAction>(window, "FileExit").trigger();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Publishing is on: stop and exit?");
    ASSERT_TRUE(PumpUntil(
        [&] { return subscriber.payloads("vantrel/e2e/status").back() == R"({"online":false})"; }));
}

TEST(PublishingEndToEnd, AnAlarmRaisedByAFrameIsPublishedAndItsSetKeptForALateSubscriber) {
    BrokerProcess broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber subscriber;
    ASSERT_TRUE(subscriber.start(broker.port(), "vantrel/e2e/events", "events-subscriber"));
    ProgramOnCards rig(broker, {"--rate", "20", "--ch", "0=volts:5"}, {"--rate", "20"});
    ASSERT_TRUE(rig.started);
    Program& program = *rig.program;
    ASSERT_TRUE(program.built());
    alarms::AlarmSettings settings;
    settings.rules.push_back(std::get<alarms::AlarmRule>(alarms::ParseRule("CH0 above 4")));
    program.run().setAlarmSettings(settings);
    program.start();
    ASSERT_TRUE(PumpUntil([&] {
        return program.state().CardConnected1 && program.state().CardConnected2 &&
               program.publisher().linkStatus().state == publish::LinkStatus::State::Connected;
    }));
    Find<QAction>(*program.window(), "TaskStart").trigger();
    const auto raised = [&] {
        for (const std::string& event : subscriber.payloads("vantrel/e2e/events")) {
            if (event.find(R"("kind":"alarm raised")") != std::string::npos) {
                return event;
            }
        }
        return std::string();
    };
    ASSERT_TRUE(PumpUntil([&] { return !raised().empty(); }));
    EXPECT_NE(raised().find(R"("channel":"CH0","level":"warning","value":5,"text":"CH0 above 4"})"),
              std::string::npos)
        << raised();

    MqttSubscriber late;
    ASSERT_TRUE(late.start(broker.port(), "vantrel/e2e/alarms", "late-subscriber"));
    ASSERT_TRUE(PumpUntil([&] { return !late.payloads("vantrel/e2e/alarms").empty(); }));
    const std::string set = late.payloads("vantrel/e2e/alarms").back();
    EXPECT_TRUE(set.starts_with(R"([{"channel":"CH0","level":"warning","text":"CH0 above 4",)"))
        << set;
    EXPECT_EQ(std::count(set.begin(), set.end(), '{'), 1);
    rig.dialogs.confirmAnswers = {true};
    Find<QAction>(*program.window(), "FileExit").trigger();
}

TEST(PublishingEndToEnd, AScaledChannelAndADerivedOneArePublishedWithTheirUnitsAndWatched) {
    BrokerProcess broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber subscriber;
    ASSERT_TRUE(subscriber.start(broker.port(), "vantrel/e2e/#", "derived-subscriber"));
    ProgramOnCards rig(broker, {"--rate", "20", "--ch", "0=volts:5"}, {"--rate", "20"},
                       "[channels]\nch0_scale=gain 2 offset 1\nch0_unit=bar\nch0_decimals=1\n"
                       "[derived]\nderived1 = dT | K | 2 | ch0 * 2 - 0.5\n"
                       "[alarms]\nrule1 = dT above 20\n");
    ASSERT_TRUE(rig.started);
    Program& program = *rig.program;
    ASSERT_TRUE(program.built());
    program.start();
    ASSERT_TRUE(PumpUntil([&] {
        return program.state().CardConnected1 && program.state().CardConnected2 &&
               program.publisher().linkStatus().state == publish::LinkStatus::State::Connected;
    }));
    Find<QAction>(*program.window(), "TaskStart").trigger();
    ASSERT_TRUE(PumpUntil([&] {
        return !subscriber.payloads("vantrel/e2e/derived/dT").empty() &&
               !subscriber.payloads("vantrel/e2e/events").empty();
    }));
    // 5 V through the scale is 11 bar; dT is worked out from the scaled value.
    EXPECT_EQ(subscriber.payloads("vantrel/e2e/derived/dT").back().substr(35),
              R"("value":21.50,"name":"dT","unit":"K"})");
    const std::string ch0 = subscriber.payloads("vantrel/e2e/analog/0").back();
    EXPECT_NE(ch0.find(R"("value":11.0,"name":"Channel 0","input":"+/- 10V","unit":"bar"})"),
              std::string::npos)
        << ch0;
    std::string raised;
    for (const std::string& event : subscriber.payloads("vantrel/e2e/events")) {
        raised = event.find("alarm raised") != std::string::npos ? event : raised;
    }
    EXPECT_NE(raised.find(R"("channel":"dT","level":"warning","value":21.5,"text":"dT above 20"})"),
              std::string::npos)
        << raised;
    rig.dialogs.confirmAnswers = {true};
    Find<QAction>(*program.window(), "FileExit").trigger();
}

TEST(PublishingEndToEnd, TheLastWillTellsWhenTheProgramIsKilled) {
    BrokerProcess broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber subscriber;
    ASSERT_TRUE(subscriber.start(broker.port(), "vantrel/e2e/status", "will-subscriber"));
    QTemporaryDir appDir;
    PrepareStartFolder(appDir, broker.port(), 1000);
    QProcess program;
    program.setWorkingDirectory(appDir.path());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QDir(std::getenv("VANTREL_BINARY_DIR")).filePath("vantrel"), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    const auto last = [&] {
        const auto statuses = subscriber.payloads("vantrel/e2e/status");
        return statuses.empty() ? std::string() : statuses.back();
    };
    ASSERT_TRUE(PumpUntil([&] { return last().rfind(R"({"online":true)", 0) == 0; }, 20000));
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    ASSERT_TRUE(PumpUntil([&] { return last() == R"({"online":false})"; }, 20000));
    program.waitForFinished(5000);
}

}  // namespace
}  // namespace vantrel::testing
