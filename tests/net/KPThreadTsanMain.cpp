// Construct/destroy cycles of the install worker under ThreadSanitizer: any race in the stop
// protocol is reported (and fails the run); a lost stop hangs until ctest's timeout.
#include <cstdio>

#include "net/KPInstallThread.h"

int main()
{
    const int cycles = 2000;
    for (int i = 0; i < cycles; ++i) {
        CKPInstallThread worker;
        if (i % 2) worker.Push(UNINSTALL_INFO{L"a", L"b", nullptr});
    }
    std::printf("%d construct/destroy cycles ended cleanly\n", cycles);
    return 0;
}
