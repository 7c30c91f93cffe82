#pragma once

// Dialogs for a run without windows: every message becomes one line on a stream
// (standard error), a message that would wait for OK is closed at once, and a
// question for a file or a colour is answered "cancelled".

#include <cstdio>

#include "platform/Dialogs.h"

namespace vantrel::platform {

class ConsoleDialogs : public Dialogs {
  public:
    explicit ConsoleDialogs(std::FILE* out = stderr) : out_(out) {}

    std::optional<std::string> openFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return {}; }
    std::optional<Rgb> chooseColor(Rgb) override { return {}; }
    void showMessage(const Message& message) override;
    void showMessageNonBlocking(const Message& message, std::function<void()> onClosed) override;

  private:
    std::FILE* out_;
};

}  // namespace vantrel::platform
