#include "net/PackageTrust.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdint>

#include "KPCore/inner/DllHardening.h"
#include "net/PackageSignerPins.h"  // generated: kPackageSignerPins
#include "net/PeCheck.h"

namespace {

// wintrust is not on every Windows' list of known DLLs, so it comes from the system folder at run
// time, as urlmon does.
struct TrustFunctions {
    decltype(&WinVerifyTrust) verify = SystemFunction<decltype(&WinVerifyTrust)>(L"wintrust.dll", "WinVerifyTrust");
    decltype(&WTHelperProvDataFromStateData) providerData =
        SystemFunction<decltype(&WTHelperProvDataFromStateData)>(L"wintrust.dll", "WTHelperProvDataFromStateData");
    decltype(&WTHelperGetProvSignerFromChain) signer =
        SystemFunction<decltype(&WTHelperGetProvSignerFromChain)>(L"wintrust.dll", "WTHelperGetProvSignerFromChain");
    decltype(&WTHelperGetProvCertFromChain) certificate =
        SystemFunction<decltype(&WTHelperGetProvCertFromChain)>(L"wintrust.dll", "WTHelperGetProvCertFromChain");

    bool Complete() const { return verify && providerData && signer && certificate; }
};

const TrustFunctions& Trust()
{
    static const TrustFunctions functions;
    return functions;
}

PeCheckResult CheckStructure(HANDLE file)
{
    LARGE_INTEGER size{};
    const LARGE_INTEGER start{};
    if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return PeCheckResult::HeadersNotRead;
    const std::uint64_t fileSize = static_cast<std::uint64_t>(size.QuadPart);
    std::vector<std::uint8_t> head(fileSize < kPeHeadBytes ? static_cast<std::size_t>(fileSize) : kPeHeadBytes);
    DWORD got = 0;
    if (!head.empty() &&
        (!ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr) || got != head.size()))
        return PeCheckResult::HeadersNotRead;
    return CheckWindowsExecutable(head.data(), head.size(), fileSize);
}

bool Sha256(const std::uint8_t* bytes, std::size_t size, Sha256Digest& digest)
{
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return false;
    HCRYPTHASH hash = 0;
    DWORD length = static_cast<DWORD>(digest.size());
    const bool ok = CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
                    CryptHashData(hash, bytes, static_cast<DWORD>(size), 0) &&
                    CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, 0) && length == digest.size();
    if (hash) CryptDestroyHash(hash);
    CryptReleaseContext(provider, 0);
    return ok;
}

// The certificate that made the first signature.
PCCERT_CONTEXT SignerCertificate(HANDLE stateData)
{
    CRYPT_PROVIDER_DATA* data = Trust().providerData(stateData);
    CRYPT_PROVIDER_SGNR* signer = data ? Trust().signer(data, 0, FALSE, 0) : nullptr;
    CRYPT_PROVIDER_CERT* certificate = signer ? Trust().certificate(signer, 0) : nullptr;
    return certificate ? certificate->pCert : nullptr;
}

// The SHA-256 of the DER SubjectPublicKeyInfo of the signer's certificate.
bool SignerKeyDigest(PCCERT_CONTEXT certificate, Sha256Digest& digest)
{
    if (!certificate) return false;
    const std::uint8_t* der = certificate->pbCertEncoded;
    const std::optional<DerSpan> key = FindSubjectPublicKeyInfo(der, certificate->cbCertEncoded);
    return key && Sha256(der + key->offset, key->length, digest);
}

