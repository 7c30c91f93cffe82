#pragma once

// The serial link to one card: opens its port, sends commands, and turns the
// bytes the card sends into version replies, analog and digital frames in the
// acquisition state. One instance per card; everything runs on the
// user-interface thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"
#include "engine/CardView.h"
#include "engine/Conversion.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"

namespace vantrel::link {

class TaskSequencer;

// Bytes kept while waiting for a CR. A device that streams without CR cannot grow
// memory past this; the excess is thrown away up to the next CR.
inline constexpr std::size_t kReceiveBufferLimit = 4096;
// While a conversion-failure handler runs (it may show a message box that keeps
// receiving), arriving bytes wait; past this much they are dropped.
inline constexpr std::size_t kPendingLimit = 65536;
// How often a lost port, or one that did not open at start-up, is tried again, and
// how often "?" is sent again to a card that has not answered it.
inline constexpr int kReopenIntervalMs = 2000;
// A running card whose analog frames stop for this long has stale values.
inline constexpr int kStaleAfterMs = 2000;

struct LinkCounters {
    std::uint64_t versionReplies = 0;
    std::uint64_t analogFrames = 0;
    std::uint64_t digitalFrames = 0;
    std::uint64_t droppedPieces = 0;   // CR-ended text that is no frame
    std::uint64_t discardedBytes = 0;  // thrown away by the buffer limits
    std::size_t bufferedBytes = 0;     // received since the last CR, still waiting
};

// What the link has just put into the state, as a value of its own: an analog
// frame as converted or a digital frame's lines.
using FrameEvent = std::variant<ConvertedFrame, DigitalFrame>;

class CardLink {
  public:
    // Shows a failed conversion; false when it could not be shown (another box is
    // still open), so the same failure is offered again with the next frame.
    using ConversionFailureHandler = std::function<bool(const ConversionFailure&)>;

    struct Timers {
        // Tries every two seconds a port that is lost or did not open, and asks
        // "?" again while the card has not answered.
        platform::Timer& reopen;
        // Runs out when no analog frame has been taken in for two seconds, and then
        // marks the card's values stale (DataStale1/DataStale2) until the next one.
        platform::Timer& watch;
    };

    // card: 0 is card 1, any other value card 2. The link takes over the port's
    // event handler and the timers'; sequencer starts or stops the card's task
    // once a card whose port came back has answered. Each frame carries the
    // clock's reading when it was taken in; the frames of one delivery share one.
    CardLink(AcquisitionState& state, int card, platform::SerialPort& port, Timers timers,
             TaskSequencer& sequencer, const platform::Clock& clock);
    ~CardLink();
    CardLink(const CardLink&) = delete;
    CardLink& operator=(const CardLink&) = delete;

    // Sets the port number from ComPort1/ComPort2, opens the port, records
    // PortOpen1/PortOpen2 and, when open, asks for the version. A port that does
    // not open is tried again every two seconds, since the adapter is often
    // plugged in after the program has started; so is "?" until the card answers.
    void OpenCardPort();
    // The card's port number changed: the old port is closed and the one now in
    // ComPort1/ComPort2 opened (or retried every two seconds); the card is asked for
    // its version and, once it answers, resumed as after a replug.
    void Reconnect();
    // Writes text + CR at once; checks nothing.
    void SendCommand(std::string_view text);

    void setConversionFailureHandler(ConversionFailureHandler handler);
    // Told after each accepted analog or digital frame, once the state holds its
    // decoded (and, for analog frames, converted) values; in the order added. The
    // frame is handed over with its values, which listeners take from it rather
    // than from the state.
    using FrameListener = std::function<void(const FrameEvent&)>;
    void addFrameListener(FrameListener listener);
    // Fills in what an analog frame carries beyond its converted values (the
    // user's scales and the derived channels) before any listener sees it.
    using FrameFinisher = std::function<void(ConvertedFrame&)>;
    void setFrameFinisher(FrameFinisher finisher) { finisher_ = std::move(finisher); }

    // Told after anything that may have changed the card's link (see
    // CardView::linkCondition): the port's events, the retry, the watch running out,
    // a port opened.
    using LinkChanged = std::function<void()>;
    void setLinkChangedHandler(LinkChanged handler);

    int card() const { return card_; }
    LinkCounters counters() const;

  private:
    // Arrived bytes are read and framed; a lost port is closed and reopened.
    void onPortEvent(platform::PortEvent event);
    void onReopenTimer();
    void append(std::string_view data);
    void processBuffer();
    void judgePiece(std::size_t begin, std::size_t length);
    void dropUnterminatedTail();
    void onPortLost();
    void tellListeners(const FrameEvent& event);
    void tellLinkChanged();
    void analogFrameConverted(const std::optional<ConversionFailure>& failure);
    void askVersion();
    const platform::DateTime& frameTime();

    AcquisitionState& state_;
    int card_;
    platform::SerialPort& port_;
    Timers timers_;
    TaskSequencer& sequencer_;
    const platform::Clock& clock_;
    // Read once per delivery: its frames came in together, and reading the clock
    // for each would cost more than decoding it. Read again after a failure
    // handler, which may have kept a message box open for a while.
    std::optional<platform::DateTime> deliveryTime_;

    CardView fields_;  // this card's fields of the state

    std::string buffer_;
    bool discarding_ = false;  // dropping bytes until the next CR
    bool processing_ = false;  // a handler may re-enter onPortEvent
    // The port came back: the card's answer to "?" comes before anything else.
    bool resumeOnVersion_ = false;
    // The failure last shown for this card; the same one is not shown again
    // until a frame converts without it.
    std::optional<ConversionFailure> shownFailure_;
    LinkCounters counters_;
    ConversionFailureHandler failureHandler_;
    std::vector<FrameListener> frameListeners_;
    FrameFinisher finisher_;
    LinkChanged linkChanged_;
};

}  // namespace vantrel::link
