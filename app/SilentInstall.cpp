#include "app/SilentInstall.h"

#include <windows.h>

#include "KPCore/inner/ProductRegistration.h"
#include "app/ExitCode.h"
#include "app/InstallFlow.h"
#include "app/SilentFlowHost.h"
#include "pages/InstallSettings.h"

namespace {

// A download report on its way from the worker: wParam the code, lParam the attempt.
constexpr UINT WM_SILENT_DOWNLOAD_REPORT = WM_APP + 0x15;
constexpr wchar_t kClassName[] = L"KPSetupSilentInstall";
// How long a completed package may take to end: 10 s in steps of 100 ms.
constexpr int kPackageEndWaits = 100;
constexpr DWORD kPackageEndWaitMs = 100;

LRESULT CALLBACK SilentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* flow = reinterpret_cast<CInstallFlow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (flow && message == WM_TIMER) {
        flow->OnTimer(wParam);
        return 0;
    }
    if (flow && message == WM_SILENT_DOWNLOAD_REPORT) {
        flow->OnDownloadReport(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateMessageWindow()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SilentWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when it is registered already
    return CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int RunSilentInstall(const InstallSettings& settings, InstallFlowServices services, const LogSink& log)
{
    HWND window = CreateMessageWindow();
    if (!window) {
        WriteLog(log, L"no message window: error " + std::to_wstring(GetLastError()));
        return ExitCodeOf(InstallFailure::Start);
    }
    CSilentFlowHost::Edges edges;
    edges.startTimer = [window](unsigned int id, unsigned int milliseconds) {
        ::SetTimer(window, id, milliseconds, nullptr);
    };
    edges.stopTimer = [window](unsigned int id) { ::KillTimer(window, id); };
    edges.makeReportPoster = [window]() -> ReportPoster {
        return [window](int code, int attempt) {
            ::PostMessageW(window, WM_SILENT_DOWNLOAD_REPORT, static_cast<WPARAM>(code), static_cast<LPARAM>(attempt));
        };
    };
    edges.registerProduct = [&settings, log] {
        const std::wstring appFolder = settings.GetAppFolder();
        WriteLog(log, L"registering the product in " + appFolder);
        const RegistrationResult result = RegisterInstalledProduct(appFolder);
        WriteLog(log, DescribeRegistration(result));
        return result.Succeeded();
    };
    edges.log = log;
    CSilentFlowHost host(std::move(edges));
    int exitCode = 0;
    {
        CInstallFlow flow(host, std::move(services));
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&flow));
        flow.Start(settings);
        MSG message{};
        while (!host.IsDone() && GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // The package may write "1" a moment before it ends; whoever runs the installer expects
        // that, once it has ended, so has the package, and nothing of it is left behind.
        for (int wait = 0; wait < kPackageEndWaits && !flow.RemoveFinishedPlace(); ++wait) Sleep(kPackageEndWaitMs);
        if (!flow.GetPackagePath().empty())
            WriteLog(log, L"the package's folder is still in use: removed at the next start");
        // A report still on its way finds no flow.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        flow.Stop();
        exitCode = host.GetExitCode();
        if (!host.IsDone()) {
            // The thread was told to quit (the session ends): the installation did not complete.
            WriteLog(log, L"stopped before the installation completed");
            exitCode = kExitPackageFailed;
        }
    }
    DestroyWindow(window);
    return exitCode;
}
