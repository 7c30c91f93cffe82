#include "publish/ui/MqttSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"

namespace vantrel {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// Blanks around a name or path are slips of the keyboard, never meant.
std::string Trimmed(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

void SetRange(QSpinBox* box, const ini::Key& key) {
    box->setRange(static_cast<int>(key.lowest), static_cast<int>(key.highest));
}

constexpr const ini::Key& kQos = ini::KeyOf(ini::kMqttSection, "qos");

}  // namespace

MqttSettingsPage::MqttSettingsPage(platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("MqttSettingsPage"));

    FrameMqtt = named(new QGroupBox(tr("&Publish live values to an MQTT broker"), this),
                      QStringLiteral("FrameMqtt"), tr("Publish live values to an MQTT broker"));
    FrameMqtt->setCheckable(true);

    txtMqttHost = named(new QLineEdit(FrameMqtt), QStringLiteral("txtMqttHost"), tr("Host"));
    spnMqttPort = named(new CheckedSpinBox(FrameMqtt, tr("Port"), dialogs),
                        QStringLiteral("spnMqttPort"), tr("Port"));
    SetRange(spnMqttPort, ini::KeyOf(ini::kMqttSection, "port"));
    txtMqttStation =
        named(new QLineEdit(FrameMqtt), QStringLiteral("txtMqttStation"), tr("Station"));
    txtMqttStation->setToolTip(Text(std::string(ini::KeyOf(ini::kMqttSection, "station").help)));
    txtMqttTopicPrefix =
        named(new QLineEdit(FrameMqtt), QStringLiteral("txtMqttTopicPrefix"), tr("Topic prefix"));
    spnMqttInterval = named(new CheckedSpinBox(FrameMqtt, tr("Interval"), dialogs),
                            QStringLiteral("spnMqttInterval"), tr("Interval"));
    SetRange(spnMqttInterval, ini::KeyOf(ini::kMqttSection, "interval_ms"));
    spnMqttInterval->setSingleStep(100);
    spnMqttInterval->setSuffix(tr(" ms"));
    spnMqttInterval->setSpecialValueText(tr("every frame"));
    cmbMqttQos =
        named(new QComboBox(FrameMqtt), QStringLiteral("cmbMqttQos"), tr("Quality of service"));
    // One item per number of the key, from its lowest on.
    cmbMqttQos->addItems({tr("0 - at most once"), tr("1 - at least once, kept while away")});
    cmbMqttPayload =
        named(new QComboBox(FrameMqtt), QStringLiteral("cmbMqttPayload"), tr("Payload"));
    cmbMqttPayload->addItems({tr("per channel - a JSON message for each channel"),
                              tr("per card - a JSON message for each frame"),
                              tr("influx - a line of InfluxDB line protocol for each frame")});
    txtMqttUsername =
        named(new QLineEdit(FrameMqtt), QStringLiteral("txtMqttUsername"), tr("User name"));
    txtMqttPassword =
        named(new QLineEdit(FrameMqtt), QStringLiteral("txtMqttPassword"), tr("Password"));
    txtMqttPassword->setEchoMode(QLineEdit::Password);
    chkMqttTls =
        named(new QCheckBox(tr("Use &TLS, verifying the broker's certificate"), FrameMqtt),
              QStringLiteral("chkMqttTls"), tr("Use TLS, verifying the broker's certificate"));
    txtMqttCaFile =
        named(new QLineEdit(FrameMqtt), QStringLiteral("txtMqttCaFile"), tr("CA certificate"));
    txtMqttCaFile->setPlaceholderText(tr("the system's trusted authorities"));
    cmdMqttCaFile = named(new QPushButton(tr("&Browse..."), FrameMqtt),
                          QStringLiteral("cmdMqttCaFile"), tr("Browse..."));
    auto* caRow = new QHBoxLayout;
    caRow->addWidget(txtMqttCaFile, 1);
    caRow->addWidget(cmdMqttCaFile);

