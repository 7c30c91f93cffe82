// Guards how the program writes its files: whole-file writes (exactly the bytes
// given, through a symbolic link to the file it names; on a missing folder or a
// full disk an error naming the file, the old contents kept and no temporary left
// behind), and doubles in write style (the shortest text that reads back exactly,
// with a period under a decimal-comma locale).
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <limits>

#include "settings/AtomicFile.h"
#include "settings/FieldReader.h"
#include "settings/TextStyles.h"
#include "tests/engine/FileSizeLimit.h"
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
    folder.write("x.con", "old\r\n");
    const auto error = testing::UnderFileSizeLimit(
        16, [&] { return WriteFileAtomically(folder.file("x.con"), std::string(100000, 'n')); });
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
