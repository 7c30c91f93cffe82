#pragma once

// A plot written to a file fit to print or to show: a PNG of a chosen pixel size,
// or a PDF page of A4 or Letter paper, landscape, drawn as vectors. While it is
// written the plot wears what a picture away from the window needs: a title, the
// legend below the data instead of over it, and the cursors' times.

#include <QPageSize>
#include <QString>
#include <vector>

class QCustomPlot;
class QCPItemText;
class QCPLayoutGrid;
class QCPTextElement;

namespace vantrel {

enum class PlotFormat { Png, Pdf };

// By the file's extension, in any letter case: ".pdf" is a PDF, any other a PNG.
PlotFormat FormatOfFile(const QString& path);

struct PlotExportSize {
    int width = 1920;  // of a PNG, in pixels
    int height = 1080;
    QPageSize::PageSizeId paper = QPageSize::A4;  // of a PDF
    bool operator==(const PlotExportSize&) const = default;
};

struct CursorMark {
    double x = 0.0;  // in plot units
    QString text;    // at the top of the cursor's line
};

// The plot as exported, for as long as this lives; the screen's look comes back
// after it. legendNames: one per graph, in graph order.
class ExportDressing {
  public:
    ExportDressing(QCustomPlot& plot, const QString& title, const std::vector<QString>& legendNames,
                   const std::vector<CursorMark>& cursors);
    ~ExportDressing();
    ExportDressing(const ExportDressing&) = delete;
    ExportDressing& operator=(const ExportDressing&) = delete;

  private:
    QCustomPlot& plot_;
    std::vector<QString> screenNames_;
    QCPTextElement* title_ = nullptr;
    QCPLayoutGrid* legendRow_ = nullptr;
    std::vector<QCPItemText*> cursorTexts_;
};

// False when the file could not be written.
bool SavePlot(QCustomPlot& plot, const QString& path, PlotFormat format, const PlotExportSize& size,
              const QString& title);

}  // namespace vantrel
