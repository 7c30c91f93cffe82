// The committed j.tc and k.tc against published ITS-90 table values, and against a
// fresh run of the generator so a stale or hand-edited table is noticed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/tcgen/ReferenceFunctions.h"
#include "tools/tcgen/TableWriter.h"

namespace vantrel::tcgen {
namespace {

std::string DataFile(const char* name) {
    const char* source = std::getenv("VANTREL_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : ".") + "/data/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct Published {
    int celsius;
    const char* millivolts;
};

class TableFile : public ::testing::Test {
  protected:
    std::vector<std::string> j = Lines(DataFile("j.tc"));
    std::vector<std::string> k = Lines(DataFile("k.tc"));
};

TEST_F(TableFile, TypeJMatchesPublishedValues) {
    const Published values[] = {
        {0, "0.000"},     {10, "0.507"},   {20, "1.019"},   {25, "1.277"},   {50, "2.585"},
        {100, "5.269"},   {150, "8.010"},  {200, "10.779"}, {250, "13.555"}, {300, "16.327"},
        {350, "19.090"},  {400, "21.848"}, {450, "24.610"}, {500, "27.393"}, {550, "30.216"},
        {600, "33.102"},  {650, "36.071"}, {700, "39.132"}, {750, "42.281"}, {760, "42.919"},
        {800, "45.494"},  {850, "48.715"}, {900, "51.877"}, {950, "54.956"}, {1000, "57.953"},
        {1100, "63.792"},
    };
    ASSERT_EQ(j.size(), 1101u);
    for (const Published& p : values) {
        EXPECT_EQ(j[p.celsius], p.millivolts) << p.celsius << " degrees";
    }
}

TEST_F(TableFile, TypeKMatchesPublishedValues) {
    const Published values[] = {
        {-200, "-5.891"}, {-100, "-3.554"}, {-50, "-1.889"},  {-1, "-0.039"},   {0, "0.000"},
        {10, "0.397"},    {20, "0.798"},    {25, "1.000"},    {50, "2.023"},    {100, "4.096"},
        {150, "6.138"},   {200, "8.138"},   {250, "10.153"},  {300, "12.209"},  {400, "16.397"},
        {500, "20.644"},  {600, "24.905"},  {700, "29.129"},  {800, "33.275"},  {900, "37.326"},
        {1000, "41.276"}, {1100, "45.119"}, {1200, "48.838"}, {1300, "52.410"}, {1370, "54.819"},
    };
    ASSERT_EQ(k.size(), 1571u);
    for (const Published& p : values) {
        EXPECT_EQ(k[p.celsius + 200], p.millivolts) << p.celsius << " degrees";
    }
}

TEST_F(TableFile, BothTablesRiseStrictlyAndNeverShowNegativeZero) {
    for (const auto* table : {&j, &k}) {
        for (std::size_t i = 0; i < table->size(); ++i) {
            EXPECT_NE((*table)[i], "-0.000");
            if (i > 0) {
                EXPECT_LT(std::stod((*table)[i - 1]), std::stod((*table)[i])) << "entry " << i;
            }
        }
    }
}

TEST_F(TableFile, CommittedTablesAreWhatTheGeneratorWrites) {
    EXPECT_EQ(DataFile("j.tc"), TableText(TypeJMillivolts, 0, 1100));
    EXPECT_EQ(DataFile("k.tc"), TableText(TypeKMillivolts, -200, 1370));
}

TEST(ReferenceFunctions, RangesMeetAtTheirBoundaries) {
    // Both pieces of each function must agree closely where they meet, or a
    // coefficient was copied wrong.
    EXPECT_NEAR(TypeJMillivolts(760.0), 42.919, 0.0005);
    EXPECT_NEAR(TypeJMillivolts(760.0001), 42.919, 0.001);
    EXPECT_NEAR(TypeKMillivolts(-1e-9), TypeKMillivolts(0.0), 0.001);
}

}  // namespace
}  // namespace vantrel::tcgen
