// Guards how the program writes its files: whole-file writes (exactly the bytes
// given, through a symbolic link to the file it names; on a missing folder or a
// full disk an error naming the file, the old contents kept and no temporary left
// behind), and doubles in write style (the shortest text that reads back exactly,
// with a period under a decimal-comma locale).
#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <limits>

#ifdef __linux__
#include <sys/resource.h>
#endif

#include "settings/AtomicFile.h"
#include "settings/FieldReader.h"
#include "settings/TextStyles.h"
#include "tests/engine/TempFolder.h"

namespace vantrel {
namespace {

TEST(AtomicFile, ReplacesTheFileWithExactlyTheBytesGiven) {
    testing::TempFolder folder;
    folder.write("x.con", "a much longer old content\r\n");
    const std::string bytes("a\r\nb\0c\r\n", 8);
    EXPECT_FALSE(WriteFileAtomically(folder.file("x.con"), bytes).has_value());
    EXPECT_EQ(folder.read("x.con"), bytes);
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(AtomicFile, ALinkIsWrittenThroughToTheFileItNamesInAnotherFolder) {
    testing::TempFolder start;
    testing::TempFolder shared;
    shared.write("vtrls.con", "old\r\n");
    std::filesystem::create_symlink(shared.file("vtrls.con"), start.file("vtrls.con"));
    EXPECT_FALSE(WriteFileAtomically(start.file("vtrls.con"), "new\r\n").has_value());
    EXPECT_TRUE(std::filesystem::is_symlink(start.file("vtrls.con")));
    EXPECT_EQ(shared.read("vtrls.con"), "new\r\n");
    EXPECT_EQ(shared.entryCount(), 1u);
}

TEST(AtomicFile, AFailureNamesTheFileAndKeepsTheOldContents) {
    testing::TempFolder folder;
    EXPECT_NE(WriteFileAtomically(folder.file("nowhere/x.con"), "data").value_or("").find("x.con"),
              std::string::npos);
#ifdef __linux__
    // A file-size limit makes writes fail as a full disk would; the signal it
    // raises is ignored so the write reports the error instead.
    folder.write("x.con", "old\r\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const auto error = WriteFileAtomically(folder.file("x.con"), std::string(100000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_NE(error.value_or("").find("x.con"), std::string::npos);
    EXPECT_EQ(folder.read("x.con"), "old\r\n");
    EXPECT_EQ(folder.entryCount(), 1u);
#endif
}

TEST(WriteStyle, DoublesAreTheShortestTextThatReadsBackWithAPeriod) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no decimal-comma locale is installed (scripts/install-deps adds one)";
    }
    EXPECT_EQ(WriteStyleDouble(-2.75), "-2.75");
    for (const double value : {0.1 + 0.2, 1.0 / 3.0, std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::max()}) {
        EXPECT_EQ(FieldReader(WriteStyleDouble(value) + "\r\n").readDouble(), value) << value;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace vantrel
