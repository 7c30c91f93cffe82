// Derived channels compiled and evaluated: guards an operator of the wrong
// precedence or side, a function that computes something else, a channel name
// bound to the wrong slot or to two channels at once, an evaluation order that
// uses a value before it is computed, a cycle or unknown name let through or
// placed wrongly, and a made-up number where a result is not finite or a channel
// has no value.
#include <gtest/gtest.h>

#include <cmath>

#include "derived/DerivedProgram.h"

namespace vantrel::derived {
namespace {

// Slot 0 "Tin", 1 "Tout", 3 and 4 both "dup", 5 "sqrt", 6 "ch7"; the rest are
// not identifiers or empty.
std::array<std::string, kUsedChannels> ChannelNames() {
    std::array<std::string, kUsedChannels> names = {"Tin", "Tout", "Channel 2", "dup",
                                                    "dup", "sqrt", "ch7"};
    return names;
}

ChannelValues Values() {
    ChannelValues values = {2.0, 3.0};
    for (std::size_t slot = 2; slot < kUsedChannels; ++slot) {
        values[slot] = 100.0 + static_cast<double>(slot);
    }
    values[8] = -4.0;
    values[15] = 9.0;
    return values;
}

using Channels = std::vector<std::pair<const char*, const char*>>;

DerivedSettings Settings(const Channels& channels) {
    DerivedSettings settings;
    for (const auto& [name, expression] : channels) {
        settings.channels.push_back({name, "", 2, expression});
    }
    return settings;
}

DerivedProgram Compiled(const DerivedSettings& settings) {
    return DerivedProgram::Compile(settings, ChannelNames());
}

struct ValueCase {
    const char* expression;
    std::optional<double> value;
};

class DerivedValuesTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(DerivedValuesTest, GivesTheValueOrNothing) {
    const DerivedProgram program = Compiled(Settings({{"x", GetParam().expression}}));
    ASSERT_TRUE(program.errors().empty()) << program.errors()[0].why;
    const std::optional<double> value = program.evaluate(Values())[0];
    ASSERT_EQ(value.has_value(), GetParam().value.has_value()) << value.value_or(0);
    if (value) {
        EXPECT_DOUBLE_EQ(*value, *GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DerivedValuesTest,
    ::testing::Values(
        // precedence and the side each operator binds on
        ValueCase{"ch0 + ch1 * 2", 8.0}, ValueCase{"(ch0 + ch1) * 2", 10.0},
        ValueCase{"ch1 - ch0 - 1", 0.0}, ValueCase{"ch8 / ch0 / 2", -1.0},
        ValueCase{"2^3^2", 512.0}, ValueCase{"-ch0^2", -4.0},
        ValueCase{"ch0 < ch1 ? 10 : 20", 10.0}, ValueCase{"ch0 >= ch1 ? 10 : 20", 20.0},
        ValueCase{"ch0 == 2 && ch1 != 3", 0.0}, ValueCase{"ch0 < 1 || ch1 <= 3", 1.0},
        // functions
        ValueCase{"abs(ch8)", 4.0}, ValueCase{"sqrt(ch15)", 3.0},
        ValueCase{"exp(0) + log(exp(2))", 3.0}, ValueCase{"min(ch0, ch1, ch8)", -4.0},
        ValueCase{"max(ch0, ch8)", 2.0}, ValueCase{"mean(ch0, ch1, ch8, ch15)", 2.5},
        ValueCase{"mean(ch15)", 9.0},
        // names: by slot, by a channel's name, a name that looks like another slot
        ValueCase{"Tout - Tin", 1.0}, ValueCase{"ch7", 107.0}, ValueCase{"ch14", 114.0},
        // not finite
        ValueCase{"sqrt(ch8)", std::nullopt}, ValueCase{"1 / (ch0 - 2)", std::nullopt},
        ValueCase{"log(0)", std::nullopt}, ValueCase{"exp(1000)", std::nullopt}));

struct RefusalCase {
    Channels channels;
    std::vector<CompileError> errors;
};

class DerivedRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DerivedRefusalTest, NamesTheChannelWhyAndWhere) {
    EXPECT_EQ(Compiled(Settings(GetParam().channels)).errors(), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DerivedRefusalTest,
    ::testing::Values(
        RefusalCase{{{"x", "1 + ch16"}}, {{0, 4, "unknown name ch16"}}},
        RefusalCase{{{"x", "ch0 + Ch1"}}, {{0, 6, "unknown name Ch1"}}},
        // a name two channels have, or one that is not an identifier
        RefusalCase{{{"x", "2 * dup"}}, {{0, 4, "unknown name dup"}}},
        RefusalCase{{{"x", "ch0 + Channel"}}, {{0, 6, "unknown name Channel"}}},
        RefusalCase{{{"ch3", "1"}, {"Tin", "1"}, {"sqrt", "1"}, {"dup", "1"}},
                    {{0, std::nullopt, "name ch3 is channel 3's"},
                     {1, std::nullopt, "name Tin is channel 0's"},
                     {2, std::nullopt, "name sqrt is a function or constant"},
                     {3, std::nullopt, "name dup is the name of more than one channel"}}},
        // a cycle names itself round to itself, at the name that starts it
        RefusalCase{
            {{"a", "1 + b"}, {"b", "ch0 + c"}, {"c", "2*a"}, {"d", "ch1 + a"}, {"e", "ch0"}},
            {{0, 4, "a cycle a -> b -> c -> a"},
             {1, 6, "a cycle b -> c -> a -> b"},
             {2, 2, "a cycle c -> a -> b -> c"},
             {3, 6, "uses a, which is on a cycle"}}},
        RefusalCase{{{"x", "ch1 + x"}}, {{0, 6, "a cycle x -> x"}}},
        RefusalCase{{{"f", "ch0 + bad"}, {"bad", "ch99"}},
                    {{0, 6, "uses bad, which has an error"}, {1, 0, "unknown name ch99"}}}));

TEST(DerivedProgramTest, ASyntaxErrorIsPlacedInTheExpression) {
    const DerivedSettings settings = Settings({{"x", "ch0 + * 2"}, {"y", "min(ch0,"}});
    const DerivedProgram program = Compiled(settings);
    ASSERT_EQ(program.errors().size(), 2u);
    EXPECT_EQ(program.errors()[0].position, 6u);
    EXPECT_EQ(program.errors()[1].position, 8u);  // the end of the text
    EXPECT_EQ(CompileErrorText(settings, {0, 6, "unknown name q"}),
              "x: unknown name q at character 7 of the expression");
    EXPECT_EQ(CompileErrorText(settings, {1, std::nullopt, "why"}), "y: why");
}

TEST(DerivedProgramTest, EvaluatesEachAfterThoseItUsesKeepingTheGivenOrderOtherwise) {
    const DerivedProgram program =
        Compiled(Settings({{"a", "b + 1"}, {"b", "ch0 * 2"}, {"c", "a + b"}, {"d", "ch1"}}));
    ASSERT_TRUE(program.errors().empty());
    EXPECT_EQ(program.order(), (std::vector<std::size_t>{1, 0, 2, 3}));
    const DerivedValues expected = {5.0, 4.0, 9.0, 3.0};
    EXPECT_EQ(program.evaluate(Values()), expected);
}

TEST(DerivedProgramTest, IsEmptyWhereAChannelItUsesHasNoValueThisFrame) {
    const DerivedProgram program = Compiled(Settings({{"good", "ch0 + ch15"},
                                                      {"failed", "ch9 * 2"},
                                                      {"branch", "ch0 > 0 ? 1 : ch9"},
                                                      {"after", "failed + 1"},
                                                      {"unused", "sqrt(-1)"},
                                                      {"later", "unused + 1"}}));
    ASSERT_TRUE(program.errors().empty());
    ChannelValues values{};
    values[0] = 2.0;
    values[9] = 5.0;
    values[15] = 9.0;
    EXPECT_EQ(program.evaluate(values)[0], 11.0);
    EXPECT_EQ(program.evaluate(values)[1], 10.0);

    values[9].reset();  // channel 9 failed to convert this time
    const DerivedValues results = program.evaluate(values);
    EXPECT_EQ(results[0], 11.0);
    for (std::size_t index = 1; index < 6; ++index) {
        EXPECT_FALSE(results[index].has_value()) << index;
    }
}

}  // namespace
}  // namespace vantrel::derived
