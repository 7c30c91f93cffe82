#pragma once

// Dialogs that pass through to the real ones until the program has to end with no
// person at hand (a termination signal, a lost display). From then on nothing
// waits for an answer: a file or colour dialog is cancelled, and a message box
// becomes a line on standard error, also handed to a note shown where it still can
// be seen.

#include <functional>

#include "platform/ConsoleDialogs.h"
#include "platform/Dialogs.h"

namespace vantrel::platform {

class UnattendedDialogs : public Dialogs {
  public:
    using Note = std::function<void(const Message&)>;

    explicit UnattendedDialogs(Dialogs& attended) : attended_(attended) {}

    // From now on no dialog waits for a person; note (may be empty) sees each
    // message as well.
    void goUnattended(Note note);
    bool unattended() const { return unattended_; }

    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<Rgb> chooseColor(Rgb initial) override;
    std::optional<std::string> askText(const TextRequest& request) override;
    bool confirm(const Question& question) override;
    void showMessage(const Message& message) override;
    void showMessageNonBlocking(const Message& message, std::function<void()> onClosed) override;

  private:
    void report(const Message& message);

    Dialogs& attended_;
    ConsoleDialogs console_;
    bool unattended_ = false;
    Note note_;
};

}  // namespace vantrel::platform
