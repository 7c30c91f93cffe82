// Publishing end to end with the real broker: two simulated cards through the main
// window's links to mosquitto and a subscriber, in each payload shape (JSON read
// back with Qt's reader, line protocol with a reader of its grammar, channel
// names holding what each must escape), the broker stopped and started
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
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <map>
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

// A line of line protocol as its grammar reads it: the measurement, the tags and
// the fields (string values unquoted), and the time.
struct Line {
    std::string measurement;
    std::map<std::string, std::string> tags;
    std::map<std::string, std::string> fields;
    std::string time;
};

// Up to the first of stops not escaped by a backslash; a backslash before one of
// escapable (or itself) stands for that character, otherwise for itself.
std::string ReadLinePart(std::string_view& rest, std::string_view stops,
                         std::string_view escapable) {
    std::string part;
    while (!rest.empty() && stops.find(rest[0]) == std::string_view::npos) {
        if (rest[0] == '\\' && rest.size() > 1 &&
            (rest[1] == '\\' || escapable.find(rest[1]) != std::string_view::npos)) {
            rest.remove_prefix(1);
        }
        part += rest[0];
        rest.remove_prefix(1);
    }
    return part;
}

// ",key=value,…" or " key=value,…" up to the blank after it; string values
// unquoted.
bool ReadPairs(std::string_view& rest, std::map<std::string, std::string>& pairs) {
    do {
        rest.remove_prefix(1);
        const std::string key = ReadLinePart(rest, "=", ",= ");
        if (rest.empty() || key.empty()) {
            return false;
        }
        rest.remove_prefix(1);
        const bool quoted = rest.starts_with('"');
        rest.remove_prefix(quoted ? 1 : 0);
        pairs[key] = ReadLinePart(rest, quoted ? "\"" : ", ", quoted ? "\"" : ",= ");
        if (quoted && !rest.empty()) {
            rest.remove_prefix(1);
        }
    } while (rest.starts_with(','));
    return rest.starts_with(' ');
}

std::optional<Line> ReadLine(std::string_view rest) {
    Line line;
    line.measurement = ReadLinePart(rest, ", ", ", ");
    if ((rest.starts_with(',') && !ReadPairs(rest, line.tags)) || !ReadPairs(rest, line.fields)) {
        return std::nullopt;
    }
    line.time = std::string(rest.substr(1));
    const bool digits = line.time.find_first_not_of("0123456789") == std::string::npos;
    return digits && !line.time.empty() && !line.measurement.empty() ? std::optional<Line>(line)
                                                                     : std::nullopt;
}

// One channel as a message carried it, in the order the messages arrived.
struct Reading {
    std::string time;  // ISO 8601 text, or nanoseconds in line protocol
    std::string name;
    std::optional<double> value;
};

// The readings of the channel in slot (named name) in the payload shape.
std::vector<Reading> ChannelReadings(const MqttSubscriber& subscriber, const std::string& shape,
                                     int slot, const std::string& name) {
    std::vector<Reading> readings;
    const auto fromJson = [](const QJsonObject& message, const QJsonObject& channel) {
        const QJsonValue value = channel["value"];
        return Reading{message["time"].toString().toStdString(),
                       channel["name"].toString().toStdString(),
                       value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt};
    };
    const int card = slot / kChannelsPerCard + 1;
    if (shape == "per_channel") {
        for (const std::string& payload :
             subscriber.payloads("vantrel/e2e/analog/" + std::to_string(slot))) {
            const QJsonObject message = QJsonDocument::fromJson(payload.c_str()).object();
            readings.push_back(fromJson(message, message));
        }
    } else if (shape == "per_card") {
        for (const std::string& payload :
             subscriber.payloads("vantrel/e2e/card" + std::to_string(card) + "/analog")) {
            const QJsonObject message = QJsonDocument::fromJson(payload.c_str()).object();
            const QJsonArray channels = message["channels"].toArray();
            EXPECT_EQ(message["card"].toInt(), card);
            EXPECT_EQ(channels.size(), kChannelsPerCard);
            const QJsonObject channel = channels[slot % kChannelsPerCard].toObject();
            EXPECT_EQ(channel["channel"].toInt(), slot);
            readings.push_back(fromJson(message, channel));
        }
    } else {
        for (const std::string& payload : subscriber.payloads("vantrel/e2e/influx")) {
            const std::optional<Line> line = ReadLine(payload);
            EXPECT_TRUE(line) << payload;
            if (line && line->tags.at("card") == std::to_string(card)) {
                EXPECT_EQ(line->measurement, "vantrel");
                EXPECT_EQ(line->tags.at("station"), "e2e");
                const auto field = line->fields.find(name);
                readings.push_back({line->time, field != line->fields.end() ? name : "",
                                    field != line->fields.end()
                                        ? std::optional<double>(std::stod(field->second))
                                        : std::nullopt});
            }
        }
    }
    return readings;
}

