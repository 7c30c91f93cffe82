#pragma once

// Dialogs for a run without windows: every message becomes one line on standard
// error (through StandardError(), so a stalled reader holds up nothing), a message
// that would wait for OK is closed at once, and a question for a file or a colour
// is answered "cancelled".

#include "platform/Dialogs.h"

namespace vantrel::platform {

class ConsoleDialogs : public Dialogs {
  public:
    std::optional<std::string> openFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return {}; }
    std::optional<Rgb> chooseColor(Rgb) override { return {}; }
    void showMessage(const Message& message) override;
    void showMessageNonBlocking(const Message& message, std::function<void()> onClosed) override;
};

}  // namespace vantrel::platform
