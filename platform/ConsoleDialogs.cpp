#include "platform/ConsoleDialogs.h"

#include <string>

#include "platform/ConsoleWriter.h"

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
    WriteErrorLine("vantrel: " + message.title + ": " + text);
}

void ConsoleDialogs::showMessageNonBlocking(const Message& message,
                                            std::function<void()> onClosed) {
    showMessage(message);
    if (onClosed) {
        onClosed();
    }
}

}  // namespace vantrel::platform
