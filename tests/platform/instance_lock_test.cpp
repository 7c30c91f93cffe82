#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/InstanceLock.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::platform {
namespace {

// The same rule in both modes: the window shows this through its message box, a
// run without windows through a line on standard error. The process id named is
// the one the holder wrote into the lock file.
TEST(InstanceLockTest, ASecondClaimIsRefusedNamingFolderAndHolderUntilTheFirstLetsGo) {
    testing::TempFolder folder;
    const std::string path = folder.path().string();
    testing::FakeDialogs dialogs;
    std::optional<InstanceLock> first = ClaimStartFolder(path, dialogs);
    ASSERT_TRUE(first);

    EXPECT_FALSE(ClaimStartFolder(path, dialogs));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Another Vantrel (process " + std::to_string(::getpid()) +
                                            ") is running in the folder '" + path +
                                            "'. Only one may run in a start folder at a time.");

    first.reset();
    EXPECT_TRUE(ClaimStartFolder(path, dialogs));
    // Where no lock can be had the program starts all the same.
    EXPECT_EQ(ClaimStartFolder(folder.file("missing"), dialogs).value().state(),
              InstanceLock::State::Unavailable);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace vantrel::platform
