// Guards the three live views as opened from the View menu.
// Analog: decimals by each slot's own input type (two for 0..3, one for PT-100,
// none otherwise), rounding, the minus sign, no grouping, the user's decimal
// separator, the shortest ambient text (the calibration window writes it the
// same), slot captions, the 62-character frame test per card, the 1 s refresh.
// Digital: which line each control stands for (card 2's from D31 down), lamps green
// or black, a click toggling the commanded line and sending the owning card's word
// through that card's port (never seeded from what the card reports), nothing sent
// to a card that is not connected.
// Trend: its lists, the tick drawing with the main window's clock and labelling
// every value with its channel's decimals, the points list and Set Range reaching
// the chart, the colour dialog recolouring only the chosen channel (a cancel keeps
// the colour), values far beyond the range still painting their visible part.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <tuple>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"
#include "views/ui/FilledShape.h"
#include "views/ui/TrendSurface.h"
#include "views/ui/frmTrend.h"

namespace vantrel {
namespace {

using testing::Find;
using testing::Tick;

class ViewWindowTest : public testing::MainWindowFixture {
  protected:
    // A decimal comma shows that the user's own separator is used.
    void SetUp() override {
        MainWindowFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override {
        QLocale::setDefault(saved);
        MainWindowFixture::TearDown();
    }

    QString text(QWidget& view, const char* label, int index) {
        return Find<QLabel>(view, label, index).text();
    }

    QLocale saved;
};

// Card 1's start frame is already 62 characters, so its rows fill at the first tick.
TEST_F(ViewWindowTest, AnalogShowsEachValueWithTheDecimalsOfItsInputType) {
    QWidget& view = open("ViewAnalogData", "frmViewAnalogData");
    EXPECT_EQ(view.windowTitle(), "Analog Data");
    EXPECT_EQ(text(view, "lblCH", 15), "CH15:");
    EXPECT_EQ(Find<QTimer>(view, "tmrUpdate").interval(), 1000);
    const std::tuple<int, float, const char*> rows[] = {
        {0, 12.345f, "12,35"}, {3, -0.5f, "-0,50"},        {4, 23.456f, "23,5"},
        {5, -7.6f, "-8"},      {7, 12.345f, "12"},         {-1, 31999.0f, "31999"},
        {2, 4.0f, "4,00"},     {0, 12345.678f, "12345,68"}};
    for (int slot = 0; slot < kChannelsPerCard; ++slot) {
        state().InputType[slot] = static_cast<std::int16_t>(std::get<0>(rows[slot]));
        state().ChannelValue[slot] = std::get<1>(rows[slot]);
    }
    state().AmbientTemp1 = 24.87f;
    Tick(view);
    for (int slot = 0; slot < kChannelsPerCard; ++slot) {
        EXPECT_EQ(text(view, "lblData", slot), std::get<2>(rows[slot])) << slot;
    }
    EXPECT_EQ(text(view, "lblAmb", 0), "Ambient Temperature: 24,87 deg.C");
    // Every window writes a number the same way.
    QWidget& calibration = open("OptionsCalibrate_0", "frmCalib_0");
    Tick(calibration);
    EXPECT_EQ(Find<QLabel>(calibration, "lblAmb").text(), text(view, "lblAmb", 0));
}

// The length rule itself (61 and 63 refused) is the decoder's, tested there.
TEST_F(ViewWindowTest, AnalogShowsACardOnlyWhileItsLatestFrameIsSixtyTwoCharacters) {
    QWidget& view = open("ViewAnalogData", "frmViewAnalogData");
    state().InputType[9] = 4;
    state().ChannelValue[9] = 4.5f;
    state().AmbientTemp2 = 21.0f;
    Tick(view);
    EXPECT_EQ(text(view, "lblData", 9), "0.00");
    EXPECT_EQ(text(view, "lblAmb", 1), "Ambient Temperature: ");
    state().AnalogFrame2 = std::string(61, '0') + "\r";
    Tick(view);
    EXPECT_EQ(text(view, "lblData", 9), "4,5");
    EXPECT_EQ(text(view, "lblAmb", 1), "Ambient Temperature: 21 deg.C");
}

TEST_F(ViewWindowTest, DigitalControlsStandForTheirLinesAndLampsShowThem) {
    QWidget& view = open("ViewDigitalData", "frmViewDigitalData");
    EXPECT_EQ(view.windowTitle(), "Digital Data");
    for (const auto& [i, caption] : {std::pair{0, "D0"}, {15, "D15"}, {16, "D31"}, {31, "D16"}}) {
        EXPECT_EQ(text(view, "lblDI", i), caption);
        EXPECT_EQ(text(view, "lblDO", i), caption);
        EXPECT_EQ(Find<QPushButton>(view, "cmdDO", i).text(), caption);
    }
    EXPECT_EQ(Find<QGroupBox>(view, "Frame2", 1).title(), "INPUTS");
    EXPECT_EQ(Find<QGroupBox>(view, "Frame3", 1).title(), "OUTPUTS");
    EXPECT_EQ(Find<QTimer>(view, "tmrUpdate").interval(), 1000);

    const QColor on(0, 255, 0), off(0, 0, 0);
    state().DigitalIn.fill(true);
    Tick(view);
    state().DigitalIn.fill(false);
    state().DigitalIn[31] = true;
    state().DigitalOut[5] = true;
    Tick(view);
    for (int i = 0; i < kUsedLines; ++i) {
        EXPECT_EQ(Find<FilledShape>(view, "shpDI", i).fillColor(), i == 16 ? on : off) << i;
        EXPECT_EQ(Find<FilledShape>(view, "shpDO", i).fillColor(), i == 5 ? on : off) << i;
    }
}

TEST_F(ViewWindowTest, DigitalClickSendsTheOwningCardsWholeCommandedWord) {
    QWidget& view = open("ViewDigitalData", "frmViewDigitalData");
    state().CardConnected1 = true;
    state().DigitalOut[5] = true;  // what a card reports never seeds the commands
    // Commands last: line 3 is still on in the second row.
    const std::tuple<std::vector<int>, const char*, const char*> cases[] = {
        {{0, 3, 0}, "#D0001\r#D0009\r#D0008\r", ""}, {{15, 16, 30}, "#D8008\r", ""}};
    for (const auto& [clicks, card1, card2] : cases) {
        for (const int index : clicks) {
            Find<QPushButton>(view, "cmdDO", index).click();
        }
        EXPECT_EQ(cm->wire(), card1);
        EXPECT_EQ(cm2->wire(), card2) << "card 2 is not connected";
        cm->sent.clear();
    }
    state().CardConnected2 = true;
    Find<QPushButton>(view, "cmdDO", 31).click();
    EXPECT_EQ(cm2->wire(), "#D8003\r") << "lines 31 and 17 kept, line 16 added";
}

TEST_F(ViewWindowTest, TrendTickDrawsTheChartAndEveryValueLabel) {
    QWidget& view = open("ViewTrend", "frmTrend");
    EXPECT_EQ(view.windowTitle(), "Real Time Trend");
    EXPECT_EQ(Find<QComboBox>(view, "cmbPoints").itemText(3), "200");
    EXPECT_EQ(Find<QComboBox>(view, "cmbColor").itemText(15), "Channel 15");
    EXPECT_EQ(text(view, "lblChannel", 7), "Channel 7");
    EXPECT_EQ(Find<QTimer>(view, "tmrTrend").interval(), 1000);
    clock.current = {2026, 12, 6, 8, 30, 0};
    state().PlotChannel[1] = true;
    state().InputType[3] = 4;
    state().ChannelValue[3] = 410.75f;
    Tick(view, "tmrTrend");
    EXPECT_EQ(text(view, "lblData", 3), "410,8");
    const TrendDrawing& drawing = Find<TrendSurface>(view, "pic").drawing();
    EXPECT_EQ(drawing.texts.at(0).text, "08:30:00");
    EXPECT_EQ(drawing.lines.size(), 10u);
}

TEST_F(ViewWindowTest, TrendPointsListAndSetRangeReachTheChart) {
    auto& view = static_cast<frmTrend&>(open("ViewTrend", "frmTrend"));
    Find<QComboBox>(view, "cmbPoints").setCurrentIndex(3);
    EXPECT_EQ(view.model().TrendPoints, 200);
    auto& range = Find<QLineEdit>(view, "txtRange");
    EXPECT_EQ(range.text(), "100");
    // A refused text brings a message and keeps the last range.
    const std::tuple<const char*, const char*, float> entries[] = {
        {"250", "250", 250}, {"abc", "250", 250}, {"0.5", "250", 250}, {"1", "1", 1}};
    for (const auto& [typed, shown, top] : entries) {
        dialogs.messages.clear();
        testing::TypeInto(range, QString::fromLatin1(typed));
        EXPECT_EQ(range.text(), shown) << typed;
        EXPECT_EQ(view.model().TrendRange, top) << typed;
        EXPECT_EQ(dialogs.messages.size(), std::string(typed) == shown ? 0u : 1u) << typed;
    }
    testing::TypeInto(range, QStringLiteral("0"));
    EXPECT_EQ(dialogs.messages.at(0).text,
              "Range: \"0\" is not accepted.\nAllowed: a number of at least 1.");
}

TEST_F(ViewWindowTest, TrendColourRecoloursOnlyTheChosenChannelAndACancelKeepsIt) {
    QWidget& view = open("ViewTrend", "frmTrend");
    state().PlotChannel[3] = true;
    Find<QComboBox>(view, "cmbColor").setCurrentIndex(3);
    dialogs.colorAnswers = {platform::Rgb{255, 128, 0}, std::nullopt};
    Find<QPushButton>(view, "cmdChangeColor").click();
    Find<QPushButton>(view, "cmdChangeColor").click();
    EXPECT_EQ(Find<FilledShape>(view, "shpColor", 3).fillColor(), QColor(255, 128, 0));
    EXPECT_EQ(Find<FilledShape>(view, "shpColor", 4).fillColor(), kDefaultSwatchColor);
    EXPECT_EQ(dialogs.colorRequests.at(1), (platform::Rgb{255, 128, 0})) << "starts at the current";
    Tick(view, "tmrTrend");
    const TrendDrawing& drawing = Find<TrendSurface>(view, "pic").drawing();
    EXPECT_EQ(drawing.lines.front().color, (platform::Rgb{255, 128, 0}));
}

TEST_F(ViewWindowTest, TrendValuesFarBeyondTheRangeStillPaintTheirVisiblePart) {
    QWidget& view = open("ViewTrend", "frmTrend");
    state().PlotChannel[0] = true;
    for (const float value : {0.0f, 3.0e38f, -3.0e38f}) {
        state().ChannelValue[0] = value;
        Tick(view, "tmrTrend");
    }
    QImage image(600, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    TrendSurface::paint(painter, image.rect(), TrendGrid(),
                        Find<TrendSurface>(view, "pic").drawing());
    painter.end();
    // The last segment crosses the middle row halfway between its two samples.
    int hits = 0;
    for (int x = 522; x <= 528; ++x) {
        hits += image.pixelColor(x, 100) == kDefaultSwatchColor ? 1 : 0;
    }
    EXPECT_GT(hits, 0);
}

}  // namespace
}  // namespace vantrel
