#pragma once

// Number fields that refuse a bad entry instead of reading it as 0: a line edit
// guarded by CheckedEntry and a spin box that says why a letter does not go in.
// Both read the number with the user's decimal mark and show the refusal through
// the program's dialogs, so tests read the message the user would have seen.

#include <QLineEdit>
#include <QObject>
#include <QSpinBox>
#include <QString>

#include "platform/CheckedNumber.h"
#include "platform/Dialogs.h"

namespace vantrel {

// The user's decimal mark, the one numbers on screen are shown with.
char ScreenDecimalMark();

// Watches one line edit (and lives as its child). When the user finishes editing
// it (Return, or focus leaving it) the text is checked; a refused text brings the
// message, the field's previous text back and the focus on the field. Text set by
// the program (setText) is taken as it is and becomes the text kept: files keep
// their lenient reading.
class CheckedEntry : public QObject {
    Q_OBJECT
  public:
    // caption names the field in the message ("Input Range CH4").
    static CheckedEntry* Guard(QLineEdit* field, const QString& caption, const AllowedRange& range,
                               platform::Dialogs& dialogs);
    // The guard of a field, or nullptr when it has none.
    static CheckedEntry* Of(const QLineEdit* field);

    // Checks the text if the user changed it since it was last kept; false after a
    // refusal (the message shown, the previous text back).
    bool check();
    // The last text accepted or set by the program.
    const QString& keptText() const { return kept_; }

  signals:
    void accepted(const CheckedNumber& number);

  private:
    CheckedEntry(QLineEdit* field, const QString& caption, const AllowedRange& range,
                 platform::Dialogs& dialogs);
    QLineEdit* field_;
    QString caption_;
    AllowedRange range_;
    platform::Dialogs& dialogs_;
    QString kept_;
};

// Every guarded field of a window, checked before the window uses their values
// (a button clicked without the field losing focus first): false at the first
// refusal, which has been shown.
bool CheckEntries(const QWidget& window);

// A whole-number spin box that answers a letter typed or pasted with the refusal
// message, rather than silently dropping it ("18x3" would become 183).
class CheckedSpinBox : public QSpinBox {
    Q_OBJECT
  public:
    CheckedSpinBox(QWidget* parent, const QString& caption, platform::Dialogs& dialogs);

  protected:
    QValidator::State validate(QString& input, int& pos) const override;

  private:
    void refuse(const QString& typed) const;
    QString caption_;
    platform::Dialogs& dialogs_;
    mutable bool refusing_ = false;
};

}  // namespace vantrel
