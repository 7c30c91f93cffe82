#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace vantrel::testing {

// Scripted dialogs: queue what the user will pick, read what was asked and shown.
// An empty queue answers "cancelled".
class FakeDialogs : public platform::Dialogs {
  public:
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<platform::Rgb>> colorAnswers;
    std::deque<std::optional<std::string>> textAnswers;
    std::deque<bool> confirmAnswers;

    std::vector<platform::FileDialogRequest> openRequests;
    std::vector<platform::FileDialogRequest> saveRequests;
    std::vector<platform::Rgb> colorRequests;
    std::vector<platform::TextRequest> textRequests;
    std::vector<platform::Question> questions;
    std::vector<platform::Message> messages;             // modal ones
    std::vector<platform::Message> nonBlockingMessages;  // still "open" until closeNonBlocking
    std::vector<std::function<void()>> pendingCloses;

    std::optional<std::string> openFile(const platform::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const platform::FileDialogRequest& request) override;
    std::optional<platform::Rgb> chooseColor(platform::Rgb initial) override;
    std::optional<std::string> askText(const platform::TextRequest& request) override;
    bool confirm(const platform::Question& question) override;
    void showMessage(const platform::Message& message) override { messages.push_back(message); }
    void showMessageNonBlocking(const platform::Message& message,
                                std::function<void()> onClosed) override;

    // The user closes the oldest open non-blocking message box.
    void closeNonBlocking();
};

}  // namespace vantrel::testing
