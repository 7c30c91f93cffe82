#include "history/ui/ExportPlotDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"

namespace vantrel {

namespace {

// From a thumbnail to a poster; a picture wider than this is no longer one file
// an image viewer opens.
constexpr int kFewestPixels = 100;
constexpr int kMostPixels = 10000;

constexpr std::array<QPageSize::PageSizeId, 2> kPapers{QPageSize::A4, QPageSize::Letter};

QSpinBox* PixelBox(const char* name, const QString& caption, QWidget* parent,
                   platform::Dialogs& dialogs) {
    auto* box = new CheckedSpinBox(parent, caption, dialogs);
    box->setRange(kFewestPixels, kMostPixels);
    box->setSuffix(QStringLiteral(" px"));
    return named(box, QString::fromLatin1(name), caption);
}

}  // namespace

ExportPlotDialog::ExportPlotDialog(QWidget* parent, platform::Dialogs& dialogs) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgExportPlot"));
    setWindowTitle(tr("Export Plot"));

    pixels_ = new QWidget(this);
    auto* pixelForm = new QFormLayout(pixels_);
    pixelForm->setContentsMargins(0, 0, 0, 0);
    spnWidth = PixelBox("spnWidth", tr("Width"), pixels_, dialogs);
    spnHeight = PixelBox("spnHeight", tr("Height"), pixels_, dialogs);
    pixelForm->addRow(tr("&Width:"), spnWidth);
    pixelForm->addRow(tr("&Height:"), spnHeight);

    paper_ = new QWidget(this);
    auto* paperForm = new QFormLayout(paper_);
    paperForm->setContentsMargins(0, 0, 0, 0);
    cmbPaper = named(new QComboBox(paper_), QStringLiteral("cmbPaper"), tr("Paper"));
    cmbPaper->addItems({tr("A4 landscape"), tr("Letter landscape")});
    paperForm->addRow(tr("&Paper:"), cmbPaper);

    cmdOK = named(new QPushButton(tr("OK"), this), QStringLiteral("cmdOK"), tr("OK"));
    cmdOK->setDefault(true);
    cmdCancel =
        named(new QPushButton(tr("Cancel"), this), QStringLiteral("cmdCancel"), tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pixels_);
    layout->addWidget(paper_);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ExportPlotDialog::ask(PlotFormat format, const PlotExportSize& size) {
    pixels_->setVisible(format == PlotFormat::Png);
    paper_->setVisible(format == PlotFormat::Pdf);
    spnWidth->setValue(size.width);
    spnHeight->setValue(size.height);
    cmbPaper->setCurrentIndex(size.paper == QPageSize::Letter ? 1 : 0);
    adjustSize();
}

PlotExportSize ExportPlotDialog::chosen() const {
    return {spnWidth->value(), spnHeight->value(),
            kPapers[static_cast<std::size_t>(std::max(0, cmbPaper->currentIndex()))]};
}

}  // namespace vantrel
