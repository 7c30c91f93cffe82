#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <memory>

namespace vantrel::platform {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox* makeBox(const Message& message, QWidget* parent) {
    auto* box = new QMessageBox(toQtIcon(message.icon), QString::fromStdString(message.title),
                                QString::fromStdString(message.text), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

std::optional<std::string> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString::fromStdString(request.title),
                       QString::fromStdString(request.initialPath), toQtFilter(request.filter));
    dialog.setAcceptMode(mode);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        // A name typed without an extension takes the kind of file chosen below it.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) {
                             const QString suffix = FilterSuffix(filter);
                             if (!suffix.isEmpty()) {
                                 dialog.setDefaultSuffix(suffix);
                             }
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace

QString FilterSuffix(const QString& filter) {
    const qsizetype open = filter.indexOf(QStringLiteral("(*."));
    if (open < 0) {
        return {};
    }
    const qsizetype start = open + 3;
    qsizetype end = start;
    while (end < filter.size() && filter[end].isLetterOrNumber()) {
        ++end;
    }
    return filter.mid(start, end - start);
}

QString toQtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        entries << (description.contains(QLatin1Char('('))
                        ? description
                        : QStringLiteral("%1 (%2)").arg(description, parts[i + 1]));
    }
    return entries.join(QStringLiteral(";;"));
}

QWidget* QtDialogs::parentWidget() const {
    if (owner_) {
        return owner_;
    }
    return QApplication::activeWindow();
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
    return runFileDialog(parentWidget(), request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
    return runFileDialog(parentWidget(), request, QFileDialog::AcceptSave);
}

std::optional<Rgb> QtDialogs::chooseColor(Rgb initial) {
    const QColor chosen =
        QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), parentWidget());
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Rgb{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
               static_cast<std::uint8_t>(chosen.blue())};
}

std::optional<std::string> QtDialogs::askText(const TextRequest& request) {
    QInputDialog box(parentWidget());
    box.setObjectName(QStringLiteral("dlgAskText"));
    box.setWindowTitle(QString::fromStdString(request.title));
    box.setLabelText(QString::fromStdString(request.label));
    box.setInputMode(QInputDialog::TextInput);
    if (auto* line = box.findChild<QLineEdit*>()) {
        line->setMaxLength(request.maxLength);
    }
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue().toStdString();
}

bool QtDialogs::confirm(const Question& question) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(question.title),
                    QString::fromStdString(question.text), QMessageBox::NoButton, parentWidget());
    box.setObjectName(QStringLiteral("dlgConfirm"));
    QPushButton* proceed =
        box.addButton(QString::fromStdString(question.proceedCaption), QMessageBox::AcceptRole);
    // Enter or Escape on a box that came unexpectedly keeps everything as it was.
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == proceed;
}

void QtDialogs::showMessage(const Message& message) {
    QMessageBox* box = makeBox(message, parentWidget());
    box->exec();
}

void QtDialogs::showMessageNonBlocking(const Message& message, std::function<void()> onClosed) {
    QMessageBox* box = makeBox(message, parentWidget());
    box->setModal(false);
    // A box whose window closes first goes without finishing; onClosed must still
    // run, once, or its caller would wait for it forever.
    auto pending = std::make_shared<std::function<void()>>(std::move(onClosed));
    const auto runOnce = [pending] {
        std::function<void()> callback = std::move(*pending);
        *pending = nullptr;
        if (callback) {
            callback();
        }
    };
    QObject::connect(box, &QMessageBox::finished, box, [runOnce](int) { runOnce(); });
    QObject::connect(box, &QObject::destroyed, runOnce);
    box->show();
}

}  // namespace vantrel::platform
