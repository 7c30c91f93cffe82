// The run state file and resuming after a restart, with fake ports and timers.
// Guards against: a state file that does not read back as written, damage read as
// a state (a missing line end, key or value, a value out of range, a day that is
// none), an earlier version's file without the day not read, a file written
// on every tick or by a run that never logged, an end that records the stopped
// task so a shutdown never resumes; a resume that starts without the preference,
// after a run that was not logging, before the cards answer or without the task,
// that writes a new header, restarts the serial numbers or glues onto a torn line,
// or that lets the file forget the last run while the cards are still silent.
#include <gtest/gtest.h>

#include "acquisition/AutoStart.h"
#include "acquisition/StatusText.h"
#include "tests/acquisition/RunRig.h"

namespace vantrel::testing {
namespace {

using acquisition::ParseRunState;
using acquisition::RunState;
using acquisition::RunStateText;

RunState LoggingRun(const std::string& file) {
    RunState run;
    run.logging = run.taskRunning = true;
    run.fileInUse = file;
    run.options = {file, {"Fan"}, true, 1, 1, 1, 1};
    run.saveChannels[0] = true;
    return run;
}

TEST(RunStateFile, ReadsBackAsWrittenAndNamesTheFirstDamage) {
    RunState run = LoggingRun("/data/run-20261207-000000.csv");
    run.options.fileName = "/data/run.csv";
    run.options.channelNames[15] = "a=b";
    run.saveChannels[15] = true;
    run.fileDay = std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::December,
                                              std::chrono::day{7}};
    run.serialBefore = 2147483647;
    const std::string text = RunStateText(run);
    EXPECT_EQ(ParseRunState(text).run, run);
    EXPECT_EQ(ParseRunState("colour=red\n" + text).run, run);  // a later version's key
    // The earlier versions' file has no day and goes on from its file's records.
    RunState earlier = run;
    earlier.fileDay.reset();
    earlier.serialBefore = 0;
    const std::string earlierText = text.substr(0, text.find("file_day="));
    EXPECT_EQ(ParseRunState(earlierText).run, earlier);
    // A line break in a name cannot start a line of its own.
    run.options.channelNames[3] = "two\r\nlines";
    EXPECT_EQ(ParseRunState(RunStateText(run)).run->options.channelNames[3], "two  lines");

    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string damaged = text;
        damaged.replace(damaged.find(from), from.size(), to);
        return damaged;
    };
    const std::pair<std::string, std::string> damaged[] = {
        {"", "no 'delimiter' line"},
        {text.substr(0, text.size() - 2), "line 28 has no line end"},
        {replaced("file_day=2026-12-07", "file_day=2026-02-30"),
         "line 27: 'file_day' must be a day YYYY-MM-DD, found '2026-02-30'"},
        {replaced("file_day=2026-12-07", "file_day=2026-12-7"),
         "line 27: 'file_day' must be a day YYYY-MM-DD, found '2026-12-7'"},
        {replaced("serial_before=2147483647", "serial_before=2147483648"),
         "line 28: 'serial_before' must be 0 to 2147483647, found '2147483648'"},
        {replaced("delimiter=1", "delimiter=7"),
         "line 6: 'delimiter' must be 1, 2 or 3, found '7'"},
        {replaced("stamp_style=1", "stamp_style=+1"),
         "line 9: 'stamp_style' must be 1 to 5, found '+1'"},
        {replaced("logging=on", "logging=yes"), "line 1: 'logging' must be on or off, found 'yes'"},
        {replaced("save=1000000000000001", "save=10"),
         "line 10: 'save' must be 16 digits 0 or 1, found '10'"},
        {replaced("task=running\r\n", "task\r\n"), "line 2 is no key=value line"},
        {replaced("headers=true\r\n", ""), "no 'headers' line"}};
    for (const auto& [input, problem] : damaged) {
        const auto reading = ParseRunState(input);
        EXPECT_FALSE(reading.run);
        EXPECT_EQ(reading.problem, problem);
    }
}

