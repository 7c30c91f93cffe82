#include "app/frmTaskManager.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "engine/CardView.h"
#include "platform/qt/ControlNames.h"
#include "settings/SettingsFiles.h"

namespace vantrel {

namespace {

QCheckBox* makeCheck(QWidget* parent, const char* name, int index, const QString& caption) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(indexedName(name, index));
    check->setAccessibleName(caption);
    return check;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption);
    return button;
}

}  // namespace

frmTaskManager::frmTaskManager(AcquisitionState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("frmTaskManager"));
    setWindowTitle(tr("Task Manager"));

    auto* cards = new QHBoxLayout;
    for (int card = 0; card < 2; ++card) {
        Frame1[card] = new QGroupBox(tr("Analog Tasks"), this);
        Frame1[card]->setObjectName(indexedName("Frame1", card));
        Frame1[card]->setAccessibleName(Frame1[card]->title());
        auto* channels = new QGridLayout(Frame1[card]);
        for (int c = 0; c < kChannelsPerCard; ++c) {
            const int slot = ChannelSlot(card, c);
            FrameAT[slot] = new QGroupBox(Frame1[card]);
            FrameAT[slot]->setObjectName(indexedName("FrameAT", slot));
            chkScan[slot] = makeCheck(FrameAT[slot], "chkScan", slot, tr("Scan"));
            chkPlot[slot] = makeCheck(FrameAT[slot], "chkPlot", slot, tr("Plot"));
            chkSave[slot] = makeCheck(FrameAT[slot], "chkSave", slot, tr("Save"));
            lblName[slot] = new QLabel(FrameAT[slot]);
            lblName[slot]->setObjectName(indexedName("lblName", slot));
            lblName[slot]->setTextFormat(Qt::PlainText);
            auto* row = new QHBoxLayout(FrameAT[slot]);
            row->addWidget(chkScan[slot]);
            row->addWidget(chkPlot[slot]);
            row->addWidget(chkSave[slot]);
            row->addWidget(lblName[slot], 1);
            channels->addWidget(FrameAT[slot], c / 2, c % 2);
        }
        cards->addWidget(Frame1[card]);
    }

    cmdOK = makeButton(this, "cmdOK", tr("OK"));
    cmdCancel = makeButton(this, "cmdCancel", tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(cards);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmTaskManager::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTaskManager::cmdCancel_Click);

    Form_Load();
}

void frmTaskManager::Form_Load() {
    for (int i = 0; i < kUsedChannels; ++i) {
        chkScan[i]->setChecked(true);
        chkScan[i]->setEnabled(false);
        const QString caption = QStringLiteral("Channel ") + QString::number(i);
        FrameAT[i]->setTitle(caption);
        // A name left as its default would only repeat the caption.
        const QString name = QString::fromStdString(state_.ChannelName[i]);
        const bool ownName = !name.trimmed().isEmpty() && name != caption;
        lblName[i]->setText(ownName ? name : QString());
        lblName[i]->setAccessibleName(lblName[i]->text());
        FrameAT[i]->setAccessibleName(caption);
        chkPlot[i]->setChecked(state_.PlotChannel[i]);
        chkSave[i]->setChecked(state_.SaveChannel[i]);
    }
}

void frmTaskManager::cmdOK_Click() {
    for (int i = 0; i < kUsedChannels; ++i) {
        state_.PlotChannel[i] = chkPlot[i]->isChecked();
        state_.SaveChannel[i] = chkSave[i]->isChecked();
    }
    // Stored is saved, so a program that is killed later keeps the marks. A failure
    // is reported when the program ends and tries again.
    SaveChannelSettings(state_);
    close();
}

void frmTaskManager::cmdCancel_Click() {
    close();
}

}  // namespace vantrel
