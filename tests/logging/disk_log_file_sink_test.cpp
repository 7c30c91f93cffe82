// Real files: exact bytes, failures that are reported instead of swallowed, and new
// files that never replace existing ones.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "logging/LogFileSink.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

class DiskLogFileSinkTest : public ::testing::Test {
  protected:
    DiskLogFileSinkTest() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() /
                 ("vantrel_log_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~DiskLogFileSinkTest() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }

    fs::path folder;
    DiskLogFileSink sink;
};

TEST_F(DiskLogFileSinkTest, AppendCreatesThenAddsExactBytes) {
    const std::string path = (folder / "log.csv").string();
    EXPECT_FALSE(sink.append(path, "a,1\r\n"));
    EXPECT_FALSE(sink.append(path, "b,2\r\n"));
    EXPECT_EQ(ReadAll(path), "a,1\r\nb,2\r\n");
}

TEST_F(DiskLogFileSinkTest, ReplaceEmptiesAnExistingFile) {
    const std::string path = (folder / "log.csv").string();
    ASSERT_FALSE(sink.append(path, "old\r\nold\r\n"));
    EXPECT_FALSE(sink.replace(path, "TIME,Fan\r\n"));
    EXPECT_EQ(ReadAll(path), "TIME,Fan\r\n");
}

// Kept copies and recovery files must never replace a file that is already there.
TEST_F(DiskLogFileSinkTest, NewFilesNeverReplaceExistingOnes) {
    const std::string log = (folder / "log.csv").string();
    const std::string kept = (folder / "kept.csv").string();
    ASSERT_FALSE(sink.append(log, "a\r\n"));
    EXPECT_FALSE(sink.copyToNew(log, kept));
    EXPECT_TRUE(sink.copyToNew(log, kept));
    EXPECT_TRUE(sink.createNew(kept, "b\r\n"));
    EXPECT_EQ(ReadAll(kept), "a\r\n");
    EXPECT_TRUE(sink.createNew(log, "b\r\n"));
    EXPECT_EQ(ReadAll(log), "a\r\n");

    const std::string fresh = (folder / "fresh.csv").string();
    EXPECT_FALSE(sink.createNew(fresh, "c\r\n"));
    EXPECT_EQ(ReadAll(fresh), "c\r\n");
    EXPECT_TRUE(sink.holdsData(fresh));
    ASSERT_FALSE(sink.replace(fresh, ""));
    EXPECT_FALSE(sink.holdsData(fresh));
    EXPECT_FALSE(sink.holdsData((folder / "missing.csv").string()));
}

TEST_F(DiskLogFileSinkTest, MissingFolderIsReportedWithThePath) {
    const std::string path = (folder / "missing" / "log.csv").string();
    const auto appendError = sink.append(path, "x\r\n");
    ASSERT_TRUE(appendError);
    EXPECT_NE(appendError->find(path), std::string::npos);
    EXPECT_TRUE(sink.replace(path, "x\r\n"));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(DiskLogFileSinkTest, FolderThatIsAFileFailsEvenForTheAdministrator) {
    const fs::path notAFolder = folder / "plain";
    std::ofstream(notAFolder) << "x";
    EXPECT_TRUE(sink.append((notAFolder / "log.csv").string(), "x\r\n"));
}

TEST_F(DiskLogFileSinkTest, ReadOnlyFolderFails) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the administrator writes into read-only folders";
    }
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(sink.append((folder / "log.csv").string(), "x\r\n"));
    EXPECT_TRUE(sink.replace((folder / "log.csv").string(), "x\r\n"));
}

// /proc takes no new files from anyone, the administrator included.
TEST_F(DiskLogFileSinkTest, FolderNobodyMayWriteFails) {
    if (!fs::is_directory("/proc/self")) {
        GTEST_SKIP() << "no /proc on this system";
    }
    const auto error = sink.append("/proc/vantrel_log.csv", "x\r\n");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("/proc/vantrel_log.csv"), std::string::npos);
    EXPECT_TRUE(sink.replace("/proc/vantrel_log.csv", "x\r\n"));
}

// A full disk shows up only when the buffered bytes are flushed.
TEST_F(DiskLogFileSinkTest, FullDiskIsReported) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    EXPECT_TRUE(sink.append("/dev/full", "x\r\n"));
}

}  // namespace
}  // namespace vantrel
