#include <gtest/gtest.h>

#include "publish/ClientId.h"

namespace vantrel::publish {
namespace {

struct Case {
    const char* station;
    const char* folder;
    const char* id;
};

// The hash values are FNV-1a's published test vectors: a hash that changed between
// runs or builds (std::hash) would make the broker see a new client after each
// restart, and one station in two folders must give two ids.
TEST(ClientIdTest, StationAndAStableHashOfTheStartFolder) {
    for (const Case& c :
         {Case{"rig", "a", "vantrel-rig-e40c292c"}, Case{"rig", "foobar", "vantrel-rig-bf9cf968"},
          Case{"rig_2", "", "vantrel-rig_2-811c9dc5"}}) {
        EXPECT_EQ(ClientId(c.station, c.folder), c.id) << c.folder;
    }
}

}  // namespace
}  // namespace vantrel::publish
