#pragma once

// The publisher as the program builds it: its client, whose events (told from the
// client's own thread) are taken on the event loop of this thread, and the spool in
// the start folder.

#include <functional>
#include <memory>

#include "acquisition/Run.h"
#include "engine/AcquisitionState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Timer.h"
#include "publish/MqttClient.h"
#include "publish/Publisher.h"

namespace vantrel {

// Makes the MQTT client of one connection; the client calls wake, from any thread
// and without blocking, when it has events to take.
using MqttClientFactory =
    std::function<std::unique_ptr<publish::MqttClient>(std::function<void()> wake)>;

class QtPublisher {
  public:
    // tick: the publisher's own timer; it and clock must outlive this.
    QtPublisher(const AcquisitionState& state, platform::Clock& clock, platform::Timer& tick,
                MqttClientFactory makeClient);
    // Events the client's thread queued after this are dropped.
    ~QtPublisher();
    QtPublisher(const QtPublisher&) = delete;
    QtPublisher& operator=(const QtPublisher&) = delete;

    publish::Publisher& get() { return *publisher_; }
    // The publisher hears every frame and every event of the run, and the active
    // alarms whenever an alarm event changes them, and says goodbye at its end; its
    // notices go to dialogs. Both must outlive this.
    void feedFrom(acquisition::Run& run, platform::Dialogs& dialogs);

  private:
    // What the queued events reach; cleared when the publisher goes.
    std::shared_ptr<publish::Publisher*> target_ = std::make_shared<publish::Publisher*>(nullptr);
    std::unique_ptr<publish::Publisher> publisher_;
};

}  // namespace vantrel
