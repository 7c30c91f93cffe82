#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <string>

#include "engine/AcquisitionState.h"
#include "views/ui/ValueText.h"
#include "views/ui/frmViewAnalogData.h"

namespace vantrel {
namespace {

const std::string kFrame62 = std::string(61, '0') + "\r";

class AnalogViewTest : public ::testing::Test {
  protected:
    // The expected texts below use a period; the machine's own locale may not.
    AnalogViewTest() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~AnalogViewTest() override { QLocale::setDefault(saved); }

    QString data(int slot) { return window.lblData[static_cast<std::size_t>(slot)]->text(); }
    QString ambient(int card) { return window.lblAmb[static_cast<std::size_t>(card)]->text(); }

    QLocale saved;
    AcquisitionState state;
    frmViewAnalogData window{state};
};

TEST_F(AnalogViewTest, OpensWithChannelSlotCaptionsAndInitialTexts) {
    EXPECT_EQ(window.windowTitle(), "Analog Data");
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        auto* caption = window.findChild<QLabel*>(QStringLiteral("lblCH_%1").arg(slot));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text(), QStringLiteral("CH%1:").arg(slot));
        EXPECT_EQ(data(slot), "0.00");
    }
    EXPECT_EQ(ambient(0), "Ambient Temperature: ");
    EXPECT_EQ(window.tmrUpdate->interval(), 1000);
    EXPECT_TRUE(window.tmrUpdate->isActive());
}

// Card 1's default frame is already 62 characters, card 2 has none until it
// sends one: only card 1 fills at the first tick.
TEST_F(AnalogViewTest, FillsOnlyCardsWhoseLatestFrameIsSixtyTwoCharacters) {
    state.ChannelValue[1] = 3.5f;
    state.ChannelValue[9] = 4.5f;
    state.AmbientTemp2 = 21.0f;
    window.tmrUpdate_Timer();
    EXPECT_EQ(data(1), "3.50");
    EXPECT_EQ(ambient(0), "Ambient Temperature: 0 deg.C");
    EXPECT_EQ(data(9), "0.00");
    EXPECT_EQ(ambient(1), "Ambient Temperature: ");

    state.AnalogFrame2 = kFrame62;
    window.tmrUpdate_Timer();
    EXPECT_EQ(data(9), "4.50");
    EXPECT_EQ(ambient(1), "Ambient Temperature: 21 deg.C");

    for (const std::string& frame : {kFrame62.substr(1), kFrame62 + "0", std::string()}) {
        state.AnalogFrame1 = frame;
        state.ChannelValue[1] = 7.0f;
        window.tmrUpdate_Timer();
        EXPECT_EQ(data(1), "3.50") << frame.size() << " characters";
    }
}

struct FormatCase {
    int type;
    float value;
    const char* text;
};

class AnalogFormatTest : public AnalogViewTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(AnalogFormatTest, DecimalsFollowTheInputType) {
    state.InputType[5] = static_cast<std::int16_t>(GetParam().type);
    state.ChannelValue[5] = GetParam().value;
    window.tmrUpdate_Timer();
    EXPECT_EQ(data(5), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Types, AnalogFormatTest,
    ::testing::Values(FormatCase{0, 12.345f, "12.35"}, FormatCase{1, 12.345f, "12.35"},
                      FormatCase{2, 4.0f, "4.00"}, FormatCase{3, -0.5f, "-0.50"},
                      FormatCase{4, 12.345f, "12.3"}, FormatCase{4, 23.456f, "23.5"},
                      FormatCase{5, 12.345f, "12"}, FormatCase{6, -7.6f, "-8"},
                      FormatCase{7, 12.345f, "12"}, FormatCase{-1, 31999.0f, "31999"},
                      FormatCase{0, 12345.678f, "12345.68"}));

struct AmbientCase {
    float value;
    const char* text;
};

class AmbientTextTest : public AnalogViewTest, public ::testing::WithParamInterface<AmbientCase> {};

TEST_P(AmbientTextTest, IsTheShortestForm) {
    state.AmbientTemp1 = GetParam().value;
    window.tmrUpdate_Timer();
    EXPECT_EQ(ambient(0), QStringLiteral("Ambient Temperature: %1 deg.C").arg(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, AmbientTextTest,
                         ::testing::Values(AmbientCase{25.0f, "25"}, AmbientCase{25.5f, "25.5"},
                                           AmbientCase{24.87f, "24.87"},
                                           AmbientCase{-3.25f, "-3.25"}));

TEST_F(AnalogViewTest, UsesTheUsersDecimalSeparatorAndNoGrouping) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    state.ChannelValue[0] = 12345.678f;
    state.InputType[2] = 4;
    state.ChannelValue[2] = 23.456f;
    state.AmbientTemp1 = 24.87f;
    window.tmrUpdate_Timer();
    EXPECT_EQ(data(0), "12345,68");
    EXPECT_EQ(data(2), "23,5");
    EXPECT_EQ(ambient(0), "Ambient Temperature: 24,87 deg.C");
}

TEST_F(AnalogViewTest, TypeChangeTakesEffectAtTheNextTick) {
    state.ChannelValue[3] = 100.25f;
    window.tmrUpdate_Timer();
    EXPECT_EQ(data(3), "100.25");
    state.InputType[3] = 5;
    window.tmrUpdate_Timer();
    EXPECT_EQ(data(3), "100");
}

}  // namespace
}  // namespace vantrel
