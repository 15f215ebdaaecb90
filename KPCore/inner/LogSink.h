#pragma once
#include <functional>
#include <string>

// Where a step of the run writes one line of the run's log: the text only, without time or line
// end. Any thread may call it; an empty sink (a test, or no log) is simply not called.
using LogSink = std::function<void(const std::wstring& text)>;

inline void WriteLog(const LogSink& sink, const std::wstring& text)
{
    if (sink) sink(text);
}
