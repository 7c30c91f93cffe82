#include "history/ui/PlotExport.h"

#include <qcustomplot.h>

#include <QPdfWriter>

namespace vantrel {

namespace {
// Room at the paper's edges that every printer leaves unprinted anyway.
constexpr double kPaperMarginMm = 10.0;
// Legend entries side by side below the data; sixteen channels take six lines.
constexpr int kLegendColumns = 3;
// A PDF drawn in points: the plot's fonts, given in points, keep the size they
// have on a screen of the same width.
constexpr int kPdfDotsPerInch = 72;
}  // namespace

PlotFormat FormatOfFile(const QString& path) {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? PlotFormat::Pdf
                                                                      : PlotFormat::Png;
}

ExportDressing::ExportDressing(QCustomPlot& plot, const QString& title,
                               const std::vector<QString>& legendNames,
                               const std::vector<CursorMark>& cursors)
    : plot_(plot) {
    for (int i = 0; i < plot_.graphCount(); ++i) {
        screenNames_.push_back(plot_.graph(i)->name());
        if (static_cast<std::size_t>(i) < legendNames.size()) {
            plot_.graph(i)->setName(legendNames[static_cast<std::size_t>(i)]);
        }
    }
    QCPLayoutGrid* layout = plot_.plotLayout();
    layout->insertRow(0);
    QFont font = plot_.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    title_ = new QCPTextElement(&plot_, title, font);
    layout->addElement(0, 0, title_);

    // Below the data, centred between two empty cells, as high as its entries need.
    plot_.axisRect()->insetLayout()->take(plot_.legend);
    legendRow_ = new QCPLayoutGrid;
    layout->addElement(2, 0, legendRow_);
    legendRow_->addElement(0, 0, new QCPLayoutElement(&plot_));
    legendRow_->addElement(0, 1, plot_.legend);
    legendRow_->addElement(0, 2, new QCPLayoutElement(&plot_));
    legendRow_->setColumnStretchFactors({1.0, 0.001, 1.0});
    // Room below for the legend's frame, which the page's edge would cut.
    legendRow_->setAutoMargins(QCP::msNone);
    legendRow_->setMargins(QMargins(0, 4, 0, 8));
    layout->setRowStretchFactor(2, 0.001);
    layout->setRowStretchFactor(0, 0.001);
    // The wrap first: a new fill order lays the entries out again by it.
    plot_.legend->setWrap(kLegendColumns);
    plot_.legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot_.legend->setVisible(true);

    // A cursor in the right half writes its time to the left of its line, where
    // there is room.
    const QCPRange range = plot_.xAxis->range();

    for (const CursorMark& cursor : cursors) {
        auto* text = new QCPItemText(&plot_);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(cursor.x, 0.0);
        text->setPositionAlignment(Qt::AlignTop |
                                   (cursor.x > range.center() ? Qt::AlignRight : Qt::AlignLeft));
        text->setPadding(QMargins(3, 2, 3, 2));
        text->setBrush(QBrush(QColor(255, 255, 255, 220)));
        text->setText(cursor.text);
        text->setClipToAxisRect(true);
        cursorTexts_.push_back(text);
    }
}

ExportDressing::~ExportDressing() {
    for (QCPItemText* text : cursorTexts_) {
        plot_.removeItem(text);
    }
    legendRow_->take(plot_.legend);
    plot_.legend->setWrap(0);
    plot_.legend->setFillOrder(QCPLayoutGrid::foRowsFirst);
    QCPLayoutGrid* layout = plot_.plotLayout();
    layout->remove(legendRow_);
    layout->remove(title_);
    layout->simplify();
    layout->setRowStretchFactors({1.0});
    plot_.axisRect()->insetLayout()->addElement(plot_.legend, Qt::AlignTop | Qt::AlignLeft);
    plot_.legend->setVisible(false);
    for (int i = 0; i < plot_.graphCount(); ++i) {
        if (static_cast<std::size_t>(i) < screenNames_.size()) {
            plot_.graph(i)->setName(screenNames_[static_cast<std::size_t>(i)]);
        }
    }
}

bool SavePlot(QCustomPlot& plot, const QString& path, PlotFormat format, const PlotExportSize& size,
              const QString& title) {
    if (format == PlotFormat::Png) {
        return plot.savePng(path, size.width, size.height);
    }
    QPdfWriter pdf(path);
    pdf.setCreator(QStringLiteral("Vantrel"));
    pdf.setTitle(title);
    pdf.setResolution(kPdfDotsPerInch);
    const QPageLayout page(
        QPageSize(size.paper), QPageLayout::Landscape,
        QMarginsF(kPaperMarginMm, kPaperMarginMm, kPaperMarginMm, kPaperMarginMm),
        QPageLayout::Millimeter);
    if (!pdf.setPageLayout(page)) {
        return false;
    }
    QCPPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    // A hairline has no width on paper: every line at least a point.
    painter.setMode(QCPPainter::pmNonCosmetic);
    const QRect area = pdf.pageLayout().paintRectPixels(kPdfDotsPerInch);
    plot.toPainter(&painter, area.width(), area.height());
    return painter.end();
}

}  // namespace vantrel
