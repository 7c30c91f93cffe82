#include "app/frmStatus.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPalette>
#include <optional>

#include "acquisition/StatusText.h"
#include "engine/CardView.h"
#include "platform/qt/ControlNames.h"

namespace vantrel {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text,
                  std::optional<QColor> background, std::optional<QColor> foreground) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumHeight(24);
    QPalette palette = label->palette();
    if (background) {
        palette.setColor(QPalette::Window, *background);
        label->setAutoFillBackground(true);
    }
    if (foreground) {
        palette.setColor(QPalette::WindowText, *foreground);
    }
    label->setPalette(palette);
    return label;
}

void setText(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
        label->setAccessibleName(text);
    }
}

}  // namespace

frmStatus::frmStatus(const AcquisitionState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("frmStatus"));
    setWindowTitle(tr("Card Status"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int card = 0; card < 2; ++card) {
        const int column = card * 2;
        lblStatus[card] =
            makeLabel(this, indexedName("lblStatus", card), QStringLiteral("Card Disconnected"),
                      QColor(224, 224, 224), std::nullopt);
        lblUSB[card] = makeLabel(this, indexedName("lblUSB", card), QStringLiteral("USB : COM 1"),
                                 QColor(128, 128, 255), QColor(255, 255, 255));
        lblFault[card] = makeLabel(this, indexedName("lblFault", card), QStringLiteral("Fault"),
                                   QColor(128, 255, 128), QColor(0, 0, 255));
        lblTask[card] =
            makeLabel(this, indexedName("lblTask", card), QStringLiteral("No Task Running "),
                      QColor(255, 255, 0), QColor(255, 0, 0));
        grid->addWidget(lblStatus[card], 0, column, 1, 2);
        grid->addWidget(lblUSB[card], 1, column);
        grid->addWidget(lblFault[card], 1, column + 1);
        grid->addWidget(lblTask[card], 2, column, 1, 2);
    }
    lblSave = makeLabel(this, QStringLiteral("lblSave"), QStringLiteral("Save"),
                        QColor(192, 255, 255), std::nullopt);
    grid->addWidget(lblSave, 3, 0, 1, 2);
    lblMqtt = makeLabel(this, QStringLiteral("lblMqtt"), QString(), std::nullopt, std::nullopt);
    lblMqtt->hide();
    grid->addWidget(lblMqtt, 4, 0, 1, 4);
    lblFile = makeLabel(this, QStringLiteral("lblFile"), QStringLiteral("No log file"),
                        QColor(192, 255, 255), std::nullopt);
    // A long name must not widen the window: it is shortened in the middle, so its
    // start and its date and notes stay in sight; the whole path is in the tip.
    lblFile->setMinimumWidth(1);
    lblFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblFile->installEventFilter(this);
    fileText_ = lblFile->text();
    grid->addWidget(lblFile, 3, 2, 1, 2);
    for (int column = 0; column < 4; ++column) {
        grid->setColumnMinimumWidth(column, 110);
    }

    tmrStatus = new QTimer(this);
    tmrStatus->setObjectName(QStringLiteral("tmrStatus"));
    tmrStatus->setInterval(kRefreshMilliseconds);
    connect(tmrStatus, &QTimer::timeout, this, &frmStatus::tmrStatus_Timer);

    Form_Load();
    tmrStatus->start();
}

void frmStatus::Form_Load() {
    // Until the first tick only the port and a missing port are shown.
    for (int card = 0; card < 2; ++card) {
        const acquisition::CardStatusText text = acquisition::CardStatus(state_, card);
        if (!CardOf(state_, card).PortOpen) {
            setText(lblFault[card], QString::fromStdString(text.fault));
        }
        setText(lblUSB[card], QString::fromStdString(text.port));
    }
}

void frmStatus::tmrStatus_Timer() {
    refreshCard(0);
    refreshCard(1);
    setText(lblSave, closingNote_.isEmpty()
                         ? QString::fromStdString(acquisition::SaveStatus(state_))
                         : closingNote_);
    const QString fileText = QString::fromStdString(acquisition::LogFileStatus(state_));
    if (fileText != fileText_) {
        fileText_ = fileText;
        showFileText();
    }
    lblFile->setToolTip(state_.Saving ? QString::fromStdString(state_.LogFileInUse) : QString());
    refreshBroker();
}

void frmStatus::showFileText() {
    const int room =
        lblFile->contentsRect().width() - 2 * lblFile->fontMetrics().averageCharWidth();
    lblFile->setText(lblFile->fontMetrics().elidedText(fileText_, Qt::ElideMiddle, room));
    // Read out whole.
    lblFile->setAccessibleName(fileText_);
}

bool frmStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblFile && event->type() == QEvent::Resize) {
        showFileText();
    }
    return QWidget::eventFilter(watched, event);
}

void frmStatus::setBrokerLine(std::function<std::string()> line) {
    brokerLine_ = std::move(line);
    refreshBroker();
}

void frmStatus::refreshBroker() {
    const QString broker = brokerLine_ ? QString::fromStdString(brokerLine_()) : QString();
    setText(lblMqtt, broker);
    lblMqtt->setVisible(!broker.isEmpty());
}

void frmStatus::refreshCard(int card) {
    const acquisition::CardStatusText text = acquisition::CardStatus(state_, card);
    setText(lblStatus[card], QString::fromStdString(text.status));
    setText(lblUSB[card], QString::fromStdString(text.port));
    setText(lblFault[card], QString::fromStdString(text.fault));
    setText(lblTask[card], QString::fromStdString(text.task));
}

void frmStatus::ShowClosingNote(const QString& text) {
    closingNote_ = text;
    lblSave->setWordWrap(true);
    setText(lblSave, text);
}

}  // namespace vantrel
