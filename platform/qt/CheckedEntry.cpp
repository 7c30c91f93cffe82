#include "platform/qt/CheckedEntry.h"

#include <QLocale>
#include <QTimer>

namespace vantrel {

namespace {

// Titled after the field's own window, which in the main window's work area is a
// child window rather than the top-level one.
platform::Message Refusal(const std::string& text, const QWidget& field) {
    const QWidget* titled = &field;
    while (titled->windowTitle().isEmpty() && titled->parentWidget() != nullptr) {
        titled = titled->parentWidget();
    }
    return {text, titled->windowTitle().toStdString(), platform::MessageIcon::Warning};
}

}  // namespace

char ScreenDecimalMark() {
    const QString mark = QLocale().decimalPoint();
    return mark.size() == 1 && mark.at(0).unicode() < 0x80 ? mark.at(0).toLatin1() : '.';
}

CheckedEntry::CheckedEntry(QLineEdit* field, const QString& caption, const AllowedRange& range,
                           platform::Dialogs& dialogs)
    : QObject(field),
      field_(field),
      caption_(caption),
      range_(range),
      dialogs_(dialogs),
      kept_(field->text()) {
    setObjectName(QStringLiteral("checkedEntry"));
    // setText clears the modified flag before it tells of the change, which is how
    // the program's own text is told from the user's.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!field_->isModified()) {
            kept_ = text;
        }
    });
    connect(field, &QLineEdit::editingFinished, this, [this] { check(); });
}

CheckedEntry* CheckedEntry::Guard(QLineEdit* field, const QString& caption,
                                  const AllowedRange& range, platform::Dialogs& dialogs) {
    return new CheckedEntry(field, caption, range, dialogs);
}

CheckedEntry* CheckedEntry::Of(const QLineEdit* field) {
    return field->findChild<CheckedEntry*>(QStringLiteral("checkedEntry"),
                                           Qt::FindDirectChildrenOnly);
}

bool CheckedEntry::check() {
    if (!field_->isModified()) {
        return true;
    }
    const CheckedNumber number = CheckNumber(field_->text().toStdString(), ScreenDecimalMark(),
                                             caption_.toStdString(), range_);
    if (!number.accepted) {
        field_->setText(kept_);
        dialogs_.showMessage(Refusal(number.refusal, *field_));
        field_->setFocus();
        field_->selectAll();
        return false;
    }
    field_->setModified(false);
    kept_ = field_->text();
    emit accepted(number);
    return true;
}

bool CheckEntries(const QWidget& window) {
    for (CheckedEntry* entry : window.findChildren<CheckedEntry*>(QStringLiteral("checkedEntry"))) {
        if (!entry->check()) {
            return false;
        }
    }
    return true;
}

CheckedSpinBox::CheckedSpinBox(QWidget* parent, const QString& caption, platform::Dialogs& dialogs)
    : QSpinBox(parent), caption_(caption), dialogs_(dialogs) {}

QValidator::State CheckedSpinBox::validate(QString& input, int& pos) const {
    QString number = input;
    if (!prefix().isEmpty() && number.startsWith(prefix())) {
        number.remove(0, prefix().size());
    }
    if (!suffix().isEmpty() && number.endsWith(suffix())) {
        number.chop(suffix().size());
    }
    for (const QChar c : number) {
        if (!c.isDigit() && c != QLatin1Char('-') && c != QLatin1Char('+') && !c.isSpace()) {
            refuse(number);
            return QValidator::Invalid;
        }
    }
    return QSpinBox::validate(input, pos);
}

void CheckedSpinBox::refuse(const QString& typed) const {
    // validate() runs inside the edit; the message waits until the edit is over.
    if (refusing_) {
        return;
    }
    refusing_ = true;
    const AllowedRange range{.min = static_cast<double>(minimum()),
                             .max = static_cast<double>(maximum()),
                             .integerOnly = true};
    const std::string text =
        CheckNumber(typed.toStdString(), ScreenDecimalMark(), caption_.toStdString(), range)
            .refusal;
    QTimer::singleShot(0, this, [this, text] {
        dialogs_.showMessage(Refusal(text, *this));
        refusing_ = false;
    });
}

}  // namespace vantrel