    auto* form = new QFormLayout(FrameMqtt);
    form->addRow(tr("&Host:"), txtMqttHost);
    form->addRow(tr("P&ort:"), spnMqttPort);
    form->addRow(tr("&Station:"), txtMqttStation);
    form->addRow(tr("Topic p&refix:"), txtMqttTopicPrefix);
    form->addRow(tr("&Interval:"), spnMqttInterval);
    form->addRow(tr("&Quality of service:"), cmbMqttQos);
    form->addRow(tr("Pay&load:"), cmbMqttPayload);
    form->addRow(tr("&User name:"), txtMqttUsername);
    form->addRow(tr("Pass&word:"), txtMqttPassword);
    form->addRow(QString(), chkMqttTls);
    auto* caLabel = new QLabel(tr("&CA certificate:"), FrameMqtt);
    caLabel->setBuddy(txtMqttCaFile);
    form->addRow(caLabel, caRow);
    // The certificate matters only with TLS; the group box re-enables all its
    // children when checked, so this runs after it.
    connect(FrameMqtt, &QGroupBox::toggled, this, &MqttSettingsPage::enableCaFile);
    connect(chkMqttTls, &QCheckBox::toggled, this, &MqttSettingsPage::enableCaFile);
    connect(cmdMqttCaFile, &QPushButton::clicked, this, &MqttSettingsPage::cmdMqttCaFile_Click);
    enableCaFile();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FrameMqtt);
    layout->addStretch();
}

void MqttSettingsPage::load(const publish::MqttSettings& settings) {
    FrameMqtt->setChecked(settings.enabled);
    txtMqttHost->setText(Text(settings.host));
    spnMqttPort->setValue(settings.port);
    txtMqttStation->setText(Text(settings.station));
    txtMqttTopicPrefix->setText(Text(settings.topicPrefix));
    spnMqttInterval->setValue(settings.intervalMs);
    cmbMqttQos->setCurrentIndex(settings.qos - static_cast<int>(kQos.lowest));
    cmbMqttPayload->setCurrentIndex(static_cast<int>(settings.payload));
    txtMqttUsername->setText(Text(settings.username));
    txtMqttPassword->setText(Text(settings.password));
    chkMqttTls->setChecked(settings.tls);
    txtMqttCaFile->setText(Text(settings.caFile));
}

publish::MqttSettings MqttSettingsPage::settings() const {
    publish::MqttSettings settings;
    settings.enabled = FrameMqtt->isChecked();
    settings.host = Trimmed(txtMqttHost);
    settings.port = spnMqttPort->value();
    settings.station = Trimmed(txtMqttStation);
    settings.topicPrefix = Trimmed(txtMqttTopicPrefix);
    settings.intervalMs = spnMqttInterval->value();
    settings.qos = static_cast<int>(kQos.lowest) + cmbMqttQos->currentIndex();
    settings.payload = static_cast<publish::PayloadShape>(cmbMqttPayload->currentIndex());
    settings.username = Text(txtMqttUsername);
    settings.password = Text(txtMqttPassword);
    settings.tls = chkMqttTls->isChecked();
    settings.caFile = Trimmed(txtMqttCaFile);
    return settings;
}

void MqttSettingsPage::enableCaFile() {
    const bool used = FrameMqtt->isChecked() && chkMqttTls->isChecked();
    txtMqttCaFile->setEnabled(used);
    cmdMqttCaFile->setEnabled(used);
}

void MqttSettingsPage::cmdMqttCaFile_Click() {
    platform::FileDialogRequest request;
    request.title = "CA certificate";
    request.filter = "Certificates (*.crt *.pem)|*.crt *.pem|All Files (*)|*";
    request.initialPath = Trimmed(txtMqttCaFile);
    if (const std::optional<std::string> chosen = dialogs_.openFile(request)) {
        txtMqttCaFile->setText(Text(*chosen));
    }
}

}  // namespace vantrel
