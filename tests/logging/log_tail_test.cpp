// The last whole record of a log file, from which a resumed run's serial numbers
// go on: guards against a torn line, a header or a time stamp taken for one.
#include <gtest/gtest.h>

#include "logging/LogTail.h"

namespace vantrel {
namespace {

TEST(LogTail, TheLastWholeRecordsSerialNumberPassingOverTornLinesHeadersAndOtherStamps) {
    const std::tuple<const char*, bool, std::optional<std::int32_t>> cases[] = {
        {"SN,Fan\r\n1,0.5\r\n2,0.25\r\n", true, 2},
        {"SN,Fan\r\n1,0.5\r\n2,0.25\r\n3,0.1", true, 2},  // torn by a power cut
        {"SN,Fan\r\n41,0.5\r\n42,0.", true, 41},          // torn inside its values
        {"SN,Fan\r\n", true, std::nullopt},               // only the header
        {"23,0.5\r\n124,1\r\n", false, 124},              // the tail of a longer file
        {"23,0.5\r\n", false, std::nullopt},              // only a cut line
        {"14:05:09,1\r\n-3,1\r\n", true, std::nullopt},   // time stamps, a sign
        {"7,1\n8,1\n", true, 8},                          // line feeds alone
        {"2147483648,1\r\n2147483647,1\r\n", true, 2147483647},
        {"5,1\r\n2147483648,1\r\n", true, 5}};  // too large for a number
    for (const auto& [tail, whole, number] : cases) {
        EXPECT_EQ(LastSerialNumber(tail, whole), number) << tail;
    }
}

}  // namespace
}  // namespace vantrel
