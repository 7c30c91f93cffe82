// Arbitrary bytes from a card, in arbitrary chunks, with the port failing and
// reopening in between: the link must neither crash nor grow without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "link/TaskSequencer.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    AcquisitionState state;
    testing::FakeSerialPort port;
    testing::FakeTimer reopen;
    testing::FakeTimer watch;
    testing::FakeTimer delay;
    testing::FakeClock clock;
    link::CardLink* self = nullptr;
    link::TaskSequencer sequencer(state, delay,
                                  [&](int, std::string_view text) { self->SendCommand(text); });
    link::CardLink link(state, size % 2 == 0 ? 0 : 1, port, {reopen, watch}, sequencer, clock);
    self = &link;
    state.InputType[3] = 4;
    state.InputType[11] = 6;
    state.CalSpan10V[5] = 0;  // a conversion that fails
    int failures = 0;
    link.setConversionFailureHandler([&](const ConversionFailure&) {
        // A handler that keeps receiving, as a message box would.
        if (++failures < 4 && port.isOpen()) {
            port.receive("+00001,+00002,+00003,+00004,+00005,+00006,+00007,+00008,+25.0\r");
        }
        return failures % 2 == 0;
    });
    link.OpenCardPort();

    std::size_t at = 0;
    while (at < size) {
        // Each chunk: a control byte, then up to 63 bytes of data.
        const std::uint8_t control = data[at++];
        const std::size_t length = std::min<std::size_t>(control & 0x3F, size - at);
        switch (control >> 6) {
            case 0:
            case 1:
                port.receive(std::string(reinterpret_cast<const char*>(data + at), length));
                break;
            case 2:
                port.fail();
                break;
            default:
                port.openSucceeds = (control & 1) != 0;
                state.TaskRunning1 = state.TaskRunning2 = (control & 2) != 0;
                reopen.tick();
                watch.tick();
                if ((control & 4) != 0) {
                    sequencer.Stop();
                }
                delay.tick();
                break;
        }
        at += length;
        if (link.counters().bufferedBytes > link::kReceiveBufferLimit) {
            std::abort();
        }
    }
    return 0;
}
