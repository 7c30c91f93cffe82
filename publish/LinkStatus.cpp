#include "publish/LinkStatus.h"

namespace vantrel::publish {

std::string_view FailureText(LinkFailure failure) {
    switch (failure) {
        case LinkFailure::Refused:
            return "refused";
        case LinkFailure::AuthenticationFailed:
            return "authentication failed";
        case LinkFailure::CertificateNotTrusted:
            return "certificate not trusted";
        case LinkFailure::HostNotFound:
            return "host not found";
        case LinkFailure::ConnectionLost:
            return "connection lost";
        case LinkFailure::TimedOut:
            return "timed out";
        case LinkFailure::CaFileUnreadable:
            return "CA file not readable";
        case LinkFailure::TlsFailed:
            return "TLS failed";
        case LinkFailure::NetworkError:
            break;
    }
    return "network error";
}

std::string BrokerLine(const LinkStatus& status) {
    switch (status.state) {
        case LinkStatus::State::Off:
            return {};
        case LinkStatus::State::Connecting:
            return "MQTT: connecting\u2026";
        case LinkStatus::State::Connected:
            return "MQTT: connected to " + status.host + ":" + std::to_string(status.port);
        case LinkStatus::State::NotConnected:
            break;
    }
    return "MQTT: not connected (" +
           std::string(FailureText(status.failure.value_or(LinkFailure::NetworkError))) + ")";
}

}  // namespace vantrel::publish
