// Which device a port number opens. Guards against the USB adapter numbered from
// one instead of zero, a COMn link of another number taken, and a device for a
// port below one.
#include "platform/PortNaming.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantrel::testing {

TEST(PortNaming, LinkInStartFolderElseTheNthUsbAdapter) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "vantrel-port-naming";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    EXPECT_EQ(platform::SerialDeviceName(0, dir.string()), "");
#ifndef _WIN32
    EXPECT_EQ(platform::SerialDeviceName(1, dir.string()), "/dev/ttyUSB0");
    // The link wins even when it dangles, and only for its own number.
    std::filesystem::create_symlink("/nonexistent/pts/99", dir / "COM3");
    EXPECT_EQ(platform::SerialDeviceName(3, dir.string()), (dir / "COM3").string());
    EXPECT_EQ(platform::SerialDeviceName(13, dir.string()), "/dev/ttyUSB12");
#endif
    std::filesystem::remove_all(dir);
}

}  // namespace vantrel::testing
