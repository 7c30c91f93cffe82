#include "setup/ui/frmCalib.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <functional>

#include "engine/ModMain.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel {
namespace {

using platform::MessageIcon;
using testing::FakeDialogs;
using testing::TempFolder;

// Lets a test act while a message box is "open", as receive events do.
class ReactingDialogs : public FakeDialogs {
  public:
    std::function<void()> whileShowing;
    void showMessage(const platform::Message& message) override {
        FakeDialogs::showMessage(message);
        if (whileShowing) {
            whileShowing();
        }
    }
};

class FrmCalibTest : public ::testing::Test {
  protected:
    std::unique_ptr<frmCalib> open(int card) {
        state.SelectedCard = static_cast<std::int16_t>(card);
        return std::make_unique<frmCalib>(state, dialogs, nullptr);
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
    void tickOnly(frmCalib& window, std::initializer_list<int> channels) {
        for (int c = 0; c < kChannelsPerCard; ++c) {
            window.chkSel[c]->setChecked(false);
        }
        for (int c : channels) {
            window.chkSel[c]->setChecked(true);
        }
    }

    AcquisitionState state;
    ReactingDialogs dialogs;
    TempFolder folder;
};

TEST_F(FrmCalibTest, OpensFreshForTheSelectedCard) {
    for (int card : {0, 1}) {
        auto window = open(card);
        EXPECT_EQ(window->windowTitle(),
                  card == 0 ? "Calibration - Card 1" : "Calibration - Card 2");
        for (int c = 0; c < kChannelsPerCard; ++c) {
            EXPECT_EQ(window->lblCH[c]->text(), QStringLiteral("CH%1:").arg(c));
            EXPECT_EQ(window->lblData[c]->text(), "0.00");
            EXPECT_TRUE(window->chkSel[c]->isChecked());
            EXPECT_EQ(window->shpZero[c]->accessibleDescription(), "black");
            EXPECT_EQ(window->shpSpan[c]->accessibleDescription(), "black");
        }
        EXPECT_EQ(window->lblAmb->text(), "Ambient Temperature: ");
        EXPECT_EQ(window->tmrUpdate->interval(), 1000);
        EXPECT_TRUE(window->tmrUpdate->isActive());
    }
}

TEST_F(FrmCalibTest, DoubledAmpersandOfTheRtdInstructionShowsAsOne) {
    auto window = open(0);
    EXPECT_TRUE(window->Label1->text().contains("short B & B,"));
    EXPECT_EQ(window->Label1->textFormat(), Qt::PlainText);
}

enum class Button { Zero10V, Span10V, Zero200mV, Span200mV, Rtd };

struct Threshold {
    Button button;
    std::int16_t count;
    bool accepted;
};

void Press(frmCalib& window, Button button) {
    switch (button) {
        case Button::Zero10V:
            return window.cmdCalibrate10V_Click(1);
        case Button::Span10V:
            return window.cmdCalibrate10V_Click(0);
        case Button::Zero200mV:
            return window.cmdCalibrate200mV_Click(1);
        case Button::Span200mV:
            return window.cmdCalibrate200mV_Click(0);
        case Button::Rtd:
            return window.cmdCalibrateRTD_Click();
    }
}

struct Expected {
    Slots<std::int16_t, kChannelArraySize> AcquisitionState::*table;
    bool zeroLamp;
    const char* colour;
    const char* failure;
};

Expected ExpectedFor(Button button) {
    switch (button) {
        case Button::Zero10V:
            return {&AcquisitionState::CalZero10V, true, "blue", "Analog Value too high"};
        case Button::Span10V:
            return {&AcquisitionState::CalSpan10V, false, "blue", "Analog Value too low"};
        case Button::Zero200mV:
            return {&AcquisitionState::CalZero200mV, true, "green", "Analog Value too high"};
        case Button::Span200mV:
            return {&AcquisitionState::CalSpan200mV, false, "green", "Analog Value too low"};
        case Button::Rtd:
            break;
    }
    return {&AcquisitionState::CalRTD, false, "red", ""};
}

class CalibrationThreshold : public FrmCalibTest,
                             public ::testing::WithParamInterface<Threshold> {};

TEST_P(CalibrationThreshold, StoresOrComplainsPerChannel) {
    const Threshold& t = GetParam();
    const Expected expected = ExpectedFor(t.button);
    auto window = open(0);
    tickOnly(*window, {2});
    state.RawCounts[2] = t.count;
    const std::int16_t old = (state.*expected.table)[2];
    Press(*window, t.button);

    auto* lamp = expected.zeroLamp ? window->shpZero[2] : window->shpSpan[2];
    auto* other = expected.zeroLamp ? window->shpSpan[2] : window->shpZero[2];
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Calibration");
    EXPECT_EQ(other->accessibleDescription(), "black");
    if (t.accepted) {
        EXPECT_EQ((state.*expected.table)[2], t.count);
        EXPECT_EQ(lamp->accessibleDescription(), expected.colour);
        EXPECT_EQ(dialogs.messages[0].text, "Calibration value stored");
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    } else {
        EXPECT_EQ((state.*expected.table)[2], old);
        EXPECT_EQ(lamp->accessibleDescription(), "black");
        EXPECT_EQ(dialogs.messages[0].text, expected.failure);
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CalibrationThreshold,
    ::testing::Values(
        Threshold{Button::Zero10V, 150, true}, Threshold{Button::Zero10V, 151, false},
        Threshold{Button::Zero10V, -32768, true}, Threshold{Button::Zero200mV, 150, true},
        Threshold{Button::Zero200mV, 151, false}, Threshold{Button::Zero200mV, -40, true},
        Threshold{Button::Span10V, 26000, true}, Threshold{Button::Span10V, 25999, false},
        Threshold{Button::Span10V, -30000, false}, Threshold{Button::Span200mV, 23000, true},
        Threshold{Button::Span200mV, 22999, false}, Threshold{Button::Rtd, 0, true},
        Threshold{Button::Rtd, -5, true}, Threshold{Button::Rtd, 32767, true}));

TEST_F(FrmCalibTest, OneBoxPerFailingChannelThenOneStoredBox) {
    auto window = open(0);
    tickOnly(*window, {0, 1});
    state.RawCounts[0] = 12;
    state.RawCounts[1] = 400;
    window->cmdCalibrate10V_Click(1);
    EXPECT_EQ(state.CalZero10V[0], 12);
    EXPECT_EQ(state.CalZero10V[1], 0);
    EXPECT_EQ(window->shpZero[0]->accessibleDescription(), "blue");
    EXPECT_EQ(window->shpZero[1]->accessibleDescription(), "black");
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"Analog Value too high", "Calibration value stored"}));
}

