#include "platform/PortNaming.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace vantrel::testing {
namespace {

class PortNaming : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir = std::filesystem::temp_directory_path() /
              ("vantrel-ports-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::filesystem::path dir;
};

#ifndef _WIN32
TEST_F(PortNaming, WithoutLinkTheNthUsbAdapter) {
    EXPECT_EQ(platform::SerialDeviceName(1, dir.string()), "/dev/ttyUSB0");
    EXPECT_EQ(platform::SerialDeviceName(12, dir.string()), "/dev/ttyUSB11");
    EXPECT_EQ(platform::SerialDeviceName(3, ""), "/dev/ttyUSB2");
}

TEST_F(PortNaming, LinkInStartFolderWinsEvenWhenDangling) {
    std::filesystem::create_symlink("/nonexistent/pts/99", dir / "COM3");
    EXPECT_EQ(platform::SerialDeviceName(3, dir.string()), (dir / "COM3").string());
    // Only the matching number.
    EXPECT_EQ(platform::SerialDeviceName(4, dir.string()), "/dev/ttyUSB3");
    EXPECT_EQ(platform::SerialDeviceName(13, dir.string()), "/dev/ttyUSB12");
}
#endif

TEST_F(PortNaming, NoDeviceBelowPortOne) {
    EXPECT_EQ(platform::SerialDeviceName(0, dir.string()), "");
    EXPECT_EQ(platform::SerialDeviceName(-2, dir.string()), "");
}

}  // namespace
}  // namespace vantrel::testing
