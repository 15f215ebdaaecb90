#pragma once
#include <string>

// The progress page's line under the bar: "正在安装，请不要关闭" + " " + whole percent + "%".

// The prefix of the line.
extern const std::wstring kInstallingPrefix;

// The whole percent of `value`, cut toward zero (70.9 gives 70, -0.5 gives 0). The value is not
// limited to 0..100; one beyond the int range (or not a number) is held at the nearest int (0 for
// not a number) instead of being converted with undefined result.
int TruncatePercent(double value);

// The line for a percent, for instance "正在安装，请不要关闭 37%".
std::wstring ProgressLine(int percent);
