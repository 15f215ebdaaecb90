#pragma once
#include <memory>
#include <mutex>
#include <string>

#include "KPCore/inner/LogSink.h"

// The log file of one run: one timestamped UTF-8 line per step (LogLine.h), written straight
// through so that a run that ends abruptly still leaves everything before its end.
//
// A log that cannot be opened or written is no log, nothing more: every write then does nothing,
// and nothing the installer does depends on the log.
class CRunLog {
public:
    // `path` is created, or emptied when it exists (an administrator named it). Empty: the
    // default name in the temporary folder; that one is never an existing file (a name already
    // taken gets "_2", "_3"... before its extension).
    static std::shared_ptr<CRunLog> Open(const std::wstring& path);
    ~CRunLog();
    CRunLog(const CRunLog&) = delete;
    CRunLog& operator=(const CRunLog&) = delete;

    bool IsOpen() const;
    // The file's full path; empty when none could be opened.
    const std::wstring& Path() const { return m_path; }
    // Any thread.
    void Write(const std::wstring& text);

private:
    CRunLog(void* file, std::wstring path) : m_file(file), m_path(std::move(path)) {}

    std::mutex m_lock;
    void* m_file;  // a file handle; INVALID_HANDLE_VALUE without a log
    std::wstring m_path;
};

// A sink that writes into `log` and keeps it open as long as somebody holds the sink.
LogSink SinkOf(const std::shared_ptr<CRunLog>& log);

// The lines that start every log: the program's version, its command line, the Windows version,
// the architecture of the program and of Windows.
void WriteRunHeader(const LogSink& log, const std::wstring& commandLine);
