#pragma once

#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "link/TaskSequencer.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {

// One card's link on a fake port with hand-fired timers.
struct LinkRig {
    explicit LinkRig(int cardIndex = 0)
        : sequencer(state, delay, [this](int, std::string_view text) { link.SendCommand(text); }),
          link(state, cardIndex, port, {reopen, watch}, sequencer, clock) {}

    AcquisitionState state;
    FakeSerialPort port;
    FakeTimer reopen;
    FakeTimer watch;
    FakeTimer delay;
    FakeClock clock;
    link::TaskSequencer sequencer;
    link::CardLink link;
};

}  // namespace vantrel::testing
