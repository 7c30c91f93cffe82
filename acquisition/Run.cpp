#include "acquisition/Run.h"

#include <string>

#include "engine/CardView.h"
#include "engine/Conversion.h"
#include "link/Commands.h"
#include "platform/DateTimeText.h"
#include "settings/SettingsFiles.h"

namespace vantrel::acquisition {

namespace {
constexpr int kLogTickMs = 1000;
}  // namespace

Run::Run(AcquisitionState& state, RunParts parts, RunTimers timers)
    : state_(state),
      parts_(parts),
      timers_(std::move(timers)),
      sequencer_(state_, *timers_.pause,
                 [this](int card, std::string_view text) { send(card, text); }),
      logger_(state_, parts_.clock, parts_.dialogs, parts_.logSink) {
    platform::SerialPort* ports[] = {&parts_.cm, &parts_.cm2};
    for (int card = 0; card < 2; ++card) {
        links_[card] = std::make_unique<link::CardLink>(
            state_, card, *ports[card],
            link::CardLink::Timers{*timers_.reopen[card], *timers_.watch[card]}, sequencer_);
        links_[card]->setConversionFailureHandler(
            [this](const ConversionFailure& failure) { return showConversionFailure(failure); });
        links_[card]->addFrameListener([this](const link::FrameEvent& frame) {
            if (frame.kind == link::FrameKind::Analog) {
                history::AddCardFrame(history_, state_, frame.card,
                                      platform::UtcMilliseconds(parts_.clock.now()),
                                      frame.failure ? frame.failure->slot : -1);
            }
        });
    }
    timers_.logTick->setHandler([this] { logger_.Tick(); });
}

Run::~Run() {
    timers_.logTick->stop();
    timers_.logTick->setHandler(nullptr);
}

std::optional<platform::Message> Run::begin() {
    // Before the first tick can journal records of its own.
    std::optional<platform::Message> recovered = logger_.RecoverJournal();
    timers_.logTick->start(kLogTickMs, false);
    return recovered;
}

void Run::openPorts() {
    for (auto& link : links_) {
        link->OpenCardPort();
    }
}

void Run::applyPorts() {
    platform::SerialPort* ports[] = {&parts_.cm, &parts_.cm2};
    for (int card = 0; card < 2; ++card) {
        if (ports[card]->portNumber() != CardOf(std::as_const(state_), card).ComPort) {
            links_[card]->Reconnect();
        }
    }
}

bool Run::startTask() {
    return !ended_ && sequencer_.Start();
}

void Run::stopTask() {
    if (!ended_) {
        sequencer_.Stop();
    }
}

void Run::send(int card, std::string_view text) {
    link(card).SendCommand(text);
}

void Run::addFrameListener(const link::CardLink::FrameListener& listener) {
    for (auto& link : links_) {
        link->addFrameListener(listener);
    }
}

void Run::addEndStep(std::function<void()> step) {
    endSteps_.push_back(std::move(step));
}

void Run::setTaskChangedHandler(link::TaskSequencer::TaskChanged handler) {
    sequencer_.setTaskChangedHandler(std::move(handler));
}

void Run::end() {
    if (ended_) {
        return;
    }
    ended_ = true;
    timers_.logTick->stop();
    // A start under way sends no "@N" after the "@F" below.
    sequencer_.Cancel();
    platform::SerialPort* ports[] = {&parts_.cm, &parts_.cm2};
    for (int card = 0; card < 2; ++card) {
        if (ports[card]->isOpen()) {
            send(card, link::kCommandStop);
        }
    }
    // Records still waiting for a failing file are saved elsewhere, not dropped.
    logger_.Close();
    // Each file is written whole or not at all. A failure is told; the other file
    // is still written, so one bad file does not lose the other's settings.
    for (auto save : {SaveChannelSettings, SaveLogSettings}) {
        if (const std::optional<std::string> failure = save(state_)) {
            parts_.dialogs.showMessage({*failure, "Vantrel", platform::MessageIcon::Critical});
        }
    }
    for (const auto& step : endSteps_) {
        step();
    }
}

bool Run::showConversionFailure(const ConversionFailure& failure) {
    if (*conversionBoxOpen_) {
        return false;
    }
    *conversionBoxOpen_ = true;
    parts_.dialogs.showMessageNonBlocking(
        {failure.message(), "Vantrel", platform::MessageIcon::Critical},
        [open = conversionBoxOpen_] { *open = false; });
    return true;
}

}  // namespace vantrel::acquisition
