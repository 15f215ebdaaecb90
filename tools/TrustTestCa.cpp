// Adds a test CA certificate (PEM or DER file) to the LocalMachine "Root" store of the Wine prefix
// (or Windows machine) it runs in, so that HTTPS test servers signed by it are trusted there only.
// Usage: kp_trust_test_ca.exe <certificate file>
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> ReadFile(const wchar_t* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// PEM text is decoded to DER; DER passes unchanged.
std::vector<BYTE> ToDer(const std::vector<BYTE>& file)
{
    const std::string text(file.begin(), file.end());
    if (text.find("-----BEGIN CERTIFICATE-----") == std::string::npos) return file;
    DWORD size = 0;
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                              nullptr, nullptr))
        return {};
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER, der.data(),
                              &size, nullptr, nullptr))
        return {};
    der.resize(size);
    return der;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kp_trust_test_ca.exe <certificate file>\n");
        return 2;
    }
    const std::vector<BYTE> der = ToDer(ReadFile(argv[1]));
    if (der.empty()) {
        std::fprintf(stderr, "cannot read a certificate from %ls\n", argv[1]);
        return 1;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) {
        std::fprintf(stderr, "cannot open the Root store: %lu\n", GetLastError());
        return 1;
    }
    const BOOL added =
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, der.data(),
                                         static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    const DWORD error = GetLastError();
    CertCloseStore(store, 0);
    if (!added) {
        std::fprintf(stderr, "cannot add the certificate: %lu\n", error);
        return 1;
    }
    return 0;
}
