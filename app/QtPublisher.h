#pragma once

// The publisher as the program builds it: the libmosquitto client, whose network
// thread hands its events to the event loop of this thread, and the spool in the
// start folder.

#include <memory>

#include "acquisition/Run.h"
#include "engine/AcquisitionState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Timer.h"
#include "publish/Publisher.h"

namespace vantrel {

class QtPublisher {
  public:
    // tick: the publisher's own timer; it and clock must outlive this.
    QtPublisher(const AcquisitionState& state, platform::Clock& clock, platform::Timer& tick);
    // Events the client's thread queued after this are dropped.
    ~QtPublisher();
    QtPublisher(const QtPublisher&) = delete;
    QtPublisher& operator=(const QtPublisher&) = delete;

    publish::Publisher& get() { return *publisher_; }
    // The publisher hears every frame of the run and says goodbye at its end; its
    // notices go to dialogs. Both must outlive this.
    void feedFrom(acquisition::Run& run, platform::Dialogs& dialogs);

  private:
    // What the queued events reach; cleared when the publisher goes.
    std::shared_ptr<publish::Publisher*> target_ = std::make_shared<publish::Publisher*>(nullptr);
    std::unique_ptr<publish::Publisher> publisher_;
};

}  // namespace vantrel
