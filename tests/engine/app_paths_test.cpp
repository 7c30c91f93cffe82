#include <gtest/gtest.h>

#include "engine/AppPaths.h"

namespace vantrel {
namespace {

#ifdef _WIN32
constexpr const char* kSep = "\\";
#else
constexpr const char* kSep = "/";
#endif

TEST(AppFilePath, JoinsTheStartFolderWithTheNativeSeparator) {
    AcquisitionState state;
    state.AppDir = "run";
    EXPECT_EQ(AppFilePath(state, kPortsFile), std::string("run") + kSep + "vtrl.con");
}

TEST(AppFilePath, ARootFolderIsNotGivenASecondSeparator) {
    AcquisitionState state;
    state.AppDir = kSep;
    EXPECT_EQ(AppFilePath(state, "j.tc"), std::string(kSep) + "j.tc");
}

TEST(AppFilePath, NoFolderMeansTheCurrentOne) {
    AcquisitionState state;
    state.AppDir.clear();
    EXPECT_EQ(AppFilePath(state, "k.tc"), "k.tc");
}

}  // namespace
}  // namespace vantrel
