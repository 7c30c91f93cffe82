#pragma once

// The MQTT page of Options > Settings: whether and where live values are
// published. Shows a set of settings and gives back what the user made of them;
// the rules they must meet are checked by the settings window's OK.

#include <QWidget>

#include "platform/Dialogs.h"
#include "publish/MqttSettings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantrel {

class MqttSettingsPage : public QWidget {
    Q_OBJECT

  public:
    explicit MqttSettingsPage(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    void load(const publish::MqttSettings& settings);
    publish::MqttSettings settings() const;

    void cmdMqttCaFile_Click();

    // Checked: publishing on; the other controls sit inside it.
    QGroupBox* FrameMqtt = nullptr;
    QLineEdit* txtMqttHost = nullptr;
    QSpinBox* spnMqttPort = nullptr;
    QLineEdit* txtMqttStation = nullptr;
    QLineEdit* txtMqttTopicPrefix = nullptr;
    QSpinBox* spnMqttInterval = nullptr;
    QComboBox* cmbMqttQos = nullptr;
    // One item per word of the payload key, in its order.
    QComboBox* cmbMqttPayload = nullptr;
    QLineEdit* txtMqttUsername = nullptr;
    QLineEdit* txtMqttPassword = nullptr;
    QCheckBox* chkMqttTls = nullptr;
    QLineEdit* txtMqttCaFile = nullptr;
    QPushButton* cmdMqttCaFile = nullptr;

  private:
    void enableCaFile();

    platform::Dialogs& dialogs_;
};

}  // namespace vantrel
