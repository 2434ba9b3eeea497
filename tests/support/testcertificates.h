#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <string>

namespace tarvelo::test {

// A certificate authority made when the test runs, and a certificate for 127.0.0.1
// that it signed, for servers that speak https. Nothing on the machine trusts the
// authority unless it is named (authorityPem()).
class TestCertificates {
public:
    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    X509* serverCertificate() const { return m_serverCertificate; }
    EVP_PKEY* serverKey() const { return m_serverKey; }
    // The authority's certificate in PEM form, as a file of trusted authorities holds it.
    std::string authorityPem() const;

private:
    EVP_PKEY* m_authorityKey = nullptr;
    X509* m_authority = nullptr;
    EVP_PKEY* m_serverKey = nullptr;
    X509* m_serverCertificate = nullptr;
};

} // namespace tarvelo::test