TEST(RunStateFile, WrittenWhenWhatItSaysChangesAndLeftAsTheRunWasAtTheEnd) {
    RunRig rig;
    const std::string stateFile = rig.folder.file("vantrel-run.state");
    rig.run->begin();
    rig.logTick->tick();
    EXPECT_FALSE(rig.folder.exists("vantrel-run.state"));  // it never logged
    rig.state.LogFileName = rig.folder.file("run.csv");
    rig.state.CardConnected1 = rig.state.Saving = rig.state.TaskRunning1 = true;
    rig.logTick->tick();
    EXPECT_EQ(ParseRunState(rig.folder.read("vantrel-run.state")).run->fileInUse,
              rig.folder.file("run.csv"));
    std::filesystem::remove(stateFile);
    rig.logTick->tick();
    EXPECT_FALSE(rig.folder.exists("vantrel-run.state"));  // nothing changed
    rig.state.Saving = false;
    rig.logTick->tick();
    EXPECT_FALSE(ParseRunState(rig.folder.read("vantrel-run.state")).run->logging);
    rig.state.Saving = true;
    rig.logTick->tick();
    rig.run->end();
    const auto last = ParseRunState(rig.folder.read("vantrel-run.state")).run;
    EXPECT_TRUE(last->logging && last->taskRunning);
}

TEST(Resume, OnlyWithThePreferenceAfterARunThatLoggedWithItsTaskRunning) {
    RunState stopped = LoggingRun("run.csv");
    stopped.taskRunning = false;
    // The preference, the state file, and what the user is told.
    const std::tuple<bool, std::string, bool, std::string> cases[] = {
        {false, RunStateText(LoggingRun("run.csv")), false, ""},
        {true, RunStateText(stopped), false, ""},
        {true, "", false, ""},  // no file at all
        {true, "logging=on", false,
         " cannot be read (line 1 has no line end); logging is not resumed."},
        {true, RunStateText(LoggingRun("run.csv")), true, ""}};
    for (const auto& [resume, file, resumes, told] : cases) {
        RunRig rig;
        if (!file.empty()) {
            rig.folder.write("vantrel-run.state", file);
        }
        rig.run->setLoggingPreferences({.resume = resume});
        EXPECT_EQ(rig.run->runToResume().has_value(), resumes) << file;
        EXPECT_EQ(
            rig.dialogs.nonBlockingMessages.empty() ? "" : rig.dialogs.nonBlockingMessages[0].text,
            told.empty() ? "" : rig.folder.file("vantrel-run.state") + told);
    }
}

TEST(Resume, TheSameFileAndOptionsOnceTheCardsAnswerWithoutAHeaderAndNumbersGoingOn) {
    RunRig rig;
    const std::string log = rig.folder.file("run.csv");
    rig.folder.write("run.csv", "SN,Fan\r\n1,0.5\r\n2,0.5\r\n3,0.");  // torn by the power cut
    const std::string stateText = RunStateText(LoggingRun(log));
    rig.folder.write("vantrel-run.state", stateText);
    rig.run->setLoggingPreferences({.resume = true});
    acquisition::AutoStart start = rig.autoStart(false);
    start.resume(*rig.run->runToResume());
    rig.run->begin();
    rig.run->openPorts();
    start.begin();
    // The cards are silent for a while: the file still says what the last run did.
    for (int i = 0; i < 3; ++i) {
        rig.poll.tick();
        rig.logTick->tick();
    }
    EXPECT_EQ(rig.folder.read("vantrel-run.state"), stateText);
    EXPECT_EQ(rig.folder.read("run.csv"), "SN,Fan\r\n1,0.5\r\n2,0.5\r\n3,0.");

    rig.cm.receive("V1.02\r");
    rig.cm2.receive("V1.02\r");
    rig.poll.tick();
    rig.pause->tick();
    rig.pause->tick();
    rig.poll.tick();
    EXPECT_EQ(rig.said, std::vector<std::string>{"logging resumed after a restart, into " + log +
                                                 "; serial numbers go on from 3"});
    rig.logTick->tick();
    rig.logTick->tick();
    EXPECT_EQ(rig.folder.read("run.csv"), "SN,Fan\r\n1,0.5\r\n2,0.5\r\n3,0.\r\n3,0\r\n4,0\r\n");
    EXPECT_EQ(acquisition::LogFileStatus(rig.state), "run.csv (resumed)");
    // The earlier version's state gave no day: the resumed run's first record does.
    RunState resumed = LoggingRun(log);
    resumed.fileDay = DayOf(rig.clock.current);
    EXPECT_EQ(ParseRunState(rig.folder.read("vantrel-run.state")).run, resumed);
}

}  // namespace
}  // namespace vantrel::testing
