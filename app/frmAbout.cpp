#include "app/frmAbout.h"

#include <QFont>
#include <QVBoxLayout>

namespace vantrel {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Vantrel"));

    lblName = makeLabel(this, "lblName", QStringLiteral("Vantrel"));
    QFont nameFont = lblName->font();
    nameFont.setPointSize(nameFont.pointSize() * 2);
    nameFont.setBold(true);
    lblName->setFont(nameFont);
    lblVersion = makeLabel(this, "lblVersion", QStringLiteral("Ver.1.0"));
    lblProduct = makeLabel(this, "lblProduct", QStringLiteral("Data Acquisition Solution"));
    lblChannels = makeLabel(this, "lblChannels", QStringLiteral("16 Channel"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(lblName);
    layout->addWidget(lblVersion);
    layout->addWidget(lblProduct);
    layout->addWidget(lblChannels);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kShowMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
}

void frmAbout::showEvent(QShowEvent* event) {
    // The two seconds run from the moment the box appears.
    Timer1->start();
    QDialog::showEvent(event);
}

void frmAbout::Timer1_Timer() {
    Timer1->stop();
    accept();
}

}  // namespace vantrel
