// Guards the fast PT-100 and thermocouple searches against the step-by-step walks
// they replace, over every count a card can send and the targets beyond every
// entry: any difference fails, for the single and the batched search.
#include <gtest/gtest.h>

#include "engine/ThermocoupleTables.h"
#include "tests/engine/Tables.h"
#include "tests/support/LiteralConversion.h"

namespace vantrel {
namespace {

// The factory reference, one whose top counts run past the curve's end (8000), a
// negative one (every ratio below the curve) and zero (no ratio at all).
TEST(SearchIdentity, PtHundredMatchesTheWalkForEveryCount) {
    for (const std::int16_t reference : {13000, 8000, -13000, 0}) {
        for (int n = -32768; n <= 32767; ++n) {
            const auto count = static_cast<std::int16_t>(n);
            ASSERT_EQ(RtdTemperature(count, reference), literal::RtdTemperature(count, reference))
                << "count " << n << " reference " << reference;
        }
    }
}

// With the cold junction at 0 degrees: 200 mV over 32000 counts either way, a
// microvolt a count (landing on many entries exactly) and a coarse span running
// past both ends; batches of one to eight.
TEST(SearchIdentity, TableSearchesMatchTheWalkForEveryCount) {
    AcquisitionState state;
    testing::LoadShippedTables(state);
    const std::pair<int, double> cases[] = {{0, 200.0 / 32000}, {0, -200.0 / 32000}, {0, 0.001},
                                            {0, 0.2},           {1, 200.0 / 32000},  {1, 0.001},
                                            {1, -0.2}};
    for (const auto& [kind, perCount] : cases) {
        const thermocouple::TableView table = thermocouple::TableFor(state, kind);
        for (int n = -32768; n <= 32767; n += 8) {
            double targets[8], batch[8];
            for (int i = 0; i < 8; ++i) {
                targets[i] = (n + i) * perCount;
            }
            const int size = 1 + (n / 8 + 4096) % 8;
            thermocouple::SearchTableBatch(table, targets, batch, size);
            for (int i = 0; i < 8; ++i) {
                const double walked = thermocouple::WalkTable(table, targets[i]);
                ASSERT_TRUE(thermocouple::SearchTable(table, targets[i]) == walked &&
                            (i >= size || batch[i] == walked))
                    << "kind " << kind << " per count " << perCount << " count " << n + i;
            }
        }
    }
}

}  // namespace
}  // namespace vantrel
