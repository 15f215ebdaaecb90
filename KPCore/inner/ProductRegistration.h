#pragma once
#include <windows.h>

#include <string>

// The installer's own share of an installation, once the setup package has put the application
// into `appFolder`: the entry in the list of installed programs and the Start-menu group with its
// two shortcuts. Both are attempted even when the first fails; running it again rewrites the same
// entry and shortcuts. COM must be initialised on the calling thread.
struct RegistrationResult {
    LONG uninstallEntry = ERROR_SUCCESS;  // ERROR_SUCCESS or the first failing registry status
    bool shortcuts = false;               // both shortcuts written

    bool Succeeded() const { return uninstallEntry == ERROR_SUCCESS && shortcuts; }
};

RegistrationResult RegisterInstalledProduct(const std::wstring& appFolder);

// "uninstall entry: written; Start-menu shortcuts: written", or what failed, for the run's log.
std::wstring DescribeRegistration(const RegistrationResult& result);
