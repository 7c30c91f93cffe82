// A log split into dated files and taken up again after a kill or across midnight,
// on real files. Guards against: a kill at any step of a split (the run state's
// temporary file and rename, the new file, its folder entry, its first record) or a
// failure there repeating, losing or reordering a record, or leaving a file without
// its header; serial numbers restarting in a new file killed before its first
// record; a restart on a later day writing into the previous day's file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "logging/SaveOptions.h"
#include "platform/DateTimeText.h"
#include "tests/acquisition/RunRig.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

// Real files. Once armed, the operation that changes the disk after the first
// budget ones fails: with Stop, it and all later ones are refused as by a killed
// program, and what is on the disk then is set aside; with FailOnce, only it fails.
// The run state's replacement is its two steps, the temporary file and the rename.
class BudgetedSink : public DiskLogFileSink {
  public:
    enum class Mode { Stop, FailOnce };
    BudgetedSink(const TempFolder& folder, Mode mode) : folder_(folder), mode_(mode) {}
    void arm(std::optional<int> budget) { budget_ = budget; }

    std::optional<std::string> replaceAtomically(const std::string& path,
                                                 std::string_view text) override {
        const std::string temporary = path + ".tmp";
        if (!Go() || DiskLogFileSink::replace(temporary, text) || !Go()) {
            return kRefused;
        }
        fs::rename(temporary, path);
        return std::nullopt;
    }
    std::optional<std::string> append(const std::string& path, std::string_view text,
                                      Flush flush) override {
        return Go() ? DiskLogFileSink::append(path, text, flush) : kRefused;
    }
    std::optional<std::string> flushToDisk(const std::string& path) override {
        return Go() ? DiskLogFileSink::flushToDisk(path) : kRefused;
    }
    std::optional<std::string> createNew(const std::string& path, std::string_view text) override {
        return Go() ? DiskLogFileSink::createNew(path, text) : kRefused;
    }

    // Whether the budget ran out.
    bool tripped() const { return tripped_; }
    // The disk as the kill left it, back in place of whatever happened after.
    void restoreDisk() const {
        fs::remove_all(folder_.path());
        fs::rename(image(), folder_.path());
    }

  private:
    static constexpr const char* kRefused = "refused";
    fs::path image() const { return folder_.path().string() + ".image"; }
    bool Go() {
        if (!budget_ || (*budget_)-- != 0) {
            return !(tripped_ && mode_ == Mode::Stop);
        }
        tripped_ = true;
        if (mode_ == Mode::Stop) {
            fs::copy(folder_.path(), image(), fs::copy_options::recursive);
        }
        return false;
    }

    const TempFolder& folder_;
    Mode mode_;
    std::optional<int> budget_;
    bool tripped_ = false;
};

class ResumeSplitTest : public ::testing::Test {
  protected:
    // A run logging serial numbers of all channels with headers into logs/run.csv.
    void StartLogging(RunRig& rig, const LoggingPreferences& preferences) {
        rig.run->setLoggingPreferences(preferences);
        rig.run->begin();
        rig.state.CardConnected1 = rig.state.TaskRunning1 = true;
        SaveOptionsChoice choice{logFile, {}, true, 1, 1, 1, 1};
        std::ranges::fill(rig.state.SaveChannel, true);
        ASSERT_FALSE(ApplySaveOptions(rig.state, choice, rig.files, rig.clock.current));
    }
    // A later start that resumes what the state file says; the line it says.
    std::string Resume(RunRig& rig, const LoggingPreferences& preferences) {
        rig.run->setLoggingPreferences(preferences);
        rig.run->begin();
        rig.state.CardConnected1 = rig.state.TaskRunning1 = true;
        const std::optional<acquisition::RunState> last = rig.run->runToResume();
        return last ? rig.run->resumeLogging(*last).value_or("") : "no resume";
    }
    static void Tick(RunRig& rig, int seconds) {
        for (int i = 0; i < seconds; ++i) {
            rig.clock.current =
                platform::LocalDateTime(platform::UtcMilliseconds(rig.clock.current) + 1000, 0);
            rig.logTick->tick();
        }
    }

    // The log files in name order, the user's first; each must start with the
    // header. Their records' serial numbers, file after file.
    std::vector<int> SerialNumbers(std::vector<std::string>* names = nullptr) const {
        std::vector<int> serials;
        for (const auto& [name, text] : folder.files("logs")) {
            if (name.ends_with(".events.csv")) {
                continue;
            }
            EXPECT_TRUE(text.starts_with("SN,")) << name;
            for (std::size_t at = text.find('\n'); at + 1 < text.size();
                 at = text.find('\n', at + 1)) {
                serials.push_back(std::stoi(text.substr(at + 1)));
            }
            if (names != nullptr) {
                names->push_back(name);
            }
        }
        return serials;
    }
    static std::vector<int> OneTo(int last) {
        std::vector<int> serials(static_cast<std::size_t>(last));
        std::iota(serials.begin(), serials.end(), 1);
        return serials;
    }

    TempFolder folder;
    std::string logFile = (folder.path() / "logs" / "run.csv").string();
    const LoggingPreferences bySize{.split = LogSplit::Size, .splitSizeKb = 1, .resume = true};
};