TEST_F(FrmCalibTest, EveryTickedChannelFailingShowsNoStoredBox) {
    auto window = open(0);
    for (int c = 0; c < kChannelsPerCard; ++c) {
        state.RawCounts[c] = static_cast<std::int16_t>(25000 + c);
    }
    window->cmdCalibrate10V_Click(0);
    EXPECT_EQ(messageTexts(), std::vector<std::string>(8, "Analog Value too low"));
    EXPECT_EQ(state.CalSpan10V[0], 32000);
}

TEST_F(FrmCalibTest, NoTickedChannelShowsNothing) {
    auto window = open(0);
    tickOnly(*window, {});
    state.RawCounts[0] = 30000;
    for (Button button :
         {Button::Zero10V, Button::Span10V, Button::Zero200mV, Button::Span200mV, Button::Rtd}) {
        Press(*window, button);
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(state.CalRTD[0], 13000);
}

TEST_F(FrmCalibTest, CardTwoUsesChannelSlotPlusEight) {
    auto window = open(1);
    tickOnly(*window, {3});
    state.RawCounts[3] = 5;
    state.RawCounts[11] = 140;
    state.CalZero10V[3] = -7;
    window->cmdCalibrate10V_Click(1);
    EXPECT_EQ(state.CalZero10V[11], 140);
    EXPECT_EQ(state.CalZero10V[3], -7);
}

TEST_F(FrmCalibTest, ButtonsServeTheCardChosenLast) {
    auto window = open(0);
    tickOnly(*window, {0});
    state.SelectedCard = 1;
    state.RawCounts[8] = 999;
    window->cmdCalibrateRTD_Click();
    EXPECT_EQ(state.CalRTD[8], 999);
    EXPECT_EQ(state.CalRTD[0], 13000);
    EXPECT_EQ(window->windowTitle(), "Calibration - Card 1");
}

TEST_F(FrmCalibTest, EachCountIsTakenWhenItsChannelIsReached) {
    auto window = open(0);
    tickOnly(*window, {0, 1});
    state.RawCounts[0] = 500;
    state.RawCounts[1] = 500;
    // A frame arrives while channel 0's error box is open.
    dialogs.whileShowing = [this] { state.RawCounts[1] = 20; };
    window->cmdCalibrate10V_Click(1);
    EXPECT_EQ(state.CalZero10V[1], 20);
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"Analog Value too high", "Calibration value stored"}));
}

