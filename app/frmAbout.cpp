#include "app/frmAbout.h"

#include <QFont>
#include <QVBoxLayout>
#include <QtGlobal>

#include "BuildDate.h"

namespace vantrel {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The notice the licence asks a program to show, with the licence's name.
const char* const kLicenceNotice =
    "Copyright \u00a9 2025 Vantrel developers\n"
    "Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later)\n"
    "\n"
    "This program is free software: you can redistribute it and/or modify it under "
    "the terms of the GNU General Public License as published by the Free Software "
    "Foundation, either version 3 of the License, or (at your option) any later "
    "version.\n"
    "\n"
    "This program is distributed in the hope that it will be useful, but WITHOUT ANY "
    "WARRANTY; without even the implied warranty of MERCHANTABILITY or FITNESS FOR A "
    "PARTICULAR PURPOSE. See the GNU General Public License for more details.";

}  // namespace

frmAbout::frmAbout(QWidget* parent, Role role) : QDialog(parent), role_(role) {
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

    if (role_ == Role::About) {
        addAboutDetails();
    }
}

void frmAbout::addAboutDetails() {
    // The Qt the program runs on, which may be newer than the one it was built with.
    lblBuild =
        makeLabel(this, "lblBuild",
                  QStringLiteral("Version " VANTREL_VERSION ", built " VANTREL_BUILD_DATE "\nQt %1")
                      .arg(QString::fromLatin1(qVersion())));
    lblLicence = makeLabel(this, "lblLicence", QString::fromUtf8(kLicenceNotice));
    lblLicence->setWordWrap(true);
    lblLicence->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblLicence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblLicence->setFixedWidth(lblLicence->fontMetrics().averageCharWidth() * 64);
    cmdClose = new QPushButton(tr("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addSpacing(12);
    layout->addWidget(lblBuild);
    layout->addSpacing(12);
    layout->addWidget(lblLicence);
    layout->addSpacing(12);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
}

void frmAbout::showEvent(QShowEvent* event) {
    // The two seconds run from the moment the splash appears; the about box waits
    // for Close, as its licence takes longer to read.
    if (role_ == Role::Splash) {
        Timer1->start();
    }
    QDialog::showEvent(event);
}

void frmAbout::Timer1_Timer() {
    Timer1->stop();
    accept();
}

}  // namespace vantrel
