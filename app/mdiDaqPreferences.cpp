// The main window's part in the preferences: Options > Settings written to
// vantrel.ini and applied to the publisher and the run.

#include "alarms/RuleFields.h"
#include "app/PreferencesFile.h"
#include "app/frmSettings.h"
#include "app/mdiDaq.h"
#include "publish/Publisher.h"

namespace vantrel {

void mdiDaq::applyPreferences(const Preferences& preferences) {
    if (std::optional<std::string> failure = SavePreferences(state_.AppDir, preferences)) {
        dialogs_.showMessage({*failure + " They apply until the program ends.", "Settings",
                              platform::MessageIcon::Warning});
    }
    const bool mqttChanged = preferences.mqtt != preferences_.mqtt;
    preferences_ = preferences;
    if (mqttChanged) {
        publisher_.apply(preferences_.mqtt);
    }
    run_.setLoggingPreferences(preferences_.logging);
    run_.setAlarmSettings(preferences_.alarms);
    run_.setChannelScales(preferences_.channels);
    run_.setDerivedSettings(preferences_.derived);
}

void mdiDaq::OptionsSettings_Click() {
    frmSettings window(preferences_, alarms::OutputLines(state_.DigitalDirection), state_,
                       run_.engineering(), dialogs_, this);
    runModal_(window);
    if (window.result() == QDialog::Accepted) {
        applyPreferences(window.chosen());
    }
}

}  // namespace vantrel
