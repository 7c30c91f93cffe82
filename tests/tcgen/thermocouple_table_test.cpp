// Guards the committed j.tc and k.tc: published ITS-90 values across both ranges
// (a copied coefficient's slip shows at one end or the other), one entry a degree
// with three decimals and CR LF, values rising strictly, no "-0.000", and files
// identical to a fresh run of the generator, so a stale or hand-edited table shows.
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
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(ThermocoupleTables, MatchPublishedValuesAndTheGenerator) {
    const std::vector<std::string> j = Lines(DataFile("j.tc"));
    const std::vector<std::string> k = Lines(DataFile("k.tc"));
    ASSERT_EQ(j.size(), 1101u);
    ASSERT_EQ(k.size(), 1571u);
    const std::pair<int, const char*> typeJ[] = {{0, "0.000"},    {10, "0.507"},   {100, "5.269"},
                                                 {500, "27.393"}, {760, "42.919"}, {800, "45.494"},
                                                 {900, "51.877"}, {1100, "63.792"}};
    for (const auto& [celsius, millivolts] : typeJ) {
        EXPECT_EQ(j[celsius], millivolts) << "J at " << celsius;
    }
    const std::pair<int, const char*> typeK[] = {
        {-200, "-5.891"}, {-100, "-3.554"}, {-1, "-0.039"},   {0, "0.000"},
        {25, "1.000"},    {500, "20.644"},  {1000, "41.276"}, {1370, "54.819"}};
    for (const auto& [celsius, millivolts] : typeK) {
        EXPECT_EQ(k[celsius + 200], millivolts) << "K at " << celsius;
    }
    EXPECT_EQ(DataFile("j.tc"), TableText(TypeJMillivolts, 0, 1100));
    EXPECT_EQ(DataFile("k.tc"), TableText(TypeKMillivolts, -200, 1370));
}

TEST(ThermocoupleTables, RiseStrictlyAndNeverShowNegativeZero) {
    for (const char* name : {"j.tc", "k.tc"}) {
        const std::vector<std::string> table = Lines(DataFile(name));
        for (std::size_t i = 1; i < table.size(); ++i) {
            EXPECT_NE(table[i], "-0.000") << name;
            EXPECT_LT(std::stod(table[i - 1]), std::stod(table[i])) << name << " entry " << i;
        }
    }
}

}  // namespace
}  // namespace vantrel::tcgen