TEST_F(ResumeSplitTest, EveryStepOfASplitKilledOrFailingKeepsEachRecordOnceInOrder) {
    fs::create_directory(folder.file("logs"));
    // The ticks until the first record that goes to a new file.
    int splitTick = 0;
    {
        RunRig rig(&folder);
        StartLogging(rig, bySize);
        while (rig.state.LogFileInUse == logFile && splitTick < 100) {
            Tick(rig, 1);
            ++splitTick;
        }
    }
    for (const auto mode : {BudgetedSink::Mode::Stop, BudgetedSink::Mode::FailOnce}) {
        for (int budget = 0;; ++budget) {
            SCOPED_TRACE(::testing::Message()
                         << "mode " << static_cast<int>(mode) << ", budget " << budget);
            fs::remove_all(folder.path());
            fs::create_directories(folder.file("logs"));
            BudgetedSink sink(folder, mode);
            auto rig = std::make_unique<RunRig>(&folder, &sink);
            StartLogging(*rig, bySize);
            Tick(*rig, splitTick - 1);
            sink.arm(budget);
            Tick(*rig, 1);
            // Past the split's last step, or after a single failure, the run goes on.
            if (const bool past = !sink.tripped(); past || mode == BudgetedSink::Mode::FailOnce) {
                sink.arm(std::nullopt);
                Tick(*rig, 30);
                EXPECT_EQ(SerialNumbers(), OneTo(splitTick + 30));
                if (past) {
                    break;
                }
                continue;
            }
            const platform::DateTime killedAt = rig->clock.current;
            rig.reset();
            sink.restoreDisk();
            // Whether the split's record reached its file or not, the next start goes
            // on after the last one that did.
            const int onDisk = static_cast<int>(SerialNumbers().size());
            EXPECT_EQ(SerialNumbers(), OneTo(onDisk));
            EXPECT_GE(onDisk, splitTick - 1);
            RunRig later(&folder);
            later.clock.current = killedAt;
            ASSERT_NE(Resume(later, bySize), "no resume");
            Tick(later, 30);
            EXPECT_EQ(SerialNumbers(), OneTo(onDisk + 30));
        }
    }
}

TEST_F(ResumeSplitTest, EachSplitFileKeepsItsOwnEventsAndTheStopGoesToTheLastOne) {
    fs::create_directory(folder.file("logs"));
    RunRig rig(&folder);
    StartLogging(rig, bySize);
    Tick(rig, 1);
    rig.run->addMarker("before");
    while (rig.state.LogFileInUse == logFile) {
        Tick(rig, 1);
    }
    const std::string split = rig.state.LogFileInUse;
    rig.run->addMarker("after");
    // An empty name stops logging.
    EXPECT_TRUE(ApplySaveOptions(rig.state, {}, rig.files, rig.clock.current));
    Tick(rig, 1);
    rig.run->addMarker("not logged");

    // Each line's kind and text, below the header.
    const auto events = [](const std::string& text) {
        std::vector<std::string> lines;
        EXPECT_TRUE(text.starts_with("time,kind,channel,level,value,text\r\n"));
        for (std::size_t at = text.find('\n'); at + 1 < text.size(); at = text.find('\n', at + 1)) {
            const std::string line = text.substr(at + 1, text.find('\r', at) - at - 1);
            const std::size_t kind = line.find(',') + 1;
            lines.push_back(line.substr(kind, line.find(',', kind) - kind) + ": " +
                            line.substr(line.rfind(',') + 1));
        }
        return lines;
    };
    EXPECT_EQ(events(folder.read("logs/run.csv.events.csv")),
              (std::vector<std::string>{"logging started: Logging started in " + logFile,
                                        "marker: before"}));
    EXPECT_EQ(events(folder.read(fs::relative(split, folder.path()).string() + ".events.csv")),
              (std::vector<std::string>{"new split file: Logging goes on in " + split,
                                        "marker: after", "logging stopped: "}));
}

TEST_F(ResumeSplitTest, DailyARestartOnALaterDayStartsADatedFileWithItsHeader) {
    // Restarted at, the files then, and the file in use.
    const std::tuple<platform::DateTime, std::size_t, std::string> cases[] = {
        {{2026, 12, 6, 23, 59, 55}, 1, "run.csv"},
        {{2026, 12, 7, 0, 0, 30}, 2, "run-20261207-000031.csv"}};
    const LoggingPreferences daily{.split = LogSplit::Daily, .resume = true};
    for (const auto& [restart, fileCount, inUse] : cases) {
        fs::remove_all(folder.path());
        fs::create_directories(folder.file("logs"));
        {
            RunRig rig(&folder);
            rig.clock.current = {2026, 12, 6, 23, 59, 49};
            StartLogging(rig, daily);
            Tick(rig, 5);  // killed at 23:59:54
        }
        RunRig rig(&folder);
        rig.clock.current = restart;
        EXPECT_EQ(Resume(rig, daily), "logging resumed after a restart, into " + logFile +
                                          "; serial numbers go on from 6");
        Tick(rig, 3);
        std::vector<std::string> names;
        EXPECT_EQ(SerialNumbers(&names), OneTo(8));
        EXPECT_EQ(names.size(), fileCount);
        EXPECT_EQ(fs::path(rig.state.LogFileInUse).filename(), inUse);
    }
}

}  // namespace
}  // namespace vantrel::testing
