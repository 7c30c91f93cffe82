// The main window's part in publishing: the publisher fed by both card links and
// its own timer, vantrel.ini read at start, and Options > Settings.

#include <QMetaObject>
#include <cstdio>

#include "app/PreferencesFile.h"
#include "app/frmSettings.h"
#include "app/mdiDaq.h"
#include "engine/AppPaths.h"
#include "platform/qt/QtTimer.h"
#include "publish/Publisher.h"
#include "publish/mosquitto/MosquittoClient.h"

namespace vantrel {

void mdiDaq::makePublisher() {
    if (!timers_.publish) {
        // A caller that hands in no publishing timer has publishing off by default;
        // a Qt timer stands in should vantrel.ini turn it on.
        timers_.publish =
            std::make_unique<platform::QtTimer>(nullptr, QStringLiteral("tmrPublish"));
    }
    publish::PublisherServices services{
        clock_,
        *timers_.publish,
        [this] {
            // Called on the client's network thread: the events are taken on this one.
            return std::make_unique<publish::MosquittoClient>([this] {
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (publisher_) {
                            publisher_->onClientEvents();
                        }
                    },
                    Qt::QueuedConnection);
            });
        },
        AppFilePath(state_, publish::kSpoolFile),
        publish::kSpoolLimitBytes,
        VANTREL_VERSION,
    };
    publisher_ = std::make_unique<publish::Publisher>(state_, std::move(services));
    publisher_->setNoticeHandler([this](const std::string& text) {
        dialogs_.showMessageNonBlocking({text, "Vantrel", platform::MessageIcon::Warning}, {});
    });
    for (int card = 0; card < 2; ++card) {
        cardLink(card).addFrameListener(
            [this](const link::FrameEvent& event) { publisher_->onFrame(event); });
    }
}

void mdiDaq::loadPreferences() {
    PreferencesReading reading = LoadPreferences(state_.AppDir);
    if (!reading.message.empty()) {
        // Said once; the file stays as it is until the user presses OK in Settings.
        std::fprintf(stderr, "Vantrel: %s\n", reading.message.c_str());
        dialogs_.showMessageNonBlocking(
            {reading.message, "Vantrel", platform::MessageIcon::Warning}, {});
    }
    preferences_ = reading.preferences;
    publisher_->apply(preferences_.mqtt);
}

void mdiDaq::applyPreferences(const Preferences& preferences) {
    if (std::optional<std::string> failure = SavePreferences(state_.AppDir, preferences)) {
        dialogs_.showMessage({*failure + " They apply until the program ends.", "Settings",
                              platform::MessageIcon::Warning});
    }
    const bool mqttChanged = preferences.mqtt != preferences_.mqtt;
    preferences_ = preferences;
    if (mqttChanged) {
        publisher_->apply(preferences_.mqtt);
    }
}

std::string mdiDaq::brokerLine() const {
    return publish::BrokerLine(publisher_->linkStatus());
}

void mdiDaq::OptionsSettings_Click() {
    frmSettings window(preferences_, dialogs_, this);
    runModal(window);
    if (window.result() == QDialog::Accepted) {
        applyPreferences(window.chosen());
    }
}

}  // namespace vantrel
