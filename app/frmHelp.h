#pragma once

// The user manual inside the program: its contents, built from the manual's
// headings, beside the text, a search field with next and previous, and Back and
// Forward through the places visited. The manual is built into the program, so
// it opens wherever the program runs.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWidget>

namespace vantrel {

class frmHelp : public QWidget {
    Q_OBJECT

  public:
    explicit frmHelp(QWidget* parent = nullptr);

    QPushButton* cmdBack = nullptr;
    QPushButton* cmdForward = nullptr;
    QLineEdit* txtFind = nullptr;
    QPushButton* cmdFindPrevious = nullptr;
    QPushButton* cmdFindNext = nullptr;
    QLabel* lblFind = nullptr;
    QTreeWidget* treContents = nullptr;
    QTextBrowser* txtManual = nullptr;

  private:
    // One entry a heading, nested by heading level.
    void fillContents();
    void goToEntry(const QTreeWidgetItem* entry);
    // Finds the search text after (or before) the current place, going round the
    // end once; says so when the text is nowhere.
    void find(bool backwards);
};

}  // namespace vantrel
