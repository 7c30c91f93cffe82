#include "platform/UnattendedDialogs.h"

namespace vantrel::platform {

void UnattendedDialogs::goUnattended(Note note) {
    unattended_ = true;
    note_ = std::move(note);
}

std::optional<std::string> UnattendedDialogs::openFile(const FileDialogRequest& request) {
    return unattended_ ? std::nullopt : attended_.openFile(request);
}

std::optional<std::string> UnattendedDialogs::saveFile(const FileDialogRequest& request) {
    return unattended_ ? std::nullopt : attended_.saveFile(request);
}

std::optional<Rgb> UnattendedDialogs::chooseColor(Rgb initial) {
    return unattended_ ? std::nullopt : attended_.chooseColor(initial);
}

std::optional<std::string> UnattendedDialogs::askText(const TextRequest& request) {
    return unattended_ ? std::nullopt : attended_.askText(request);
}

bool UnattendedDialogs::confirm(const Question& question) {
    return !unattended_ && attended_.confirm(question);
}

void UnattendedDialogs::showMessage(const Message& message) {
    if (unattended_) {
        report(message);
        return;
    }
    attended_.showMessage(message);
}

void UnattendedDialogs::showMessageNonBlocking(const Message& message,
                                               std::function<void()> onClosed) {
    if (!unattended_) {
        attended_.showMessageNonBlocking(message, std::move(onClosed));
        return;
    }
    report(message);
    if (onClosed) {
        onClosed();
    }
}

void UnattendedDialogs::report(const Message& message) {
    console_.showMessage(message);
    if (note_) {
        note_(message);
    }
}

}  // namespace vantrel::platform
