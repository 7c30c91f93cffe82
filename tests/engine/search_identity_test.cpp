// The fast PT-100 and thermocouple searches against the step-by-step walks they
// replace, over every count a card can send. Any difference in any bit fails.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "tests/support/LiteralConversion.h"
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

// Whole frames through both conversions: every count appears once in every slot
// position, in a card of mixed types, so the side-by-side table searches and the
// failure handling are compared too.
class FrameIdentity : public ::testing::TestWithParam<int> {};

TEST_P(FrameIdentity, EveryFrameConvertsBitForBit) {
    AcquisitionState fast;
    testing::LoadShippedTables(fast);
    const int card = GetParam();
    const int base = card == 0 ? 0 : kChannelsPerCard;
    const std::array<int, kChannelsPerCard> types = {5, 6, 4, 6, 5, 2, 5, 7};
    for (int k = 0; k < kChannelsPerCard; ++k) {
        fast.InputType[base + k] = static_cast<std::int16_t>(types[k]);
        fast.CalZero200mV[base + k] = static_cast<std::int16_t>(-50 * k);
    }
    fast.CalSpan200mV[base + 3] = 1000;
    fast.AmbientTemp1 = 23.5f;
    AcquisitionState walked = fast;
    int failures = 0;
    for (int first = kMinCount; first <= kMaxCount; first += kChannelsPerCard) {
        for (int k = 0; k < kChannelsPerCard; ++k) {
            // Each slot takes the counts in a different order.
            const int offset = (k * 7919) % 65536;
            const auto count =
                static_cast<std::int16_t>(kMinCount + (first - kMinCount + offset + k) % 65536);
            fast.RawCounts[base + k] = walked.RawCounts[base + k] = count;
        }
        const auto fastFailure = modMain::ConvertFrame(fast, card);
        const auto walkedFailure = literal::ConvertFrame(walked, card);
        ASSERT_EQ(fastFailure.has_value(), walkedFailure.has_value()) << first;
        if (fastFailure) {
            ++failures;
            ASSERT_EQ(fastFailure->slot, walkedFailure->slot);
            ASSERT_EQ(fastFailure->kind, walkedFailure->kind);
        }
        for (int k = 0; k < kChannelsPerCard; ++k) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(fast.ChannelValue[base + k]),
                      std::bit_cast<std::uint32_t>(walked.ChannelValue[base + k]))
                << "frame " << first << " slot " << base + k;
        }
    }
    // Counts far below the zero overflow their 16-bit difference in some frames.
    EXPECT_GT(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Cards, FrameIdentity, ::testing::Values(0, 1));

TEST(ThermocoupleIdentityEdges, TargetsBeyondEveryEntryMatchTheWalk) {
    AcquisitionState state;
    testing::LoadShippedTables(state);
    for (const int kind : {0, 1}) {
        for (const double perCount :
             {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
              std::numeric_limits<double>::quiet_NaN(), 0.0, 1e300}) {
            for (const std::int16_t count : {std::int16_t{-5}, std::int16_t{0}, std::int16_t{5}}) {
                const auto fast = modMain::ThermocoupleTemperature(state, count, kind, perCount);
                const auto walked = literal::ThermocoupleTemperature(state, count, kind, perCount);
                EXPECT_EQ(fast, walked) << kind << " " << perCount << " " << count;
            }
        }
    }
}

TEST(RtdIdentityEdges, AZeroReferenceMatchesTheWalk) {
    for (const std::int16_t count : {std::int16_t{-1}, std::int16_t{0}, std::int16_t{1}}) {
        EXPECT_EQ(modMain::RtdTemperature(count, 0), literal::RtdTemperature(count, 0)) << count;
    }
}

}  // namespace
}  // namespace vantrel
