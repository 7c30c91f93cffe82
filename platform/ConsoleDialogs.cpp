#include "platform/ConsoleDialogs.h"

#include <string>

namespace vantrel::platform {

void ConsoleDialogs::showMessage(const Message& message) {
    // A message of several paragraphs stays one line, so each line of the stream is
    // one message.
    std::string text = message.text;
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::fprintf(out_, "vantrel: %s: %s\n", message.title.c_str(), text.c_str());
    std::fflush(out_);
}

void ConsoleDialogs::showMessageNonBlocking(const Message& message,
                                            std::function<void()> onClosed) {
    showMessage(message);
    if (onClosed) {
        onClosed();
    }
}

}  // namespace vantrel::platform
