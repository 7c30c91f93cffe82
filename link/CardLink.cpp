#include "link/CardLink.h"

#include <algorithm>

#include "engine/AnalogDecoder.h"
#include "engine/DigitalDecoder.h"
#include "link/Commands.h"
#include "link/TaskSequencer.h"

namespace vantrel::link {

namespace {

constexpr std::size_t kVersionLength = 4;

bool sameFailure(const ConversionFailure& a, const ConversionFailure& b) {
    return a.kind == b.kind && a.slot == b.slot;
}

}  // namespace

CardLink::CardLink(AcquisitionState& state, int card, platform::SerialPort& port, Timers timers,
                   TaskSequencer& sequencer, const platform::Clock& clock)
    : state_(state),
      card_(CardIndex(card)),
      port_(port),
      timers_(timers),
      sequencer_(sequencer),
      clock_(clock),
      fields_(CardOf(state, card)) {
    port_.setEventHandler([this](platform::PortEvent event) {
        onPortEvent(event);
        tellLinkChanged();
    });
    timers_.reopen.setHandler([this] {
        onReopenTimer();
        tellLinkChanged();
    });
    // Values count as stale until the first frame is taken in.
    timers_.watch.setHandler([this] {
        fields_.DataStale = true;
        tellLinkChanged();
    });
    timers_.watch.start(kStaleAfterMs, true);
}

CardLink::~CardLink() {
    port_.setEventHandler(nullptr);
    for (platform::Timer* timer : {&timers_.reopen, &timers_.watch}) {
        timer->stop();
        timer->setHandler(nullptr);
    }
}

LinkCounters CardLink::counters() const {
    LinkCounters counters = counters_;
    counters.bufferedBytes = buffer_.size();
    return counters;
}

void CardLink::setConversionFailureHandler(ConversionFailureHandler handler) {
    failureHandler_ = std::move(handler);
}

void CardLink::addFrameListener(FrameListener listener) {
    frameListeners_.push_back(std::move(listener));
}

void CardLink::setLinkChangedHandler(LinkChanged handler) {
    linkChanged_ = std::move(handler);
}

void CardLink::tellLinkChanged() {
    if (linkChanged_) {
        linkChanged_();
    }
}

void CardLink::tellListeners(const FrameEvent& event) {
    for (const FrameListener& listener : frameListeners_) {
        listener(event);
    }
}

void CardLink::OpenCardPort() {
    port_.setPortNumber(fields_.ComPort);
    port_.open();
    fields_.PortOpen = port_.isOpen();
    if (fields_.PortOpen) {
        askVersion();
    } else {
        timers_.reopen.start(kReopenIntervalMs, false);
    }
    tellLinkChanged();
}

void CardLink::Reconnect() {
    port_.close();
    // Half a frame from the old port can never be completed.
    buffer_.clear();
    discarding_ = false;
    fields_.PortLost = false;
    // Until the card on the new port answers, its values are not its own.
    fields_.AwaitingAnswer = true;
    resumeOnVersion_ = true;
    OpenCardPort();
}

void CardLink::askVersion() {
    fields_.AwaitingAnswer = true;
    SendCommand(kCommandVersion);
    // Asked again every two seconds until it answers: one "?" can be lost to a
    // card still starting up, and a card that never answers must not pass for one
    // that did.
    if (!timers_.reopen.isActive()) {
        timers_.reopen.start(kReopenIntervalMs, false);
    }
}

void CardLink::SendCommand(std::string_view text) {
    if (text == kCommandStartArm || text == kCommandStartRun) {
        // A task just asked for has its full two seconds before its frames count
        // as stopped: frames that stopped before it started are no news.
        fields_.DataStale = false;
        timers_.watch.start(kStaleAfterMs, true);
    }
    std::string line;
    line.reserve(text.size() + 1);
    line.append(text);
    line.push_back(kFrameEnd);
    port_.send(line);
}

void CardLink::onPortEvent(platform::PortEvent event) {
    if (event == platform::PortEvent::Lost) {
        onPortLost();
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

const platform::DateTime& CardLink::frameTime() {
    if (!deliveryTime_) {
        deliveryTime_ = clock_.now();
    }
    return *deliveryTime_;
}

void CardLink::processBuffer() {
    deliveryTime_.reset();
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
        fields_.AwaitingAnswer = false;
        if (port_.isOpen()) {
            timers_.reopen.stop();
        }
        // The CR ends the reply; it is not part of the version.
        fields_.CardVersion.assign(piece.substr(1, std::min(kVersionLength, length - 2)));
        ++counters_.versionReplies;
        if (resumeOnVersion_) {
            resumeOnVersion_ = false;
            sequencer_.Resume(card_);
        }
        return;
    }
    if (length == kAnalogFrameLength) {
        fields_.AnalogFrame.assign(piece);
        ++counters_.analogFrames;
        if (DecodeAnalogFrame(state_, card_)) {
            fields_.DataStale = false;
            timers_.watch.start(kStaleAfterMs, true);
        }
        const std::optional<ConversionFailure> failure = ConvertFrame(state_, card_);
        analogFrameConverted(failure);
        // With nobody listening, neither the clock nor the frame's values are read.
        if (!frameListeners_.empty()) {
            ConvertedFrame frame = TakeConvertedFrame(state_, card_, frameTime(), failure);
            if (finisher_) {
                finisher_(frame);
            }
            tellListeners(frame);
        }
        return;
    }
    if (length == kDigitalFrameLength) {
        fields_.DigitalFrame.assign(piece);
        ++counters_.digitalFrames;
        DecodeDigitalFrame(state_, card_);
        if (!frameListeners_.empty()) {
            tellListeners(TakeDigitalFrame(state_, card_, frameTime()));
        }
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
    if (failureHandler_) {
        const bool shown = failureHandler_(*failure);
        deliveryTime_.reset();
        if (shown) {
            shownFailure_ = *failure;
        }
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
    timers_.reopen.start(kReopenIntervalMs, false);
}

void CardLink::onReopenTimer() {
    if (!port_.isOpen()) {
        // The number in force and the device name are worked out afresh, so a port
        // chosen since and a COMn link made since are found.
        port_.setPortNumber(fields_.ComPort);
        port_.open();
        if (!port_.isOpen()) {
            return;
        }
        fields_.PortOpen = true;
        if (fields_.PortLost) {
            fields_.PortLost = false;
            // A card that lost power forgot its task; one that kept it may still be
            // streaming. Either way it is told what to do once it has answered.
            resumeOnVersion_ = true;
        }
        askVersion();
        return;
    }
    if (fields_.AwaitingAnswer) {
        SendCommand(kCommandVersion);
        return;
    }
    timers_.reopen.stop();
}

}  // namespace vantrel::link
