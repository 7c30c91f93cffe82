#include "logging/ui/frmSave.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/CardView.h"
#include "logging/SaveOptions.h"
#include "platform/qt/ControlNames.h"
#include "settings/SettingsFiles.h"

namespace vantrel {

namespace {

constexpr int kIntervalChoices = 300;

QRadioButton* Option(const char* name, const QString& caption, const QString& accessibleName) {
    return named(new QRadioButton(caption), QString::fromLatin1(name), accessibleName);
}

QRadioButton* Option(const char* name, const QString& caption) {
    return Option(name, caption, caption);
}

QGroupBox* Group(const QString& title, QLayout* layout) {
    auto* group = new QGroupBox(title);
    group->setAccessibleName(title);
    group->setLayout(layout);
    return group;
}

QString ChannelCaption(int n) {
    return QStringLiteral("Channel %1:").arg(n);
}

}  // namespace

frmSave::frmSave(AcquisitionState& state, platform::Dialogs& dialogs, const platform::Clock& clock,
                 QWidget* parent, LogFileSink* sink)
    : QDialog(parent), state_(state), dialogs_(dialogs), clock_(clock), sink_(sink) {
    if (sink_ == nullptr) {
        ownSink_ = std::make_unique<DiskLogFileSink>();
        sink_ = ownSink_.get();
    }
    setObjectName(QStringLiteral("frmSave"));
    setWindowTitle(QStringLiteral("Save"));
    setModal(true);

    chkHeaders = named(new QCheckBox(QStringLiteral("Use Channel Details as column headers.")),
                       QStringLiteral("chkHeaders"),
                       QStringLiteral("Use Channel Details as column headers."));
    cmdOK =
        named(new QPushButton(QStringLiteral("OK")), QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), QStringLiteral("cmdCancel"),
                      QStringLiteral("Cancel"));
    cmdOK->setDefault(true);

    auto* options = new QVBoxLayout;
    options->addWidget(BuildSeparatorGroup());
    options->addWidget(BuildIntervalGroup());
    options->addWidget(BuildStampGroup());
    options->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildChannelGroup(), 1);
    middle->addLayout(options);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkHeaders);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildFileGroup());
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(cmdSelect, &QPushButton::clicked, this, &frmSave::cmdSelect_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSave::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSave::cmdCancel_Click);

    Form_Load();
}

frmSave::~frmSave() = default;

QWidget* frmSave::BuildFileGroup() {
    auto* caption = new QLabel(QStringLiteral("File Name:"));
    txtFile = named(new QLineEdit, QStringLiteral("txtFile"), QStringLiteral("File Name:"));
    caption->setBuddy(txtFile);
    cmdSelect = named(new QPushButton(QStringLiteral("Select")), QStringLiteral("cmdSelect"),
                      QStringLiteral("Select"));
    auto* row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(txtFile, 1);
    row->addWidget(cmdSelect);
    return Group(QStringLiteral("Save File Details:"), row);
}

