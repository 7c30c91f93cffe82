#pragma once

// What size an exported plot has: the pixels of a PNG, or the paper of a PDF page.
// It shows the choice of the format the file was named in, starting from the size
// chosen last.

#include <QDialog>

#include "history/ui/PlotExport.h"
#include "platform/Dialogs.h"

class QComboBox;
class QPushButton;
class QSpinBox;

namespace vantrel {

class ExportPlotDialog : public QDialog {
    Q_OBJECT

  public:
    ExportPlotDialog(QWidget* parent, platform::Dialogs& dialogs);

    // Shows the controls of format, set to size.
    void ask(PlotFormat format, const PlotExportSize& size);
    PlotExportSize chosen() const;

    QSpinBox* spnWidth = nullptr;
    QSpinBox* spnHeight = nullptr;
    QComboBox* cmbPaper = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    QWidget* pixels_ = nullptr;
    QWidget* paper_ = nullptr;
};

}  // namespace vantrel
