#pragma once
#include <functional>

// What a downloader tells its observer. `text` is never null.
//   1001 begin     value 1.0, text ""
//   1002 progress  value = fraction done (0.0 to 1.0), text ""
//   1003 complete  value 0.0, text "URLDownloadToFile"
//   1004 failed    value = the last HRESULT (negative), text "URLDownloadToFile";
//                  or value 1.0 and text "" when there was no save path
using DownloadCallback = std::function<void(int code, double value, const wchar_t* text)>;

enum DownloadCode {
    DOWNLOAD_BEGIN = 1001,
    DOWNLOAD_PROGRESS = 1002,
    DOWNLOAD_COMPLETE = 1003,
    DOWNLOAD_FAILED = 1004,
};

class CDownloader {
public:
    virtual bool Start() = 0;

protected:
    // Not virtual: nobody deletes a downloader through this base, and the protected destructor
    // makes sure nobody can.
    ~CDownloader() = default;
};
