#include "pages/ProgressText.h"

#include <climits>
#include <cmath>

const std::wstring kInstallingPrefix = L"正在安装，请不要关闭";

int TruncatePercent(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

std::wstring ProgressLine(int percent) { return kInstallingPrefix + L" " + std::to_wstring(percent) + L"%"; }
