#pragma once

// Options > Settings: the program's preferences on pages picked from a list, each
// page an area's own widget. OK checks every page and, when all hold, closes with
// the new preferences for the caller to store and apply; Cancel changes nothing.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Preferences.h"
#include "derived/EngineeringValues.h"
#include "engine/AcquisitionState.h"
#include "platform/Dialogs.h"

class QListWidget;
class QPushButton;
class QStackedWidget;

namespace vantrel {

class MqttSettingsPage;
class LoggingSettingsPage;
class AlarmSettingsPage;
class ChannelSettingsPage;
class DerivedSettingsPage;

class frmSettings : public QDialog {
    Q_OBJECT

  public:
    // outputLines: the digital lines set up as outputs (alarms::OutputLines); state:
    // the channels' input types and latest values, for the Channels page;
    // engineering: the run's derived values, for the Derived page.
    frmSettings(const Preferences& current, std::uint32_t outputLines,
                const AcquisitionState& state, const derived::EngineeringValues& engineering,
                platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // What OK accepted.
    const Preferences& chosen() const { return chosen_; }

    void cmdOK_Click();
    void cmdCancel_Click();

    QListWidget* lstPages = nullptr;
    QStackedWidget* stkPages = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    MqttSettingsPage* mqttPage = nullptr;
    LoggingSettingsPage* loggingPage = nullptr;
    AlarmSettingsPage* alarmsPage = nullptr;
    ChannelSettingsPage* channelsPage = nullptr;
    DerivedSettingsPage* derivedPage = nullptr;

  private:
    // Puts the page's choices into preferences; the first rule they break, if any.
    using StorePage = std::function<std::optional<std::string>(Preferences&)>;
    void addPage(const QString& title, QWidget* page, StorePage store);
    // The page of a refusal shown, its field at fault with the focus.
    void showField(int pageRow, QWidget* field);

    platform::Dialogs& dialogs_;
    Preferences chosen_;
    std::vector<StorePage> stores_;
};

}  // namespace vantrel
