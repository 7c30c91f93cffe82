#pragma once

// File, colour and message dialogs, behind an interface so that tests script what
// the user picks and read the messages that were shown, without a modal loop.

#include <functional>
#include <optional>
#include <string>

#include "platform/Color.h"

namespace vantrel::platform {

struct FileDialogRequest {
    std::string title;
    // Filter in "description|pattern" pairs, e.g. "Config Files (*.cfg)|*.cfg".
    std::string filter;
    // Extension without the dot, added to a typed name that has none.
    std::string defaultExtension;
    std::string initialPath;
    // Save dialogs only: ask before a chosen file that exists is replaced. Off for
    // a file that is appended to rather than replaced.
    bool confirmOverwrite = true;
};

enum class MessageIcon { None, Information, Warning, Critical, Question };

// A short line of text the user types: a marker's text.
struct TextRequest {
    std::string title;
    std::string label;
    // The longest text the box takes.
    int maxLength = 100;
};

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
};

// A question with two buttons: one that goes ahead ("Exit") and Cancel.
struct Question {
    std::string text;
    std::string title;
    std::string proceedCaption;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<Rgb> chooseColor(Rgb initial) = 0;
    // The text typed, or nothing when the user cancelled. Dialogs with nobody to
    // ask (standard error, the end of an unattended run) answer "cancelled".
    virtual std::optional<std::string> askText(const TextRequest& request) {
        (void)request;
        return std::nullopt;
    }
    // Whether the user chose to go ahead. Dialogs with nobody to ask answer Cancel.
    virtual bool confirm(const Question& question) {
        (void)question;
        return false;
    }
    // A modal message box with an OK button; returns when the user closed it.
    virtual void showMessage(const Message& message) = 0;
    // A message box that does not block the caller (no nested event loop);
    // onClosed runs once the user has closed it.
    virtual void showMessageNonBlocking(const Message& message, std::function<void()> onClosed) = 0;
};

}  // namespace vantrel::platform
