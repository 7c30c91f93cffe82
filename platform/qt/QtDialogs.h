#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

namespace vantrel::platform {

// Real dialogs, owned by the given window (the main window in the program).
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<Rgb> chooseColor(Rgb initial) override;
    std::optional<std::string> askText(const TextRequest& request) override;
    bool confirm(const Question& question) override;
    void showMessage(const Message& message) override;
    void showMessageNonBlocking(const Message& message, std::function<void()> onClosed) override;

  private:
    QWidget* parentWidget() const;
    QPointer<QWidget> owner_;
};

// "Config Files (*.cfg)|*.cfg" -> "Config Files (*.cfg)"; pairs become ";;"-separated.
QString toQtFilter(const std::string& filter);
// The extension of a filter's first pattern: "PDF Document (*.pdf)" -> "pdf"; empty
// for one that names no extension ("All Files (*)").
QString FilterSuffix(const QString& filter);

}  // namespace vantrel::platform
