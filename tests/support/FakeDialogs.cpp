#include "tests/support/FakeDialogs.h"

namespace vantrel::testing {

namespace {
template <typename T>
std::optional<T> take(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<T> answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

std::optional<std::string> FakeDialogs::openFile(const platform::FileDialogRequest& request) {
    openRequests.push_back(request);
    return take(openAnswers);
}

std::optional<std::string> FakeDialogs::saveFile(const platform::FileDialogRequest& request) {
    saveRequests.push_back(request);
    return take(saveAnswers);
}

std::optional<platform::Rgb> FakeDialogs::chooseColor(platform::Rgb initial) {
    colorRequests.push_back(initial);
    return take(colorAnswers);
}

std::optional<std::string> FakeDialogs::askText(const platform::TextRequest& request) {
    textRequests.push_back(request);
    return take(textAnswers);
}

bool FakeDialogs::confirm(const platform::Question& question) {
    questions.push_back(question);
    if (confirmAnswers.empty()) {
        return false;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void FakeDialogs::showMessageNonBlocking(const platform::Message& message,
                                         std::function<void()> onClosed) {
    nonBlockingMessages.push_back(message);
    pendingCloses.push_back(std::move(onClosed));
}

void FakeDialogs::closeNonBlocking() {
    if (pendingCloses.empty()) {
        return;
    }
    std::function<void()> onClosed = std::move(pendingCloses.front());
    pendingCloses.erase(pendingCloses.begin());
    if (onClosed) {
        onClosed();
    }
}

}  // namespace vantrel::testing
