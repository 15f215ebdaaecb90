#pragma once
#include <string>

// The wall-clock time of a log line, local time.
struct LogTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// One line of the run's log in UTF-8: "2026-12-08 23:15:00.123  <text>\r\n". Line breaks and other
// control characters in the text become spaces, so every step stays on one line whatever a server
// or a file handed in.
std::string FormatLogLine(const LogTime& time, const std::wstring& text);

// "KPSetup_20261208_231500.log": the default log name, which sorts by the run's start.
std::wstring DefaultLogFileName(const LogTime& time);

// "0x80190194": an HRESULT or a Windows status as administrators look them up.
std::wstring HexCode(unsigned long code);
