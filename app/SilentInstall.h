#pragma once
#include "KPCore/inner/LogSink.h"
#include "app/InstallFlowServices.h"

struct InstallSettings;

// Runs the whole installation without any window that could be seen: the install flow on this
// thread, with a message-only window for its timers and the download worker's reports, until
// the product is registered or an attempt has failed. Returns the exit code (ExitCode.h).
// COM must be initialised on this thread.
int RunSilentInstall(const InstallSettings& settings, InstallFlowServices services, const LogSink& log);
