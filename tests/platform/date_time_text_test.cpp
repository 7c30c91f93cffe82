#include <gtest/gtest.h>

#include <ostream>

#include "platform/DateTimeText.h"

namespace vantrel::platform {
namespace {

struct Moment {
    DateTime local;
    std::int64_t utcMs;
    const char* isoLocal;
    const char* isoUtc;
};

void PrintTo(const Moment& m, std::ostream* out) {
    *out << m.isoLocal;
}

class DateTimeTextTest : public ::testing::TestWithParam<Moment> {};

TEST_P(DateTimeTextTest, NumberAndTextsAgreeBothWays) {
    const Moment& m = GetParam();
    EXPECT_EQ(UtcMilliseconds(m.local), m.utcMs);
    EXPECT_EQ(IsoLocalText(m.local), m.isoLocal);
    EXPECT_EQ(IsoUtcText(m.local), m.isoUtc);
    EXPECT_EQ(IsoLocalText(LocalDateTime(m.utcMs, m.local.utcOffsetMinutes)), m.isoLocal);
    for (const std::string_view iso : {m.isoLocal, m.isoUtc}) {
        DateTime read;
        EXPECT_EQ(ReadIsoText(iso, read), iso.size());
        EXPECT_EQ(UtcMilliseconds(read), m.utcMs) << iso;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moments, DateTimeTextTest,
    ::testing::Values(Moment{{2026, 12, 6, 14, 5, 9, 250, 60},
                             1796562309250,
                             "2026-12-06T14:05:09.250+01:00",
                             "2026-12-06T13:05:09.250Z"},
                      // The offset carries the local day back across midnight and the month end.
                      Moment{{2027, 3, 1, 0, 30, 0, 5, 330},
                             1803841200005,
                             "2027-03-01T00:30:00.005+05:30",
                             "2027-02-28T19:00:00.005Z"},
                      Moment{{2024, 2, 29, 21, 0, 0, 999, -210},
                             1709253000999,
                             "2024-02-29T21:00:00.999-03:30",
                             "2024-03-01T00:30:00.999Z"},
                      Moment{{1969, 12, 31, 23, 59, 59, 1, 0},
                             -999,
                             "1969-12-31T23:59:59.001+00:00",
                             "1969-12-31T23:59:59.001Z"}));

}  // namespace
}  // namespace vantrel::platform
