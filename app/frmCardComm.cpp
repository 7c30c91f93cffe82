#include "app/frmCardComm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "app/PortChoice.h"
#include "engine/CardView.h"
#include "platform/qt/ControlNames.h"

namespace vantrel {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption);
    return button;
}

}  // namespace

frmCardComm::frmCardComm(AcquisitionState& state, platform::Dialogs& dialogs, Services services,
                         QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmCardComm"));
    setWindowTitle(tr("Card Communication"));

    auto* groups = new QHBoxLayout;
    for (int index = 0; index < 2; ++index) {
        const QString title = index == 0 ? tr("Select COM - Card 1") : tr("Select COM - Card 2");
        Frame1[index] = new QGroupBox(title, this);
        Frame1[index]->setObjectName(indexedName("Frame1", index));
        Frame1[index]->setAccessibleName(title);

        cmbComm[index] = new QComboBox(Frame1[index]);
        cmbComm[index]->setObjectName(indexedName("cmbComm", index));
        cmbComm[index]->setEditable(true);
        cmbComm[index]->setInsertPolicy(QComboBox::NoInsert);
        cmbComm[index]->setAccessibleName(title);

        Shape1[index] = new QFrame(Frame1[index]);
        Shape1[index]->setObjectName(indexedName("Shape1", index));
        Shape1[index]->setFixedSize(14, 14);
        Shape1[index]->setFrameShape(QFrame::Box);
        Shape1[index]->setAutoFillBackground(true);
        QPalette palette = Shape1[index]->palette();
        palette.setColor(QPalette::Window, QColor(0, 128, 0));
        Shape1[index]->setPalette(palette);

        lblDevice[index] = new QLabel(Frame1[index]);
        lblDevice[index]->setObjectName(indexedName("lblDevice", index));
        lblDevice[index]->setMinimumWidth(120);

        auto* row = new QHBoxLayout(Frame1[index]);
        row->addWidget(Shape1[index]);
        row->addWidget(cmbComm[index]);
        row->addWidget(lblDevice[index]);
        groups->addWidget(Frame1[index]);
    }

    cmdConnect = makeButton(this, "cmdConnect", tr("Connect"));
    cmdOK = makeButton(this, "cmdOK", tr("OK"));
    cmdCancel = makeButton(this, "cmdCancel", tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdConnect);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    Form_Load();

    connect(cmdConnect, &QPushButton::clicked, this, &frmCardComm::cmdConnect_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCardComm::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCardComm::cmdCancel_Click);
    for (int index = 0; index < 2; ++index) {
        connect(cmbComm[index], &QComboBox::currentTextChanged, this,
                [this, index] { cmbComm_Change(index); });
    }
}

void frmCardComm::Form_Load() {
    QStringList entries;
    entries.reserve(kLastPortNumber);
    for (int n = kFirstPortNumber; n <= kLastPortNumber; ++n) {
        entries << QString::fromStdString(PortChoiceText(n));
    }
    for (int index = 0; index < 2; ++index) {
        cmbComm[index]->addItems(entries);
        // A number outside the list (only by editing the file) shows no selection;
        // the stored value changes only on OK.
        const int port = CardOf(std::as_const(state_), index).ComPort;
        if (port >= kFirstPortNumber && port <= kLastPortNumber) {
            cmbComm[index]->setCurrentIndex(port - 1);
        } else {
            cmbComm[index]->setCurrentIndex(-1);
            cmbComm[index]->setEditText(QString());
        }
        cmbComm_Change(index);
    }
}

void frmCardComm::cmbComm_Change(int index) {
    const std::optional<int> port = ParsePortChoice(cmbComm[index]->currentText().toStdString());
    QString device;
    if (port && services_.deviceName) {
        device = QString::fromStdString(services_.deviceName(*port));
    }
    lblDevice[index]->setText(device);
    lblDevice[index]->setAccessibleName(device);
}

std::optional<std::array<int, 2>> frmCardComm::ChosenPorts() {
    std::array<int, 2> ports{};
    for (int index = 0; index < 2; ++index) {
        const std::optional<int> port =
            ParsePortChoice(cmbComm[index]->currentText().toStdString());
        if (!port) {
            // Storing a port the program cannot open would lose the card at the next
            // start; ask again instead.
            dialogs_.showMessage(
                {"Choose a port from COM 1 to COM 255 for card " + std::to_string(index + 1) + ".",
                 "Card Communication", platform::MessageIcon::Warning});
            cmbComm[index]->setFocus();
            return std::nullopt;
        }
        ports[index] = *port;
    }
    if (ports[0] == ports[1]) {
        // One port cannot reach two cards: the second would never be found.
        dialogs_.showMessage({"Card 1 and card 2 cannot share " + PortChoiceText(ports[1]) +
                                  ". Choose another port for card 2.",
                              "Card Communication", platform::MessageIcon::Warning});
        cmbComm[1]->setFocus();
        return std::nullopt;
    }
    return ports;
}

bool frmCardComm::StorePorts(const std::array<int, 2>& ports) {
    state_.ComPort1 = static_cast<std::int16_t>(ports[0]);
    state_.ComPort2 = static_cast<std::int16_t>(ports[1]);
    if (services_.savePorts) {
        if (std::optional<std::string> failure = services_.savePorts(state_)) {
            dialogs_.showMessage({*failure, "Vantrel", platform::MessageIcon::Critical});
            close();
            if (services_.endProgram) {
                services_.endProgram();
            }
            return false;
        }
    }
    return true;
}

void frmCardComm::cmdOK_Click() {
    if (const auto ports = ChosenPorts(); ports && StorePorts(*ports)) {
        close();
    }
}

void frmCardComm::cmdCancel_Click() {
    close();
}

void frmCardComm::cmdConnect_Click() {
    // Stored as OK stores them, then used at once; the window stays open so the
    // status of the cards can be watched.
    if (const auto ports = ChosenPorts(); ports && StorePorts(*ports) && services_.applyPorts) {
        services_.applyPorts();
    }
}

}  // namespace vantrel
