#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "net/SignerPin.h"

// Decides whether a downloaded setup package may run: it must be a complete Windows executable,
// carry a valid Authenticode signature, and be signed with a key the vendor pinned.
//
// The file is opened once, shared for reading only, so nobody can write, rename or delete it while
// the handle is held; every check reads through that handle, and the owner keeps the object until
// the package's process has started. What was checked is therefore what runs.

enum class PackageVerdict {
    Trusted,
    CannotOpen,       // missing, or held by somebody with write or delete access
    NotAnExecutable,  // not a complete PE file (an error page, a cut-off transfer)
    NoSignature,      // not signed at all
    BadSignature,     // signed, but the signature does not hold (changed after signing, bad chain...)
    SignerNotPinned,  // a valid signature by a key that is not the vendor's
};

const char* PackageVerdictName(PackageVerdict verdict);

struct PackageCheck {
    PackageVerdict verdict;
    // What the failing step said, for the log: the Windows error for CannotOpen, the PeCheckResult
    // for NotAnExecutable, WinVerifyTrust's answer for the signature steps; 0 when trusted.
    long detail;
    // Who signed it, for the log: the certificate's subject and the SHA-256 of its key in hex;
    // empty without a valid signature.
    std::wstring signer;
};

class CPackageFile {
public:
    explicit CPackageFile(const std::wstring& path);
    ~CPackageFile();
    CPackageFile(const CPackageFile&) = delete;
    CPackageFile& operator=(const CPackageFile&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    DWORD OpenError() const { return m_openError; }
    const std::wstring& Path() const { return m_path; }

    // Runs the structural check, the signature check and the signer check in that order; the first
    // that fails gives the verdict.
    PackageCheck Verify(const std::vector<Sha256Digest>& pins) const;

private:
    std::wstring m_path;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    DWORD m_openError = ERROR_SUCCESS;
};

// The signers this build accepts, from its KP_PACKAGE_SIGNER_SHA256 setting.
const std::vector<Sha256Digest>& BuiltInSignerPins();
