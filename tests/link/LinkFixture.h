#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "link/TaskSequencer.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {

// A frame of eight counts and an ambient text, CR included.
inline std::string AnalogFrame(const int (&counts)[8], const std::string& ambient = "+25.0") {
    std::string frame;
    for (const int count : counts) {
        char field[16];
        std::snprintf(field, sizeof field, "%+06d,", count);
        frame += field;
    }
    return frame + ambient + "\r";
}

// One card's link on a fake port with hand-fired timers.
struct LinkRig {
    explicit LinkRig(int cardIndex = 0)
        : sequencer(state, delay, [this](int, std::string_view text) { link.SendCommand(text); }),
          link(state, cardIndex, port, reopen, sequencer) {}

    AcquisitionState state;
    FakeSerialPort port;
    FakeTimer reopen;
    FakeTimer delay;
    link::TaskSequencer sequencer;
    link::CardLink link;
};

}  // namespace vantrel::testing
