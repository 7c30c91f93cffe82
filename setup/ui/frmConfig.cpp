#include "setup/ui/frmConfig.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "engine/CardView.h"
#include "engine/LenientNumber.h"
#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"
#include "platform/qt/ScrollingPage.h"
#include "settings/AtomicFile.h"
#include "settings/SettingsFiles.h"
#include "setup/RangeText.h"

namespace vantrel {

namespace {

const char* const kConfigFilter = "Config Files (*.cfg)|*.cfg";
const char* const kConfigExtension = "cfg";
const char* const kMessageTitle = "Card Configuration";

// The range scales every conversion of its channel: 0 would turn the channel into
// logged zeros. A unit or note after the number has always been kept as typed.
constexpr AllowedRange kInputRangeAllowed{.zeroExcluded = true, .noteAllowed = true};

// A range the user typed is checked on entry; a text the program put in the box
// (from a file) is read as leniently as files always were.
CheckedNumber ReadRange(const QString& text) {
    return CheckNumber(text.toStdString(), ScreenDecimalMark(), "", kInputRangeAllowed);
}

platform::FileDialogRequest ConfigFileRequest() {
    platform::FileDialogRequest request;
    request.filter = kConfigFilter;
    request.defaultExtension = kConfigExtension;
    return request;
}

}  // namespace

frmConfig::frmConfig(AcquisitionState& state, int card, platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), card_(card == 0 ? 0 : 1), dialogs_(dialogs) {
    setObjectName(indexedName("frmConfig", card_));
    buildControls();
    Form_Load();
}

void frmConfig::buildControls() {
    Frame2 = named(new QGroupBox(tr("Analog Input"), this), QStringLiteral("Frame2"),
                   tr("Analog Input"));
    auto* analogGrid = new QGridLayout(Frame2);
    for (int c = 0; c < kChannelsPerCard; ++c) {
        FrameAnalog[c] = named(new QGroupBox(Frame2), indexedName("FrameAnalog", c), QString());
        lblInputType[c] = named(new QLabel(tr("Input Type:"), FrameAnalog[c]),
                                indexedName("lblInputType", c), tr("Input Type:"));
        cmbInputType[c] = named(new QComboBox(FrameAnalog[c]), indexedName("cmbInputType", c),
                                tr("Input Type %1").arg(c));
        lblInputRange[c] = named(new QLabel(tr("Input Range:"), FrameAnalog[c]),
                                 indexedName("lblInputRange", c), tr("Input Range:"));
        txtInputRange[c] = named(new QLineEdit(FrameAnalog[c]), indexedName("txtInputRange", c),
                                 tr("Input Range %1").arg(c));
        CheckedEntry::Guard(txtInputRange[c], tr("Input Range of Analog Input %1").arg(c),
                            kInputRangeAllowed, dialogs_);
        lblInputType[c]->setBuddy(cmbInputType[c]);
        lblInputRange[c]->setBuddy(txtInputRange[c]);

        auto* rows = new QGridLayout(FrameAnalog[c]);
        rows->addWidget(lblInputType[c], 0, 0);
        rows->addWidget(cmbInputType[c], 0, 1);
        rows->addWidget(lblInputRange[c], 1, 0);
        rows->addWidget(txtInputRange[c], 1, 1);
        analogGrid->addWidget(FrameAnalog[c], c / 4, c % 4);
    }

    Frame1 = named(new QGroupBox(tr("Digital Input / Output"), this), QStringLiteral("Frame1"),
                   tr("Digital Input / Output"));
    auto* digitalGrid = new QGridLayout(Frame1);
    for (int d = 0; d < kLinesPerCard; ++d) {
        // Each line's frame makes its two options an exclusive pair.
        FrameDIO[d] = named(new QGroupBox(Frame1), indexedName("FrameDIO", d), QString());
        optDIOInput[d] = named(new QRadioButton(tr("Input"), FrameDIO[d]),
                               indexedName("optDIOInput", d), tr("Input"));
        optDIOOutput[d] = named(new QRadioButton(tr("Output"), FrameDIO[d]),
                                indexedName("optDIOOutput", d), tr("Output"));
        optDIOInput[d]->setChecked(true);
        auto* pair = new QHBoxLayout(FrameDIO[d]);
        pair->addWidget(optDIOInput[d]);
        pair->addWidget(optDIOOutput[d]);
        digitalGrid->addWidget(FrameDIO[d], d / 4, d % 4);
    }

    Frame3 = named(new QGroupBox(tr("Save"), this), QStringLiteral("Frame3"), tr("Save"));
    const std::array<QString, 2> saveCaptions = {tr("Save Configuration"),
                                                 tr("Save Configuration to DAQ")};
    auto* buttons = new QHBoxLayout(Frame3);
    for (int i = 0; i < 2; ++i) {
        cmdSave[i] = named(new QPushButton(saveCaptions[i], Frame3), indexedName("cmdSave", i),
                           saveCaptions[i]);
        connect(cmdSave[i], &QPushButton::clicked, this, [this, i] { cmdSave_Click(i); });
        buttons->addWidget(cmdSave[i]);
    }
    // The cards keep no configuration of their own, so there is nothing to send.
    cmdSave[1]->setEnabled(false);
    cmdLoadFromDisk = named(new QPushButton(tr("Load from Disk"), Frame3),
                            QStringLiteral("cmdLoadFromDisk"), tr("Load from Disk"));
    cmdSaveToDisk = named(new QPushButton(tr("Save to Disk"), Frame3),
                          QStringLiteral("cmdSaveToDisk"), tr("Save to Disk"));
    connect(cmdLoadFromDisk, &QPushButton::clicked, this, &frmConfig::cmdLoadFromDisk_Click);
    connect(cmdSaveToDisk, &QPushButton::clicked, this, &frmConfig::cmdSaveToDisk_Click);
    buttons->addWidget(cmdLoadFromDisk);
    buttons->addWidget(cmdSaveToDisk);

    auto* page = new QVBoxLayout(platform::AddScrollingPage(this));
    page->addWidget(Frame2);
    page->addWidget(Frame1);
    page->addWidget(Frame3);
}

void frmConfig::Form_Load() {
    for (int d = 0; d < kLinesPerCard; ++d) {
        FrameDIO[d]->setTitle(tr("Digital Input/Output %1").arg(d));
        FrameDIO[d]->setAccessibleName(FrameDIO[d]->title());
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        FrameAnalog[c]->setTitle(tr("Analog Input %1").arg(c));
        FrameAnalog[c]->setAccessibleName(FrameAnalog[c]->title());
        cmbInputType[c]->clear();
        for (const char* name : input_type::kNames) {
            cmbInputType[c]->addItem(QString::fromLatin1(name));
        }
    }
    setWindowTitle(card_ == 0 ? tr("Card Configuration - Card 1")
                              : tr("Card Configuration - Card 2"));
    setAccessibleName(windowTitle());

    CardConfiguration stored;
    for (int d = 0; d < kLinesPerCard; ++d) {
        stored.lineIsInput[d] = state_.DigitalDirection[LineSlot(card_, d)] != kLineOutput;
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        const int g = ChannelSlot(card_, c);
        // A code no entry stands for (from a hand-edited settings file) shows as no
        // entry rather than a wrong one.
        const int type = state_.InputType[g];
        stored.inputType[c] = type >= 0 && type < kInputTypeCount ? type : -1;
        stored.rangeText[c] = RangeDisplayText(state_.InputRange[g]);
    }
    showConfiguration(stored);
}

void frmConfig::cmdSave_Click(int /*index*/) {
    if (!CheckEntries(*this)) {
        return;
    }
    for (int d = 0; d < kLinesPerCard; ++d) {
        state_.DigitalDirection[LineSlot(card_, d)] =
            optDIOInput[d]->isChecked() ? kLineInput : kLineOutput;
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        const int g = ChannelSlot(card_, c);
        state_.InputType[g] = static_cast<std::int16_t>(cmbInputType[c]->currentIndex());
        const QString text = txtInputRange[c]->text();
        const CheckedNumber checked = ReadRange(text);
        state_.InputRange[g] = checked.accepted
                                   ? checked.value
                                   : LeadingNumber(text.toStdString(), number_rules::kInputRange);
    }
    // Stored is saved: a program that is killed later keeps it.
    if (const auto failure = SaveChannelSettings(state_)) {
        showError("The configuration is in use but could not be saved: " + *failure + ".");
    }
}

void frmConfig::cmdSaveToDisk_Click() {
    if (!CheckEntries(*this)) {
        return;
    }
    const CardConfiguration config = shownConfiguration();
    // Checked before asking for a name, so the user can correct the window first.
    if (const auto problem = ConfigFileProblem(config)) {
        showError(*problem);
        return;
    }
    const auto path = dialogs_.saveFile(ConfigFileRequest());
    if (!path) {
        return;
    }
    if (const auto failure = WriteFileAtomically(*path, FormatConfigFile(config))) {
        showError("The configuration was not saved: " + *failure);
    }
}

void frmConfig::cmdLoadFromDisk_Click() {
    const auto path = dialogs_.openFile(ConfigFileRequest());
    if (!path) {
        return;
    }
    std::string readError;
    auto reader = FieldReader::fromFile(*path, FieldReader::kDefaultMaxBytes, &readError);
    if (!reader) {
        showError("The configuration file could not be read: " + readError);
        return;
    }
    const ConfigFileParse parsed = ParseConfigFile(std::move(*reader));
    if (!parsed.config) {
        showError(parsed.error + " Nothing was loaded.");
        return;
    }
    showConfiguration(*parsed.config);
}

CardConfiguration frmConfig::shownConfiguration() const {
    CardConfiguration config;
    for (int d = 0; d < kLinesPerCard; ++d) {
        config.lineIsInput[d] = optDIOInput[d]->isChecked();
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        config.inputType[c] = cmbInputType[c]->currentIndex();
        // The number with a period, so the file reads back the same under any locale.
        const QString text = txtInputRange[c]->text();
        const CheckedNumber checked = ReadRange(text);
        config.rangeText[c] = checked.accepted ? checked.fileText : text.toStdString();
    }
    return config;
}

void frmConfig::showConfiguration(const CardConfiguration& config) {
    for (int d = 0; d < kLinesPerCard; ++d) {
        (config.lineIsInput[d] ? optDIOInput[d] : optDIOOutput[d])->setChecked(true);
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        cmbInputType[c]->setCurrentIndex(config.inputType[c]);
        txtInputRange[c]->setText(QString::fromStdString(config.rangeText[c]));
    }
}

void frmConfig::showError(const std::string& text) {
    dialogs_.showMessage(platform::Message{text, kMessageTitle, platform::MessageIcon::Critical});
}

}  // namespace vantrel
