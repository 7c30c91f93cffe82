#include "app/QtPublisher.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "settings/AppPaths.h"

namespace vantrel {

QtPublisher::QtPublisher(const AcquisitionState& state, platform::Clock& clock,
                         platform::Timer& tick, MqttClientFactory makeClient) {
    publish::PublisherServices services{
        clock,
        tick,
        [target = target_, makeClient = std::move(makeClient)] {
            // Called on the client's own thread: the events are taken on this one.
            return makeClient([target] {
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [target] {
                        if (*target != nullptr) {
                            (*target)->onClientEvents();
                        }
                    },
                    Qt::QueuedConnection);
            });
        },
        AppFilePath(state, publish::kSpoolFile),
        publish::kSpoolLimitBytes,
        VANTREL_VERSION,
    };
    publisher_ = std::make_unique<publish::Publisher>(state, std::move(services));
    *target_ = publisher_.get();
}

void QtPublisher::feedFrom(acquisition::Run& run, platform::Dialogs& dialogs) {
    publish::Publisher& publisher = *publisher_;
    publisher.setEngineering(&run.engineering());
    run.addFrameListener([&publisher](const link::FrameEvent& event) { publisher.onFrame(event); });
    alarms::RunEvents& events = run.events();
    events.addListener([&publisher, &events](const alarms::RunEvent& event) {
        publisher.onEvent(event);
        if (event.alarm) {
            publisher.onAlarms(events.active());
        }
    });
    run.addEndStep([&publisher] { publisher.shutdown(); });
    publisher.setNoticeHandler([&dialogs](const std::string& text) {
        dialogs.showMessageNonBlocking({text, "Vantrel", platform::MessageIcon::Warning}, {});
    });
}

QtPublisher::~QtPublisher() {
    *target_ = nullptr;
}

}  // namespace vantrel
