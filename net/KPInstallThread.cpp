#include "net/KPInstallThread.h"

void CKPInstallThread::Process(UNINSTALL_INFO&)
{
    // Nothing to do: no uninstall job is ever queued by the setup program.
}