// Blanks, a comma, quotes, a slash, the topic wildcards, an equals sign, a
// backslash last and letters beyond ASCII: every name any payload must carry.
const std::string kFanName = "Fan \"A\", 1/+#";
const std::string kOilName =
    "\xC3\x96l = 20 \xC2\xB0"
    "C\\";

class PublishingEndToEndInEachShape : public ::testing::TestWithParam<std::string> {};

TEST_P(PublishingEndToEndInEachShape, TwoCardsReachTheBrokerAndNothingIsLostWhileItRestarts) {
    const std::string shape = GetParam();
    BrokerProcess broker;
    ASSERT_TRUE(broker.start());
    MqttSubscriber subscriber;
    ASSERT_TRUE(subscriber.start(broker.port(), "vantrel/#", "e2e-subscriber"));
    const std::string payload = "payload=" + shape + "\n";
    ProgramOnCards rig(
        broker, {"--rate", "20", "--ch", "0=volts:5", "--ch", "1=volts:-2.5", "--inputs", "0005"},
        {"--rate", "20", "--ch", "1=count:-500"}, payload.c_str());
    ASSERT_TRUE(rig.started);
    Program& program = *rig.program;
    FakeDialogs& dialogs = rig.dialogs;
    ASSERT_TRUE(program.built());
    AcquisitionState& state = program.state();
    state.ChannelName[0] = kFanName;
    state.ChannelName[1] = kOilName;
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
        return ChannelReadings(subscriber, shape, 9, "Channel 9").size() >= 3 &&
               !subscriber.payloads("vantrel/e2e/digital").empty();
    }));
    const Reading fan = ChannelReadings(subscriber, shape, 0, kFanName).at(0);
    EXPECT_EQ(fan.name, kFanName);
    EXPECT_EQ(fan.value, 5.0);
    const Reading oil = ChannelReadings(subscriber, shape, 1, kOilName).at(0);
    EXPECT_EQ(oil.name, kOilName);
    EXPECT_EQ(oil.value, -2.5);
    // -500 counts of 32000 on the 10 V range, to hundredths.
    EXPECT_EQ(ChannelReadings(subscriber, shape, 9, "Channel 9").at(0).value, -0.16);
    EXPECT_NE(subscriber.payloads("vantrel/e2e/digital")[0].find(R"("in":"00000005")"),
              std::string::npos);
    EXPECT_EQ(subscriber.payloads("vantrel/e2e/status").back(),
              R"({"online":true,"card1":"connected","card2":"connected","task":"running",)"
              R"("logging":false,"version":"1.0"})");

    // The broker goes away for a while and comes back.
    broker.stop();
    ASSERT_TRUE(PumpUntil([&] { return linkIs(publish::LinkStatus::State::NotConnected); }));
    // More than the backlog may send at once, and an attempt refused.
    ASSERT_TRUE(PumpUntil(
        [&] {
            return program.publisher().spool()->size() >= 300 &&
                   dialogs.nonBlockingMessages.size() >= 2;
        },
        20000));
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
        return ChannelReadings(subscriber, shape, 0, kFanName).size() >=
               program.run().link(0).counters().analogFrames;
    }));
    // In order within two runs woven together: the values that waited for the
    // broker, and the live ones, which may overtake them once it is back (that
    // they go first is PublisherTest's). A value resent because its
    // acknowledgement was lost may come twice, right after itself. Each value
    // joins the run whose latest is the latest not after it.
    std::string runs[2];  // the latest time of each
    for (const Reading& reading : ChannelReadings(subscriber, shape, 0, kFanName)) {
        const std::string& time = reading.time;
        EXPECT_EQ(reading.value, 5.0);
        std::string& newer = runs[0] < runs[1] ? runs[1] : runs[0];
        std::string& older = &newer == &runs[0] ? runs[1] : runs[0];
        ASSERT_LE(older, time);
        (newer <= time ? newer : older) = time;
    }
    // The connection lost, and the attempts while the broker was away refused.
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 2u);

    dialogs.confirmAnswers = {true};
    Find<QAction>(window, "FileExit").trigger();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Publishing is on: stop and exit?");
    ASSERT_TRUE(PumpUntil(
        [&] { return subscriber.payloads("vantrel/e2e/status").back() == R"({"online":false})"; }));
}

INSTANTIATE_TEST_SUITE_P(Payloads, PublishingEndToEndInEachShape,
                         ::testing::Values("per_channel", "per_card", "influx"));

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