// "<subject>, key <sha-256 hex>" for the log.
std::wstring DescribeSigner(PCCERT_CONTEXT certificate, const Sha256Digest* digest)
{
    static const auto nameOf = SystemFunction<decltype(&CertGetNameStringW)>(L"crypt32.dll", "CertGetNameStringW");
    std::wstring text = L"?";
    wchar_t name[256] = {};
    if (certificate && nameOf && nameOf(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, 256) > 1)
        text = name;
    if (digest) {
        static const wchar_t kHex[] = L"0123456789abcdef";
        text += L", key ";
        for (std::uint8_t byte : *digest) {
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
    }
    return text;
}

bool MeansUnsigned(LONG status)
{
    return status == static_cast<LONG>(TRUST_E_NOSIGNATURE) ||
           status == static_cast<LONG>(TRUST_E_SUBJECT_FORM_UNKNOWN) ||
           status == static_cast<LONG>(TRUST_E_PROVIDER_UNKNOWN);
}

}  // namespace

const char* PackageVerdictName(PackageVerdict verdict)
{
    switch (verdict) {
    case PackageVerdict::Trusted: return "trusted";
    case PackageVerdict::CannotOpen: return "cannot open";
    case PackageVerdict::NotAnExecutable: return "not an executable";
    case PackageVerdict::NoSignature: return "no signature";
    case PackageVerdict::BadSignature: return "bad signature";
    case PackageVerdict::SignerNotPinned: return "signer not pinned";
    }
    return "?";
}

CPackageFile::CPackageFile(const std::wstring& path) : m_path(path)
{
    // Shared for reading only: while this handle is open nobody can open the file to write to it,
    // rename it or delete it, and whoever holds such a handle already makes this open fail.
    m_file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) m_openError = GetLastError();
}

CPackageFile::~CPackageFile()
{
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
}

PackageCheck CPackageFile::Verify(const std::vector<Sha256Digest>& pins) const
{
    if (!IsOpen()) return {PackageVerdict::CannotOpen, static_cast<long>(m_openError), {}};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(m_file, &info))
        return {PackageVerdict::CannotOpen, static_cast<long>(GetLastError()), {}};
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        return {PackageVerdict::CannotOpen, static_cast<long>(ERROR_CANT_ACCESS_FILE), {}};

    const PeCheckResult structure = CheckStructure(m_file);
    if (structure != PeCheckResult::Valid) return {PackageVerdict::NotAnExecutable, static_cast<long>(structure), {}};

    if (!Trust().Complete()) return {PackageVerdict::BadSignature, static_cast<long>(TRUST_E_PROVIDER_UNKNOWN), {}};
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = m_path.c_str();
    file.hFile = m_file;
    WINTRUST_DATA trust{};
    trust.cbStruct = sizeof trust;
    trust.dwUIChoice = WTD_UI_NONE;
    trust.fdwRevocationChecks = WTD_REVOKE_NONE;
    trust.dwUnionChoice = WTD_CHOICE_FILE;
    trust.pFile = &file;
    trust.dwStateAction = WTD_STATEACTION_VERIFY;
    // Never fetches anything from the network while deciding.
    trust.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = Trust().verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);

    PackageCheck result{PackageVerdict::Trusted, 0, {}};
    Sha256Digest signer{};
    if (status != ERROR_SUCCESS)
        result = {MeansUnsigned(status) ? PackageVerdict::NoSignature : PackageVerdict::BadSignature, status, {}};
    if (status == ERROR_SUCCESS) {
        const PCCERT_CONTEXT certificate = SignerCertificate(trust.hWVTStateData);
        const bool digested = SignerKeyDigest(certificate, signer);
        if (!digested || !IsPinnedSigner(pins, signer)) result = {PackageVerdict::SignerNotPinned, 0, {}};
        result.signer = DescribeSigner(certificate, digested ? &signer : nullptr);
    }

    trust.dwStateAction = WTD_STATEACTION_CLOSE;
    Trust().verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
    return result;
}

const std::vector<Sha256Digest>& BuiltInSignerPins()
{
    // A malformed list cannot get this far (the build checks it); should it, nothing is trusted.
    static const std::vector<Sha256Digest> pins =
        ParseSignerPins(kPackageSignerPins).value_or(std::vector<Sha256Digest>());
    return pins;
}
