// The fast PT-100 and thermocouple searches against the step-by-step walks they
// replace, over every count a card can send. Any difference in any bit fails.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

#include "engine/LiteralConversion.h"
#include "engine/ModMain.h"
#include "tests/engine/Tables.h"

namespace vantrel {
namespace {

constexpr int kMinCount = std::numeric_limits<std::int16_t>::min();
constexpr int kMaxCount = std::numeric_limits<std::int16_t>::max();

class RtdIdentity : public ::testing::TestWithParam<int> {};

TEST_P(RtdIdentity, EveryCountMatchesTheWalkBitForBit) {
    const auto reference = static_cast<std::int16_t>(GetParam());
    int mismatches = 0;
    for (int n = kMinCount; n <= kMaxCount; ++n) {
        const auto count = static_cast<std::int16_t>(n);
        const double fast = modMain::RtdTemperature(count, reference);
        const double walked = literal::RtdTemperature(count, reference);
        if (std::bit_cast<std::uint64_t>(fast) != std::bit_cast<std::uint64_t>(walked) &&
            ++mismatches <= 5) {
            ADD_FAILURE() << "count " << n << ": fast " << fast << ", walk " << walked;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The factory reference, references either side of it, one whose top counts run
// past the end of the curve (8000), the largest, and a negative one (every ratio
// below the curve for positive counts).
INSTANTIATE_TEST_SUITE_P(References, RtdIdentity,
                         ::testing::Values(13000, 11000, 15500, 32767, 8000, -13000));

struct ThermocoupleCase {
    int kind;
    float ambient;
    double millivoltsPerCount;
    bool landsOnEntries = false;
};

class ThermocoupleIdentity : public ::testing::TestWithParam<ThermocoupleCase> {};

TEST_P(ThermocoupleIdentity, EveryCountMatchesTheWalkBitForBit) {
    const ThermocoupleCase& c = GetParam();
    AcquisitionState state;
    testing::LoadShippedTables(state);
    state.AmbientTemp1 = c.ambient;
    int mismatches = 0;
    int exactHits = 0;
    for (int n = kMinCount; n <= kMaxCount; ++n) {
        const auto count = static_cast<std::int16_t>(n);
        const auto fast =
            modMain::ThermocoupleTemperature(state, count, c.kind, c.millivoltsPerCount);
        const auto walked =
            literal::ThermocoupleTemperature(state, count, c.kind, c.millivoltsPerCount);
        ASSERT_TRUE(fast.has_value() && walked.has_value());
        const double top = c.kind == 0 ? 1099.0 : 1369.0;
        if (*walked != top && *walked == static_cast<double>(static_cast<long>(*walked))) {
            ++exactHits;
        }
        if (std::bit_cast<std::uint64_t>(*fast) != std::bit_cast<std::uint64_t>(*walked) &&
            ++mismatches <= 5) {
            ADD_FAILURE() << "count " << n << ": fast " << *fast << ", walk " << *walked;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Whole degrees below the top come only from exact table hits.
    if (c.landsOnEntries) {
        EXPECT_GT(exactHits, 100);
    }
}

// 200 mV over 32000 counts as calibrated; a negative span; a microvolt a count,
// which lands exactly on many table entries; a coarse span that runs far past the
// table's ends. Ambients around the rounding halves and across the tables.
INSTANTIATE_TEST_SUITE_P(TablesAndAmbients, ThermocoupleIdentity,
                         ::testing::Values(ThermocoupleCase{0, 0.0f, 200.0 / 32000},
                                           ThermocoupleCase{0, 24.5f, 200.0 / 32000},
                                           ThermocoupleCase{0, 25.5f, -200.0 / 32000},
                                           ThermocoupleCase{0, 0.0f, 0.001, true},
                                           ThermocoupleCase{0, 300.0f, 200.0 / 1000},
                                           ThermocoupleCase{0, 1500.0f, 0.001},
                                           ThermocoupleCase{1, 0.0f, 200.0 / 32000},
                                           ThermocoupleCase{1, 24.5f, 0.001},
                                           ThermocoupleCase{1, -120.0f, -200.0 / 32000},
                                           ThermocoupleCase{1, 800.0f, 200.0 / 1000},
                                           ThermocoupleCase{1, 0.0f, 0.001, true}));

}  // namespace
}  // namespace vantrel
