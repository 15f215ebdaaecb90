#include "net/DownloadWarmUp.h"

#define SECURITY_WIN32
#include <process.h>
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include "KPCore/inner/DllHardening.h"

namespace {

template <typename Function>
Function Find(const SystemLookup& lookup, const wchar_t* dllName, const char* functionName)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(lookup(dllName, functionName)));
}

}  // namespace

bool LoadTransferLibraries(const SystemLookup& lookup)
{
    // Any function pulls its DLL in; these are the ones the downloader uses.
    const bool urlmon = lookup(L"urlmon.dll", "URLDownloadToFileW") != nullptr;
    const bool wininet = lookup(L"wininet.dll", "FindFirstUrlCacheEntryW") != nullptr;
    return urlmon && wininet;
}

bool PrepareTlsProvider(const SystemLookup& lookup)
{
    const auto acquire =
        Find<decltype(&AcquireCredentialsHandleW)>(lookup, L"secur32.dll", "AcquireCredentialsHandleW");
    const auto release = Find<decltype(&FreeCredentialsHandle)>(lookup, L"secur32.dll", "FreeCredentialsHandle");
    if (!acquire || !release) return false;

    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    settings.dwFlags = SCH_CRED_NO_DEFAULT_CREDS | SCH_CRED_MANUAL_CRED_VALIDATION;
    CredHandle credentials{};
    TimeStamp expiry{};
    wchar_t package[] = UNISP_NAME_W;
    if (acquire(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings, nullptr, nullptr, &credentials, &expiry) !=
        SEC_E_OK)
        return false;
    release(&credentials);
    return true;
}

bool PrepareCertificateChecks(const SystemLookup& lookup)
{
    const auto openStore = Find<decltype(&CertOpenSystemStoreW)>(lookup, L"crypt32.dll", "CertOpenSystemStoreW");
    const auto closeStore = Find<decltype(&CertCloseStore)>(lookup, L"crypt32.dll", "CertCloseStore");
    const auto nextCertificate =
        Find<decltype(&CertEnumCertificatesInStore)>(lookup, L"crypt32.dll", "CertEnumCertificatesInStore");
    const auto freeCertificate =
        Find<decltype(&CertFreeCertificateContext)>(lookup, L"crypt32.dll", "CertFreeCertificateContext");
    const auto buildChain = Find<decltype(&CertGetCertificateChain)>(lookup, L"crypt32.dll", "CertGetCertificateChain");
    const auto freeChain =
        Find<decltype(&CertFreeCertificateChain)>(lookup, L"crypt32.dll", "CertFreeCertificateChain");
    if (!openStore || !closeStore || !nextCertificate || !freeCertificate || !buildChain || !freeChain) return false;

    HCERTSTORE roots = openStore(0, L"ROOT");
    if (!roots) return false;
    bool built = false;
    if (PCCERT_CONTEXT certificate = nextCertificate(roots, nullptr)) {
        CERT_CHAIN_PARA request{};
        request.cbSize = sizeof(request);
        // A trusted root needs no other certificate; should the engine look for one all the same,
        // it may only use what is cached, never fetch it. No revocation check is asked for.
        const DWORD localOnly = CERT_CHAIN_CACHE_ONLY_URL_RETRIEVAL | CERT_CHAIN_DISABLE_AUTH_ROOT_AUTO_UPDATE;
        PCCERT_CHAIN_CONTEXT chain = nullptr;
        built = buildChain(nullptr, certificate, nullptr, nullptr, &request, localOnly, nullptr, &chain) && chain;
        if (chain) freeChain(chain);
        freeCertificate(certificate);
    }
    closeStore(roots, 0);
    return built;
}

void WarmUpDownloadStack()
{
    const SystemLookup system = [](const wchar_t* dllName, const char* functionName) {
        return SystemProcAddress(dllName, functionName);
    };
    LoadTransferLibraries(system);
    PrepareTlsProvider(system);
    PrepareCertificateChecks(system);
}

// ---- CDownloadWarmUp ----

struct CDownloadWarmUp::Shared {
    explicit Shared(Work w) : work(std::move(w)), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Shared()
    {
        if (done) CloseHandle(done);
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    Work work;
    HANDLE done;
};

namespace {

unsigned __stdcall RunWarmUp(void* argument)
{
    // The thread's own reference: the state outlives a destructor that stopped waiting.
    std::unique_ptr<std::shared_ptr<CDownloadWarmUp::Shared>> shared(
        static_cast<std::shared_ptr<CDownloadWarmUp::Shared>*>(argument));
    try {
        if ((*shared)->work) (*shared)->work();
    } catch (...) {
        // A warm-up that failed only means the first download does the same work itself.
    }
    SetEvent((*shared)->done);
    return 0;
}

}  // namespace

CDownloadWarmUp::CDownloadWarmUp(Work work) : m_shared(std::make_shared<Shared>(std::move(work))) {}

CDownloadWarmUp::~CDownloadWarmUp() { Release(kExitWaitMs); }

void CDownloadWarmUp::Release(DWORD milliseconds)
{
    if (!m_thread) return;
    WaitForSingleObject(m_thread, milliseconds);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

bool CDownloadWarmUp::Start()
{
    if (m_started || !m_shared->done) return false;
    auto* reference = new std::shared_ptr<Shared>(m_shared);
    const uintptr_t thread = _beginthreadex(nullptr, 0, RunWarmUp, reference, 0, nullptr);
    if (!thread) {
        delete reference;
        return false;
    }
    m_thread = reinterpret_cast<HANDLE>(thread);
    m_started = true;
    // The window comes first when both want the processor.
    SetThreadPriority(m_thread, THREAD_PRIORITY_BELOW_NORMAL);
    return true;
}

bool CDownloadWarmUp::WaitUntilDone(DWORD milliseconds) const
{
    if (!m_thread) return false;
    return WaitForSingleObject(m_shared->done, milliseconds) == WAIT_OBJECT_0;
}