TEST_F(FrmCalibTest, RefreshShowsCountsOnceTheCardSentAFullFrame) {
    auto window = open(1);
    for (int g = 0; g < kUsedChannels; ++g) {
        state.RawCounts[g] = static_cast<std::int16_t>(g * 100 - 900);
    }
    state.AmbientTemp1 = 25.0f;
    state.AmbientTemp2 = 24.5f;

    state.AnalogFrame2 = std::string(61, '0');  // not a full frame: nothing changes
    window->tmrUpdate_Timer();
    EXPECT_EQ(window->lblData[0]->text(), "0.00");
    EXPECT_EQ(window->lblAmb->text(), "Ambient Temperature: ");

    state.AnalogFrame2 = std::string(62, '0');
    window->tmrUpdate_Timer();
    EXPECT_EQ(window->lblData[0]->text(), "-100");
    EXPECT_EQ(window->lblData[7]->text(), "600");
    EXPECT_EQ(window->lblAmb->text(), "Ambient Temperature: 24.5 deg.C");

    // Card 1 starts with a full default frame.
    state.SelectedCard = 0;
    window->tmrUpdate_Timer();
    EXPECT_EQ(window->lblData[0]->text(), "-900");
    EXPECT_EQ(window->lblAmb->text(), "Ambient Temperature: 25 deg.C");
}

TEST_F(FrmCalibTest, ExportImportRoundTripsCardOne) {
    state.CalZero10V[0] = -15;
    state.CalSpan200mV[7] = 32767;
    state.CalRTD[4] = 12345;
    const AcquisitionState exported = state;
    auto window = open(0);
    const std::string path = folder.file("calib.txt");
    dialogs.saveAnswers.push_back(path);
    window->cmdExport_Click();
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, "");
    EXPECT_EQ(dialogs.saveRequests[0].defaultExtension, "");
    EXPECT_EQ(folder.read("calib.txt").substr(0, 40),
              "\"Vantrel 16CH ver.1.0 Calib File\"\r\n-15\r\n");

    state.CalZero10V[0] = 1;
    state.CalSpan200mV[7] = 2;
    state.CalRTD[4] = 3;
    dialogs.openAnswers.push_back(path);
    window->cmdImport_Click();
    EXPECT_EQ(state.CalZero10V, exported.CalZero10V);
    EXPECT_EQ(state.CalSpan200mV, exported.CalSpan200mV);
    EXPECT_EQ(state.CalRTD, exported.CalRTD);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Calibration File inported successfully.");
    EXPECT_EQ(dialogs.messages[0].title, "File Import");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(window->shpSpan[4]->accessibleDescription(), "black");
}

