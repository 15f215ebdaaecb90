#pragma once
#include "app/InstallFlowHost.h"

// What the program tells its caller when it ends, the same in every build. A wizard that the user
// closes before the end ends with kExitInstalled too: nothing failed, nothing was asked of it.
enum ExitCode : int {
    kExitInstalled = 0,           // installed and registered (or the user closed the wizard)
    kExitDownloadFailed = 1,      // the package could not be fetched
    kExitNotVerified = 2,         // the fetched package is not the vendor's signed program
    kExitPackageFailed = 3,       // the package could not be started, or ended without completing
    kExitRegistrationFailed = 4,  // installed, but the uninstall entry or the shortcuts failed
    kExitAnotherInstaller = 5,    // another installer runs in this session
    kExitBadCommandLine = 6,      // a folder the options page would refuse, or several folders
};

inline int ExitCodeOf(InstallFailure failure)
{
    switch (failure) {
    case InstallFailure::Download: return kExitDownloadFailed;
    case InstallFailure::Verification: return kExitNotVerified;
    // No trustworthy place for the status file means the package cannot be followed, so it is
    // never started; an "active" of "1" without the application is a package that did not install.
    case InstallFailure::StatusFile:
    case InstallFailure::Start:
    case InstallFailure::Incomplete:
    case InstallFailure::NotInstalled: return kExitPackageFailed;
    }
    return kExitPackageFailed;
}
