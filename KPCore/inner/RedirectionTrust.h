#pragma once
#include <windows.h>

// Redirection trust: once on, the process follows no junction or mount point that a user without
// administrator rights created. Windows 10 2004 and later have it (SetProcessMitigationPolicy with
// ProcessRedirectionTrustPolicy); older Windows and Wine do not, so it is looked up at run time.

using SetProcessMitigationPolicyFunction = BOOL(WINAPI*)(int policy, void* buffer, SIZE_T length);

// kernel32's SetProcessMitigationPolicy; null where Windows lacks it.
SetProcessMitigationPolicyFunction FindSetProcessMitigationPolicy();

// The policy's number and the flag that enforces it (PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY's
// first bit); older SDK headers name neither.
constexpr int kRedirectionTrustPolicy = 16;
constexpr DWORD kEnforceRedirectionTrust = 0x1;

// Turns enforcement on through `setPolicy` (the real one unless a test hands in another). True when
// the system took it; false where the function is missing or the system does not know the policy,
// which leaves the program's own checks of the folders it writes to.
bool EnableRedirectionTrust(SetProcessMitigationPolicyFunction setPolicy = FindSetProcessMitigationPolicy());
