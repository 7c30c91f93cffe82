#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#ifdef __linux__
#include <sys/resource.h>
#endif

#include "engine/AtomicFile.h"
#include "tests/engine/TempFolder.h"

namespace vantrel {
namespace {

TEST(AtomicFile, CreatesTheFileWithExactlyTheBytesGiven) {
    testing::TempFolder folder;
    const std::string bytes("a\r\nb\0c\r\n", 8);
    EXPECT_FALSE(WriteFileAtomically(folder.file("x.con"), bytes).has_value());
    EXPECT_EQ(folder.read("x.con"), bytes);
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(AtomicFile, ReplacesAnExistingFileWhole) {
    testing::TempFolder folder;
    folder.write("x.con", "a much longer old content\r\n");
    EXPECT_FALSE(WriteFileAtomically(folder.file("x.con"), "new\r\n").has_value());
    EXPECT_EQ(folder.read("x.con"), "new\r\n");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(AtomicFile, WritesAnEmptyFile) {
    testing::TempFolder folder;
    folder.write("x.con", "old");
    EXPECT_FALSE(WriteFileAtomically(folder.file("x.con"), "").has_value());
    EXPECT_TRUE(folder.exists("x.con"));
    EXPECT_EQ(folder.read("x.con"), "");
}

TEST(AtomicFile, AMissingFolderFailsNamingTheFile) {
    testing::TempFolder folder;
    const auto error = WriteFileAtomically(folder.file("nowhere/x.con"), "data");
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("x.con"), std::string::npos);
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST(AtomicFile, AFailedReplaceLeavesTheOldContentsAndNoTemporary) {
    testing::TempFolder folder;
    // A non-empty folder in the way cannot be replaced by a file.
    std::filesystem::create_directories(folder.path() / "x.con" / "inside");
    const auto error = WriteFileAtomically(folder.file("x.con"), "data");
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "x.con" / "inside"));
    EXPECT_EQ(folder.entryCount(), 1u);
}

#ifdef __linux__
TEST(AtomicFile, AFullDiskLeavesTheOldFileAndNoTemporary) {
    testing::TempFolder folder;
    folder.write("x.con", "old\r\n");
    // A file-size limit makes writes fail as a full disk would; the signal it
    // raises is ignored so the write reports the error instead.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const auto error = WriteFileAtomically(folder.file("x.con"), std::string(100000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("x.con"), std::string::npos);
    EXPECT_EQ(folder.read("x.con"), "old\r\n");
    EXPECT_EQ(folder.entryCount(), 1u);
}
#endif

}  // namespace
}  // namespace vantrel
