#pragma once
#include <functional>
#include <string>

#include "net/KPThread.h"

// A queued uninstall job. The program never queues one; the type keeps the worker's shape.
struct UNINSTALL_INFO {
    std::wstring name;
    std::wstring path;
    std::function<void()> action;
};

// The main window's idle worker: started with the window, stopped and joined with it.
class CKPInstallThread final : public CKPThread<UNINSTALL_INFO> {
public:
    CKPInstallThread() { Begin(); }
    ~CKPInstallThread() override { Stop(); }

    void Process(UNINSTALL_INFO& item) override;

private:
    std::string m_tag;
};
