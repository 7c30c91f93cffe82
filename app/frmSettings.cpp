#include "app/frmSettings.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "alarms/ui/AlarmSettingsPage.h"
#include "derived/ui/DerivedSettingsPage.h"
#include "logging/ui/LoggingSettingsPage.h"
#include "platform/qt/ControlNames.h"
#include "publish/ui/MqttSettingsPage.h"
#include "views/ui/ChannelSettingsPage.h"

namespace vantrel {

frmSettings::frmSettings(const Preferences& current, std::uint32_t outputLines,
                         const AcquisitionState& state,
                         const derived::EngineeringValues& engineering, platform::Dialogs& dialogs,
                         QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), chosen_(current) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(tr("Settings"));

    lstPages = named(new QListWidget(this), QStringLiteral("lstPages"), tr("Pages"));
    stkPages = named(new QStackedWidget(this), QStringLiteral("stkPages"), QString());
    connect(lstPages, &QListWidget::currentRowChanged, stkPages, &QStackedWidget::setCurrentIndex);

    mqttPage = new MqttSettingsPage(dialogs, stkPages);
    mqttPage->load(current.mqtt);
    addPage(tr("MQTT"), mqttPage, [this](Preferences& preferences) {
        preferences.mqtt = mqttPage->settings();
        return publish::MqttSettingsProblem(preferences.mqtt);
    });
    loggingPage = new LoggingSettingsPage(dialogs, stkPages);
    loggingPage->load(current.logging);
    addPage(tr("Logging"), loggingPage, [this](Preferences& preferences) {
        preferences.logging = loggingPage->preferences();
        return LoggingPreferencesProblem(preferences.logging);
    });
    alarmsPage = new AlarmSettingsPage(dialogs, outputLines, current.derived, stkPages);
    alarmsPage->load(current.alarms);
    addPage(tr("Alarms"), alarmsPage, [this, outputLines](Preferences& preferences) {
        preferences.alarms = alarmsPage->settings();
        return alarms::AlarmSettingsProblem(preferences.alarms, outputLines);
    });
    channelsPage = new ChannelSettingsPage(state, stkPages);
    channelsPage->load(current.channels);
    const int channelsRow = lstPages->count();
    addPage(tr("Channels"), channelsPage, [this, channelsRow](Preferences& preferences) {
        auto scales = channelsPage->scales();
        if (const auto* refused = std::get_if<std::string>(&scales)) {
            showField(channelsRow, channelsPage->tblChannels);
            return std::optional<std::string>(*refused);
        }
        preferences.channels = std::get<ChannelScales>(scales);
        return std::optional<std::string>();
    });
    derivedPage = new DerivedSettingsPage(state, engineering, stkPages);
    derivedPage->load(current.derived);
    const int derivedRow = lstPages->count();
    addPage(tr("Derived"), derivedPage, [this, derivedRow](Preferences& preferences) {
        auto settings = derivedPage->settings();
        if (const auto* refused = std::get_if<std::string>(&settings)) {
            showField(derivedRow, derivedPage->tblDerived);
            return std::optional<std::string>(*refused);
        }
        preferences.derived = std::get<derived::DerivedSettings>(settings);
        return std::optional<std::string>();
    });
    lstPages->setCurrentRow(0);
    // As wide as the longest title, so the pages keep the room.
    lstPages->setMaximumWidth(lstPages->sizeHintForColumn(0) + 4 * lstPages->frameWidth() + 24);

    auto* buttons = new QDialogButtonBox(this);
    cmdOK = named(buttons->addButton(QDialogButtonBox::Ok), QStringLiteral("cmdOK"), tr("OK"));
    cmdCancel = named(buttons->addButton(QDialogButtonBox::Cancel), QStringLiteral("cmdCancel"),
                      tr("Cancel"));
    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSettings::cmdCancel_Click);

    auto* pages = new QHBoxLayout;
    pages->addWidget(lstPages);
    pages->addWidget(stkPages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pages);
    layout->addWidget(buttons);
}

void frmSettings::addPage(const QString& title, QWidget* page, StorePage store) {
    lstPages->addItem(title);
    stkPages->addWidget(page);
    stores_.push_back(std::move(store));
}

void frmSettings::showField(int pageRow, QWidget* field) {
    // The page first, so that the field at fault can take the focus.
    lstPages->setCurrentRow(pageRow);
    field->setFocus(Qt::OtherFocusReason);
}

void frmSettings::cmdOK_Click() {
    Preferences preferences = chosen_;
    for (std::size_t index = 0; index < stores_.size(); ++index) {
        if (const std::optional<std::string> problem = stores_[index](preferences)) {
            lstPages->setCurrentRow(static_cast<int>(index));
            dialogs_.showMessage({*problem, "Settings", platform::MessageIcon::Warning});
            return;
        }
    }
    chosen_ = preferences;
    accept();
}

void frmSettings::cmdCancel_Click() {
    reject();
}

}  // namespace vantrel
