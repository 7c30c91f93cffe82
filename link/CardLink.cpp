#include "link/CardLink.h"

#include <algorithm>

#include "link/Commands.h"
#include "link/TaskSequencer.h"

namespace vantrel::link {

namespace {

constexpr std::size_t kVersionLength = 4;

bool sameFailure(const ConversionFailure& a, const ConversionFailure& b) {
    return a.kind == b.kind && a.slot == b.slot;
}

}  // namespace

CardLink::CardLink(AcquisitionState& state, int card, platform::SerialPort& port,
                   platform::Timer& reopenTimer, TaskSequencer& sequencer)
    : CardLink(state, card, port) {
    reopenTimer_ = &reopenTimer;
    sequencer_ = &sequencer;
    reopenTimer_->setHandler([this] { tmrReopen_Timer(); });
}

CardLink::CardLink(AcquisitionState& state, int card, platform::SerialPort& port)
    : state_(state), card_(CardIndex(card)), port_(port), fields_(CardOf(state, card)) {
    port_.setEventHandler([this](int eventCode) { OnReceive(eventCode); });
}

CardLink::~CardLink() {
    port_.setEventHandler(nullptr);
    if (reopenTimer_ != nullptr) {
        reopenTimer_->stop();
        reopenTimer_->setHandler(nullptr);
    }
}

void CardLink::setConversionFailureHandler(ConversionFailureHandler handler) {
    failureHandler_ = std::move(handler);
}

void CardLink::OpenCardPort() {
    port_.setPortNumber(fields_.ComPort);
    port_.open();
    fields_.PortOpen = port_.isOpen();
    if (fields_.PortOpen) {
        SendCommand(kCommandVersion);
    } else if (reopenTimer_ != nullptr) {
        reopenTimer_->start(kReopenIntervalMs, false);
    }
}

void CardLink::SendCommand(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 1);
    line.append(text);
    line.push_back(kFrameEnd);
    port_.send(line);
}

void CardLink::OnReceive(int eventCode) {
    if (eventCode == platform::kEventError) {
        onPortLost();
        return;
    }
    if (eventCode != platform::kEventReceive) {
        return;
    }
    append(port_.readAvailable());
    if (processing_) {
        // The call further up the stack works through what was just appended.
        return;
    }
    processing_ = true;
    processBuffer();
    processing_ = false;
}

void CardLink::append(std::string_view data) {
    if (discarding_) {
        const auto cr = data.find(kFrameEnd);
        if (cr == std::string_view::npos) {
            counters_.discardedBytes += data.size();
            return;
        }
        counters_.discardedBytes += cr + 1;
        data.remove_prefix(cr + 1);
        discarding_ = false;
    }
    if (processing_ && buffer_.size() + data.size() > kPendingLimit) {
        counters_.discardedBytes += data.size();
        dropUnterminatedTail();
        discarding_ = true;
        return;
    }
    buffer_.append(data);
}

void CardLink::processBuffer() {
    std::size_t begin = 0;
    // Indices, not views: a handler may append to the buffer and move it.
    for (;;) {
        const auto cr = buffer_.find(kFrameEnd, begin);
        if (cr == std::string::npos) {
            break;
        }
        judgePiece(begin, cr + 1 - begin);
        begin = cr + 1;
    }
    buffer_.erase(0, std::min(begin, buffer_.size()));
    if (buffer_.size() > kReceiveBufferLimit) {
        counters_.discardedBytes += buffer_.size();
        buffer_.clear();
        discarding_ = true;
    }
}

void CardLink::judgePiece(std::size_t begin, std::size_t length) {
    const std::string_view piece(buffer_.data() + begin, length);
    if (piece.front() == 'V') {
        fields_.CardConnected = true;
        // The CR ends the reply; it is not part of the version.
        fields_.CardVersion.assign(piece.substr(1, std::min(kVersionLength, length - 2)));
        ++counters_.versionReplies;
        if (resumeOnVersion_) {
            resumeOnVersion_ = false;
            if (sequencer_ != nullptr) {
                sequencer_->Resume(card_);
            }
        }
        return;
    }
    if (length == kAnalogFrameLength) {
        fields_.AnalogFrame.assign(piece);
        ++counters_.analogFrames;
        modMain::DecodeAnalogFrame(state_, card_);
        analogFrameConverted(modMain::ConvertFrame(state_, card_));
        return;
    }
    if (length == kDigitalFrameLength) {
        fields_.DigitalFrame.assign(piece);
        ++counters_.digitalFrames;
        modMain::DecodeDigitalFrame(state_, card_);
        return;
    }
    ++counters_.droppedPieces;
}

void CardLink::analogFrameConverted(const std::optional<ConversionFailure>& failure) {
    if (!failure) {
        shownFailure_.reset();
        return;
    }
    // A lasting fault fails every frame; one box per episode says it.
    if (shownFailure_ && sameFailure(*shownFailure_, *failure)) {
        return;
    }
    shownFailure_.reset();
    if (failureHandler_ && failureHandler_(*failure)) {
        shownFailure_ = *failure;
    }
}

void CardLink::dropUnterminatedTail() {
    const auto lastCr = buffer_.rfind(kFrameEnd);
    const std::size_t keep = lastCr == std::string::npos ? 0 : lastCr + 1;
    counters_.discardedBytes += buffer_.size() - keep;
    buffer_.resize(keep);
}

void CardLink::onPortLost() {
    if (fields_.PortLost || !port_.isOpen()) {
        return;
    }
    // A dead handle left open makes the read notifier fire without end.
    port_.close();
    fields_.PortLost = true;
    // Half a frame from before the loss can never be completed.
    dropUnterminatedTail();
    discarding_ = false;
    if (reopenTimer_ != nullptr) {
        reopenTimer_->start(kReopenIntervalMs, false);
    }
}

void CardLink::tmrReopen_Timer() {
    const bool wasOpen = port_.isOpen();
    if (!wasOpen) {
        // The device name is worked out afresh, so a COMn link made since is found.
        port_.open();
    }
    if (!port_.isOpen()) {
        return;
    }
    if (reopenTimer_ != nullptr) {
        reopenTimer_->stop();
    }
    if (wasOpen) {
        return;
    }
    fields_.PortOpen = true;
    if (fields_.PortLost) {
        fields_.PortLost = false;
        // A card that lost power forgot its task; one that kept it may still be
        // streaming. Either way it is told what to do once it has answered.
        resumeOnVersion_ = true;
    }
    SendCommand(kCommandVersion);
}

}  // namespace vantrel::link
