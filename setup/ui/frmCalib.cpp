#include "setup/ui/frmCalib.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "engine/CardView.h"
#include "platform/qt/ControlNames.h"
#include "platform/qt/ScreenNumbers.h"
#include "platform/qt/ScrollingPage.h"
#include "settings/AtomicFile.h"
#include "settings/FieldReader.h"
#include "settings/SettingsFiles.h"
#include "setup/CalibrationFile.h"

namespace vantrel {

namespace {

const char* const kCalibrationTitle = "Calibration";
const char* const kImportTitle = "File Import";
const char* const kExportTitle = "File Export";

const char* const kRtdInstruction =
    "Connect 100 ohms (1% or less) between terminals COM and B, short B & B, select option A "
    "jumper on all channels.";
const char* const k10VInstruction =
    "Apply 10.000V across terminals 10V and COM, select option C jumper on selected channels.";
const char* const k0VInstruction =
    "Short terminals 10V and COM, select option C jumper on selected channels.";
const char* const k200mVInstruction =
    "Apply 200.0mV across terminals 2V and COM, select option B jumper on selected channels.";
const char* const k0mVInstruction =
    "Short terminals 2V and COM, select option B jumper on selected channels.";

// The point a step takes, as the question before storing names it.
const char* PointName(const CalibrationStep& step) {
    if (step.test == CalibrationStep::Test::Always) {
        return "RTD point";
    }
    return step.indicator == CalibrationStep::Indicator::Zero ? "zero" : "span";
}

std::string ChannelName(int channel) {
    return "CH" + std::to_string(channel);
}

QLabel* Instruction(const char* text, const QString& objectName, QWidget* parent) {
    auto* label =
        named(new QLabel(QString::fromLatin1(text), parent), objectName, QString::fromLatin1(text));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMinimumWidth(380);
    return label;
}

}  // namespace

frmCalib::frmCalib(AcquisitionState& state, int card, platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), card_(card == 0 ? 0 : 1), dialogs_(dialogs) {
    setObjectName(indexedName("frmCalib", card_));
    buildControls();
    Form_Load();
    tmrUpdate->start();
}

void frmCalib::buildControls() {
    Frame1 = named(new QGroupBox(this), QStringLiteral("Frame1"), tr("Channels"));
    auto* rows = new QGridLayout(Frame1);
    for (int c = 0; c < kChannelsPerCard; ++c) {
        lblCH[c] = named(new QLabel(Frame1), indexedName("lblCH", c), QString());
        lblData[c] = named(new QLabel(QStringLiteral("0.00"), Frame1), indexedName("lblData", c),
                           QStringLiteral("0.00"));
        lblData[c]->setMinimumWidth(60);
        chkSel[c] = named(new QCheckBox(Frame1), indexedName("chkSel", c), tr("Select %1").arg(c));
        shpZero[c] = named(new ColourLamp(Frame1), indexedName("shpZero", c), tr("Zero %1").arg(c));
        shpSpan[c] = named(new ColourLamp(Frame1), indexedName("shpSpan", c), tr("Span %1").arg(c));
        // Channels 0..3 on the left, 4..7 on the right.
        const int row = c % 4;
        const int column = (c / 4) * 6;
        rows->addWidget(lblCH[c], row, column);
        rows->addWidget(lblData[c], row, column + 1);
        rows->addWidget(chkSel[c], row, column + 2);
        rows->addWidget(shpZero[c], row, column + 3);
        rows->addWidget(shpSpan[c], row, column + 4);
    }
    rows->setColumnMinimumWidth(5, 24);  // a gap between the two columns of channels
    lblAmb = named(new QLabel(tr("Ambient Temperature: "), this), QStringLiteral("lblAmb"),
                   tr("Ambient Temperature: "));

    Label1 = Instruction(kRtdInstruction, QStringLiteral("Label1"), this);
    Label2[0] = Instruction(k10VInstruction, indexedName("Label2", 0), this);
    Label2[1] = Instruction(k0VInstruction, indexedName("Label2", 1), this);
    Label3[0] = Instruction(k200mVInstruction, indexedName("Label3", 0), this);
    Label3[1] = Instruction(k0mVInstruction, indexedName("Label3", 1), this);

    auto button = [this](const QString& caption, const QString& objectName) {
        return named(new QPushButton(caption, this), objectName, caption);
    };
    cmdCalibrate10V[0] = button(tr("Calibrate 10V"), indexedName("cmdCalibrate10V", 0));
    cmdCalibrate10V[1] = button(tr("Calibrate 0V"), indexedName("cmdCalibrate10V", 1));
    cmdCalibrate200mV[0] = button(tr("Calibrate 200mV"), indexedName("cmdCalibrate200mV", 0));
    cmdCalibrate200mV[1] = button(tr("Calibrate 0mV"), indexedName("cmdCalibrate200mV", 1));
    cmdCalibrateRTD = button(tr("Calibrate RTD"), QStringLiteral("cmdCalibrateRTD"));
    cmdExport = button(tr("Export"), QStringLiteral("cmdExport"));
    cmdImport = button(tr("Import"), QStringLiteral("cmdImport"));
    cmdClose = button(tr("Close"), QStringLiteral("cmdClose"));
    cmdUndo = button(tr("Undo"), QStringLiteral("cmdUndo"));
    cmdUndo->setEnabled(false);
    for (int i = 0; i < 2; ++i) {
        connect(cmdCalibrate10V[i], &QPushButton::clicked, this,
                [this, i] { cmdCalibrate10V_Click(i); });
        connect(cmdCalibrate200mV[i], &QPushButton::clicked, this,
                [this, i] { cmdCalibrate200mV_Click(i); });
    }
    connect(cmdCalibrateRTD, &QPushButton::clicked, this, &frmCalib::cmdCalibrateRTD_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmCalib::cmdExport_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmCalib::cmdImport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmCalib::cmdClose_Click);
    connect(cmdUndo, &QPushButton::clicked, this, &frmCalib::cmdUndo_Click);

    // Each instruction beside its button.
    auto* steps = new QGridLayout;
    const std::array<std::pair<QPushButton*, QLabel*>, 5> pairs = {{
        {cmdCalibrate10V[1], Label2[1]},
        {cmdCalibrate10V[0], Label2[0]},
        {cmdCalibrate200mV[1], Label3[1]},
        {cmdCalibrate200mV[0], Label3[0]},
        {cmdCalibrateRTD, Label1},
    }};
    for (int row = 0; row < static_cast<int>(pairs.size()); ++row) {
        steps->addWidget(pairs[row].first, row, 0);
        steps->addWidget(pairs[row].second, row, 1);
    }
    steps->setColumnStretch(1, 1);

    auto* files = new QHBoxLayout;
    files->addWidget(cmdExport);
    files->addWidget(cmdImport);
    files->addWidget(cmdUndo);
    files->addStretch(1);
    files->addWidget(cmdClose);

    auto* page = new QVBoxLayout(platform::AddScrollingPage(this));
    page->addWidget(Frame1);
    page->addWidget(lblAmb);
    page->addLayout(steps);
    page->addLayout(files);

    tmrUpdate = new QTimer(this);
    tmrUpdate->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate->setInterval(kRefreshMs);
    connect(tmrUpdate, &QTimer::timeout, this, &frmCalib::tmrUpdate_Timer);
}

void frmCalib::Form_Load() {
    setWindowTitle(card_ != 0 ? tr("Calibration - Card 2") : tr("Calibration - Card 1"));
    setAccessibleName(windowTitle());
    for (int c = 0; c < kChannelsPerCard; ++c) {
        lblCH[c]->setText(tr("CH%1:").arg(c));
        lblCH[c]->setAccessibleName(lblCH[c]->text());
        chkSel[c]->setChecked(true);
        shpZero[c]->setColour(kIndicatorBlack, kIndicatorBlackName);
        shpSpan[c]->setColour(kIndicatorBlack, kIndicatorBlackName);
    }
}

void frmCalib::tmrUpdate_Timer() {
    const ConstCardView thisCard = CardOf(std::as_const(state_), card_);
    if (!thisCard.hasAnalogFrame()) {
        return;
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        const QString count = QString::number(state_.RawCounts[ChannelSlot(card_, c)]);
        lblData[c]->setText(count);
        lblData[c]->setAccessibleName(count);
    }
    lblAmb->setText(tr("Ambient Temperature: ") + ShortestText(thisCard.AmbientTemp) +
                    tr(" deg.C"));
    lblAmb->setAccessibleName(lblAmb->text());
}

void frmCalib::cmdCalibrate10V_Click(int index) {
    calibrate(index == 0 ? kCalibrate10V : kCalibrate0V);
}

void frmCalib::cmdCalibrate200mV_Click(int index) {
    calibrate(index == 0 ? kCalibrate200mV : kCalibrate0mV);
}

void frmCalib::cmdCalibrateRTD_Click() {
    calibrate(kCalibrateRTD);
}

ColourLamp* frmCalib::lampOf(const CalibrationStep& step, int channel) const {
    return step.indicator == CalibrationStep::Indicator::Zero ? shpZero[channel] : shpSpan[channel];
}

void frmCalib::calibrate(const CalibrationStep& step) {
    // The counts are taken once, as the question shows them: what the user agrees
    // to is what is stored, though newer counts keep arriving while it is open.
    std::vector<std::pair<int, std::int16_t>> taken;
    for (int c = 0; c < kChannelsPerCard; ++c) {
        if (chkSel[c]->isChecked()) {
            taken.emplace_back(c, state_.RawCounts[ChannelSlot(card_, c)]);
        }
    }
    if (taken.empty()) {
        return;
    }
    std::string channels;
    std::string counts;
    for (const auto& [c, count] : taken) {
        channels += (channels.empty() ? "" : ", ") + ChannelName(c);
        counts += (counts.empty() ? "" : ", ") + std::to_string(count);
    }
    const platform::Question question{std::string("Store the ") + PointName(step) + " of " +
                                          channels + "? Current counts: " + counts + ".",
                                      kCalibrationTitle, "Store"};
    if (!dialogs_.confirm(question)) {
        return;
    }

    LastStep done{step, {}};
    for (const auto& [c, count] : taken) {
        if (!step.accepts(count)) {
            showMessage(step.failMessage, kCalibrationTitle, platform::MessageIcon::Critical);
            continue;
        }
        std::int16_t& stored = (state_.*step.table)[ChannelSlot(card_, c)];
        ColourLamp* lamp = lampOf(step, c);
        done.channels.push_back(
            {c, stored, count, lamp->colour(), lamp->accessibleDescription().toStdString()});
        stored = count;
        lamp->setColour(step.colour, step.colourName);
    }
    if (done.channels.empty()) {
        return;
    }
    std::string text = "Calibration value stored";
    for (const Replaced& channel : done.channels) {
        text += "\n" + ChannelName(channel.channel) + ": " + std::to_string(channel.before) +
                " \u2192 " + std::to_string(channel.after);
    }
    lastStep_ = std::move(done);
    cmdUndo->setEnabled(true);
    showMessage(text, kCalibrationTitle, platform::MessageIcon::Information);
    saveSettings(kCalibrationTitle);
}

void frmCalib::cmdUndo_Click() {
    if (!lastStep_) {
        return;
    }
    std::string text = "Calibration value restored";
    for (const Replaced& channel : lastStep_->channels) {
        (state_.*lastStep_->step.table)[ChannelSlot(card_, channel.channel)] = channel.before;
        lampOf(lastStep_->step, channel.channel)
            ->setColour(channel.lampBefore, channel.lampBeforeName);
        text += "\n" + ChannelName(channel.channel) + ": " + std::to_string(channel.after) +
                " \u2192 " + std::to_string(channel.before);
    }
    lastStep_.reset();
    cmdUndo->setEnabled(false);
    showMessage(text, kCalibrationTitle, platform::MessageIcon::Information);
    saveSettings(kCalibrationTitle);
}

void frmCalib::saveSettings(const char* title) {
    // Stored is saved: a program that is killed later keeps it.
    if (const auto failure = SaveChannelSettings(state_)) {
        showMessage("The calibration is in use but could not be saved: " + *failure + ".", title,
                    platform::MessageIcon::Warning);
    }
}

void frmCalib::cmdExport_Click() {
    const auto path = dialogs_.saveFile(platform::FileDialogRequest{});
    if (!path) {
        return;
    }
    const std::string contents = FormatCalibrationFile(CalibrationOfFirstCard(state_));
    if (const auto failure = WriteFileAtomically(*path, contents)) {
        showMessage("The calibration was not exported: " + *failure, kExportTitle,
                    platform::MessageIcon::Critical);
    }
}

void frmCalib::cmdImport_Click() {
    const auto path = dialogs_.openFile(platform::FileDialogRequest{});
    if (!path) {
        return;
    }
    std::string readError;
    auto reader = FieldReader::fromFile(*path, FieldReader::kDefaultMaxBytes, &readError);
    if (!reader) {
        showMessage("The calibration file could not be read: " + readError, kImportTitle,
                    platform::MessageIcon::Critical);
        return;
    }
    const CalibrationFileParse parsed = ParseCalibrationFile(std::move(*reader));
    switch (parsed.outcome) {
        case CalibrationFileParse::Outcome::WrongHeader:
            showMessage("Incompatible Calibration File!", kImportTitle,
                        platform::MessageIcon::Critical);
            return;
        case CalibrationFileParse::Outcome::BadValues:
            showMessage(parsed.error + " The calibration was not changed.", kImportTitle,
                        platform::MessageIcon::Critical);
            return;
        case CalibrationFileParse::Outcome::Read:
            break;
    }
    StoreCalibrationOfFirstCard(state_, parsed.table);
    // The imported values replace what an undo would have put back.
    lastStep_.reset();
    cmdUndo->setEnabled(false);
    showMessage("Calibration File inported successfully.", kImportTitle,
                platform::MessageIcon::Information);
    saveSettings(kImportTitle);
}

void frmCalib::cmdClose_Click() {
    close();
}

void frmCalib::showMessage(const std::string& text, const char* title, platform::MessageIcon icon) {
    dialogs_.showMessage(platform::Message{text, title, icon});
}

}  // namespace vantrel