TEST_F(FrmCalibTest, CardTwoWindowExportsAndImportsCardOne) {
    state.CalRTD[2] = 111;
    state.CalRTD[10] = 222;
    auto window = open(1);
    dialogs.saveAnswers.push_back(folder.file("calib"));
    window->cmdExport_Click();
    EXPECT_NE(folder.read("calib").find("\r\n111\r\n"), std::string::npos);
    EXPECT_EQ(folder.read("calib").find("\r\n222\r\n"), std::string::npos);

    state.CalRTD[2] = 0;
    state.CalRTD[10] = 333;
    dialogs.openAnswers.push_back(folder.file("calib"));
    window->cmdImport_Click();
    EXPECT_EQ(state.CalRTD[2], 111);
    EXPECT_EQ(state.CalRTD[10], 333);
}

struct RefusedImport {
    const char* name;
    std::string contents;
    const char* message;  // the start of the one message shown
};

class RefusedCalibrationImport : public FrmCalibTest,
                                 public ::testing::WithParamInterface<RefusedImport> {};

TEST_P(RefusedCalibrationImport, LeavesEveryTableAsItWas) {
    folder.write("calib", GetParam().contents);
    auto window = open(0);
    const AcquisitionState before = state;
    dialogs.openAnswers.push_back(folder.file("calib"));
    window->cmdImport_Click();
    EXPECT_EQ(state.CalZero10V, before.CalZero10V);
    EXPECT_EQ(state.CalZero200mV, before.CalZero200mV);
    EXPECT_EQ(state.CalSpan10V, before.CalSpan10V);
    EXPECT_EQ(state.CalSpan200mV, before.CalSpan200mV);
    EXPECT_EQ(state.CalRTD, before.CalRTD);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind(GetParam().message, 0), 0u)
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].title, "File Import");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
}

std::string CalibrationText(const std::string& header, int values, const std::string& last) {
    std::string text = header + "\r\n";
    for (int i = 0; i < values; ++i) {
        text += (i + 1 == values ? last : std::to_string(i)) + "\r\n";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedCalibrationImport,
    ::testing::Values(
        RefusedImport{"LowerCaseHeader",
                      CalibrationText("\"vantrel 16ch ver.1.0 calib file\"", 40, "1"),
                      "Incompatible Calibration File!"},
        RefusedImport{"TrailingSpaceInHeader",
                      CalibrationText("\"Vantrel 16CH ver.1.0 Calib File \"", 40, "1"),
                      "Incompatible Calibration File!"},
        RefusedImport{"ShortFile", CalibrationText("\"Vantrel 16CH ver.1.0 Calib File\"", 25, "1"),
                      "The calibration file ends after line 26"},
        RefusedImport{"NotANumber", CalibrationText("\"Vantrel 16CH ver.1.0 Calib File\"", 40, "x"),
                      "Line 41 "},
        RefusedImport{"OutOfRange",
                      CalibrationText("\"Vantrel 16CH ver.1.0 Calib File\"", 12, "40000"),
                      "Line 13 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrmCalibTest, ExportFailureIsReported) {
    auto window = open(0);
    dialogs.saveAnswers.push_back(folder.file("missing-folder/calib"));
    window->cmdExport_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
}

TEST_F(FrmCalibTest, StoredPointsTakeEffectInTheNextConversion) {
    auto window = open(1);
    tickOnly(*window, {2});
    state.InputRange[10] = 10.0;
    state.RawCounts[10] = 100;
    window->cmdCalibrate10V_Click(1);
    state.RawCounts[10] = 30100;
    window->cmdCalibrate10V_Click(0);
    ASSERT_FALSE(modMain::ConvertFrame(state, 1));
    EXPECT_FLOAT_EQ(state.ChannelValue[10], 10.0f);
}

TEST_F(FrmCalibTest, CloseButtonClosesTheWindow) {
    auto window = open(0);
    window->show();
    window->cmdClose_Click();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace vantrel
