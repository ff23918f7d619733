#include "net/send_request.h"

#include "net_test_support.h"
#include "raw_http_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

namespace mz {
namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

// A self-signed certificate for the IP address 127.0.0.1, made for this run.
struct SelfSignedCertificate {
    KeyPtr key{EVP_EC_gen("P-256"), EVP_PKEY_free};
    CertPtr cert{X509_new(), X509_free};

    SelfSignedCertificate() {
        X509_set_version(cert.get(), 2);
        ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
        X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
        X509_NAME* name = X509_get_subject_name(cert.get());
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(cert.get(), name);
        addExtension(NID_subject_alt_name, "IP:127.0.0.1");
        addExtension(NID_basic_constraints, "critical,CA:TRUE");
        X509_set_pubkey(cert.get(), key.get());
        X509_sign(cert.get(), key.get(), EVP_sha256());
    }

    void addExtension(int nid, const char* value) {
        X509V3_CTX context;
        X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
        X509_add_ext(cert.get(), extension, -1);
        X509_EXTENSION_free(extension);
    }

    void writePem(const std::filesystem::path& path) const {
        FILE* file = std::fopen(path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        PEM_write_X509(file, cert.get());
        std::fclose(file);
    }
};

class TlsServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(certificate.key && certificate.cert);
        caFile = std::filesystem::temp_directory_path() /
                 ("mozhou-net-test-" + std::to_string(::getpid()) + ".pem");
        certificate.writePem(caFile);
        server =
            std::make_unique<httplib::SSLServer>(certificate.cert.get(), certificate.key.get());
        server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard lock(mutex);
            seen.push_back(request);
            response.set_content("secure page", "text/plain");
        });
        port = server->bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        thread = std::thread([this] { server->listen_after_bind(); });
        while (!server->is_running())
            std::this_thread::yield();
    }

    void TearDown() override {
        if (server)
            server->stop();
        if (thread.joinable())
            thread.join();
        std::filesystem::remove(caFile);
    }

    TransferOptions trusting() const {
        TransferOptions options = test::quickOptions();
        options.caFile = caFile.string();
        return options;
    }

    std::vector<httplib::Request> requests() {
        std::lock_guard lock(mutex);
        return seen;
    }

    SelfSignedCertificate certificate;
    std::filesystem::path caFile;
    std::unique_ptr<httplib::SSLServer> server;
    std::thread thread;
    int port = 0;
    std::mutex mutex;
    std::vector<httplib::Request> seen;
};

TEST_F(TlsServerTest, CapitalSchemeConnectsSecurely) {
    const Text address = "HTTPS://127.0.0.1:" + std::to_string(port) + "/Secure/Page?Q=AbC";
    Text rawHeaders;
    EXPECT_EQ(sendRequest({.address = address, .rawHeaders = &rawHeaders}, trusting()),
              "secure page");
    EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(sendRequestEx({.address = address}, trusting()), "secure page");
    const auto seenRequests = requests();
    ASSERT_EQ(seenRequests.size(), 2u);
    EXPECT_EQ(seenRequests[0].path, "/Secure/Page");
    EXPECT_EQ(seenRequests[0].get_param_value("Q"), "AbC");
    EXPECT_EQ(seenRequests[0].get_header_value("Referer"), address);
    EXPECT_TRUE(seenRequests[0].get_header_value("User-Agent").starts_with("Mozilla/4.0"));
    EXPECT_EQ(seenRequests[1].get_header_value("Accept"), "*/*");
}

TEST_F(TlsServerTest, UntrustedCertificateSendsNothing) {
    Text rawHeaders = "as given";
    TransferOptions options = test::quickOptions();
    EXPECT_EQ(sendRequest({.address = "https://127.0.0.1:" + std::to_string(port) + "/",
                           .rawHeaders = &rawHeaders},
                          options),
              "");
    EXPECT_EQ(rawHeaders, "as given");
    EXPECT_TRUE(requests().empty());
}

TEST_F(TlsServerTest, PlainProxyIsNotUsedForSecureAddresses) {
    test::RawHttpServer proxy([](const test::RecordedRequest&) {
        return test::Reply{test::httpResponse("200 OK", "", "proxy")};
    });
    const Text address = "https://127.0.0.1:" + std::to_string(port) + "/direct";
    EXPECT_EQ(
        sendRequest({.address = address, .proxy = "127.0.0.1:" + std::to_string(proxy.port())},
                    trusting()),
        "secure page");
    EXPECT_TRUE(proxy.requests().empty());
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].path, "/direct");
}

} // namespace
} // namespace mz
