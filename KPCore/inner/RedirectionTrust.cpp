#include "KPCore/inner/RedirectionTrust.h"

SetProcessMitigationPolicyFunction FindSetProcessMitigationPolicy()
{
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<SetProcessMitigationPolicyFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetProcessMitigationPolicy")))
                  : nullptr;
}

bool EnableRedirectionTrust(SetProcessMitigationPolicyFunction setPolicy)
{
    if (!setPolicy) return false;
    DWORD flags = kEnforceRedirectionTrust;
    return setPolicy(kRedirectionTrustPolicy, &flags, sizeof(flags)) != FALSE;
}
