#include "tests/support/testcertificates.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace tarvelo::test {

namespace {

EVP_PKEY* newKey()
{
    EVP_PKEY* key = EVP_EC_gen("P-256");
    if (!key)
        throw std::runtime_error("no key could be made");
    return key;
}

void addExtension(X509* certificate, X509* issuer, int id, const char* value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, id, value);
    if (!extension)
        throw std::runtime_error("no certificate extension could be made");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

// A certificate for the key with the given common name, valid from a day ago for a day.
X509* newCertificate(EVP_PKEY* key, const char* commonName, long serial)
{
    X509* certificate = X509_new();
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -86400);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 86400);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    return certificate;
}

} // namespace

TestCertificates::TestCertificates()
{
    m_authorityKey = newKey();
    m_authority = newCertificate(m_authorityKey, "Tarvelo Test Authority", 1);
    X509_set_issuer_name(m_authority, X509_get_subject_name(m_authority));
    addExtension(m_authority, m_authority, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(m_authority, m_authority, NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(m_authority, m_authority, NID_subject_key_identifier, "hash");
    X509_sign(m_authority, m_authorityKey, EVP_sha256());

    m_serverKey = newKey();
    m_serverCertificate = newCertificate(m_serverKey, "127.0.0.1", 2);
    X509_set_issuer_name(m_serverCertificate, X509_get_subject_name(m_authority));
    addExtension(m_serverCertificate, m_authority, NID_basic_constraints, "CA:FALSE");
    addExtension(m_serverCertificate, m_authority, NID_subject_alt_name, "IP:127.0.0.1");
    addExtension(m_serverCertificate, m_authority, NID_ext_key_usage, "serverAuth");
    addExtension(m_serverCertificate, m_authority, NID_authority_key_identifier, "keyid:always");
    X509_sign(m_serverCertificate, m_authorityKey, EVP_sha256());
}

TestCertificates::~TestCertificates()
{
    X509_free(m_serverCertificate);
    EVP_PKEY_free(m_serverKey);
    X509_free(m_authority);
    EVP_PKEY_free(m_authorityKey);
}

std::string TestCertificates::authorityPem() const
{
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, m_authority);
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<std::size_t>(size));
    BIO_free(bio);
    return pem;
}

} // namespace tarvelo::test