QWidget* frmSave::BuildChannelGroup() {
    auto* grid = new QGridLayout;
    for (int n = 0; n < kUsedChannels; ++n) {
        const QString suffix = QStringLiteral("_%1").arg(n);
        const QString caption = ChannelCaption(n);
        lblChannel[n] = named(new QLabel(caption), QStringLiteral("lblChannel") + suffix, caption);
        txtChannel[n] = named(new QLineEdit, QStringLiteral("txtChannel") + suffix, caption);
        lblChannel[n]->setBuddy(txtChannel[n]);
        // Channels 0..7 (card 1) in the left column, 8..15 (card 2) in the right.
        const int row = ChannelOfSlot(n);
        const int column = CardOfChannelSlot(n) * 2;
        grid->addWidget(lblChannel[n], row, column);
        grid->addWidget(txtChannel[n], row, column + 1);
    }
    // Room for a default name and a little more in each box.
    const int nameWidth =
        txtChannel[0]->fontMetrics().horizontalAdvance(QStringLiteral("Channel 15 (mm)"));
    for (QLineEdit* box : txtChannel) {
        box->setMinimumWidth(nameWidth);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return Group(QStringLiteral("Channel Details"), grid);
}

QWidget* frmSave::BuildSeparatorGroup() {
    optCSV = Option("optCSV", QStringLiteral("Comma separated values (csv)"));
    optTSV = Option("optTSV", QStringLiteral("Tab separated values"));
    optSSV = Option("optSSV", QStringLiteral("Space separated values"));
    auto* column = new QVBoxLayout;
    column->addWidget(optCSV);
    column->addWidget(optTSV);
    column->addWidget(optSSV);
    return Group(QStringLiteral("Saving Options:"), column);
}

QWidget* frmSave::BuildIntervalGroup() {
    // A fixed list: typed text could make the interval 0 and stop the records.
    cmbIntv = named(new QComboBox, QStringLiteral("cmbIntv"), QStringLiteral("Saving Interval:"));
    cmbIntv->setEditable(false);
    for (int i = 1; i <= kIntervalChoices; ++i) {
        cmbIntv->addItem(QString::number(i));
    }
    optSec = Option("optSec", QStringLiteral("Seconds"));
    optMin = Option("optMin", QStringLiteral("Minutes"));
    optHour = Option("optHour", QStringLiteral("Hours"));
    auto* column = new QVBoxLayout;
    column->addWidget(cmbIntv);
    column->addWidget(optSec);
    column->addWidget(optMin);
    column->addWidget(optHour);
    return Group(QStringLiteral("Saving Interval:"), column);
}

QWidget* frmSave::BuildStampGroup() {
    optNone = Option("optNone", QStringLiteral("None"));
    optT = Option("optT", QStringLiteral("Use Only Time"));
    // "&&" shows as one ampersand rather than marking a shortcut key.
    optDT = Option("optDT", QStringLiteral("Use Date && Time"), QStringLiteral("Use Date & Time"));
    optISO = Option("optISO", QStringLiteral("Use ISO 8601 Date && Time"),
                    QStringLiteral("Use ISO 8601 Date & Time"));
    optSN = Option("optSN", QStringLiteral("Use Serial No."));
    auto* column = new QVBoxLayout;
    column->addWidget(optNone);
    column->addWidget(optT);
    column->addWidget(optDT);
    column->addWidget(optISO);
    column->addWidget(optSN);
    return Group(QStringLiteral("Index"), column);
}

frmSave::Options<Delimiter, 3> frmSave::SeparatorOptions() const {
    return {
        {{optCSV, Delimiter::Comma}, {optTSV, Delimiter::FourSpaces}, {optSSV, Delimiter::Space}}};
}

frmSave::Options<IntervalUnit, 3> frmSave::UnitOptions() const {
    return {{{optSec, IntervalUnit::Seconds},
             {optMin, IntervalUnit::Minutes},
             {optHour, IntervalUnit::Hours}}};
}

frmSave::Options<StampStyle, 5> frmSave::StampOptions() const {
    return {{{optSN, StampStyle::Serial},
             {optDT, StampStyle::DateAndTime},
             {optT, StampStyle::Time},
             {optISO, StampStyle::Iso},
             {optNone, StampStyle::None}}};
}

void frmSave::Form_Load() {
    // A settings file may hold a choice outside the list; show the nearest one.
    const int position = std::clamp<int>(state_.LogIntervalChoice - 1, 0, kIntervalChoices - 1);
    cmbIntv->setCurrentIndex(position);
    txtFile->setText(QString::fromStdString(state_.LogFileName));
    chkHeaders->setChecked(state_.LogHeaders);

    // A code no option stands for (a damaged settings file) leaves its group unset.
    const auto select = [](const auto& options, int code) {
        for (const auto& [button, choice] : options) {
            if (CodeOf(choice) == code) {
                button->setChecked(true);
            }
        }
    };
    select(SeparatorOptions(), state_.LogDelimiter);
    select(UnitOptions(), state_.LogIntervalUnit);
    select(StampOptions(), state_.LogStampStyle);

    for (int n = 0; n < kUsedChannels; ++n) {
        txtChannel[n]->setText(QString::fromStdString(state_.ChannelName[n]));
    }
}

void frmSave::cmdSelect_Click() {
    platform::FileDialogRequest request;
    request.filter = "Log Files (*.csv *.txt)|*.csv *.txt|All Files (*)|*";
    request.defaultExtension = "csv";
    request.initialPath = txtFile->text().toStdString();
    // Records are appended to an existing log; only OK with headers on empties it.
    request.confirmOverwrite = false;
    // A cancelled dialog leaves the path as it was.
    if (const std::optional<std::string> path = dialogs_.saveFile(request)) {
        txtFile->setText(QString::fromStdString(*path));
    }
}

void frmSave::cmdOK_Click() {
    SaveOptionsChoice choice;
    choice.fileName = txtFile->text().toStdString();
    for (int n = 0; n < kUsedChannels; ++n) {
        choice.channelNames[n] = txtChannel[n]->text().toStdString();
    }
    choice.headers = chkHeaders->isChecked();
    // With none of a group checked, its last option counts.
    const auto chosen = [](const auto& options) {
        for (const auto& [button, choice] : options) {
            if (button->isChecked()) {
                return CodeOf(choice);
            }
        }
        return CodeOf(options.back().second);
    };
    choice.delimiter = chosen(SeparatorOptions());
    choice.intervalUnit = chosen(UnitOptions());
    choice.intervalChoice = static_cast<std::int16_t>(cmbIntv->currentIndex() + 1);
    choice.stampStyle = chosen(StampOptions());

    const std::optional<platform::Message> problem =
        ApplySaveOptions(state_, choice, *sink_, clock_.now());
    // What OK stored, even on a refusal, is saved at once: a program that is
    // killed later keeps it.
    if (const std::optional<std::string> failure = SaveLogSettings(state_)) {
        dialogs_.showMessage(
            {"The log settings are in use but could not be saved: " + *failure + ".", "Save Error",
             platform::MessageIcon::Warning});
    }
    if (problem) {
        dialogs_.showMessage(*problem);
        return;
    }
    accept();
}

void frmSave::cmdCancel_Click() {
    reject();
}

}  // namespace vantrel
