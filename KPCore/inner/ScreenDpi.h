#pragma once

// The screen's logical DPI: the mean of its horizontal and vertical values, truncated.
// 96 (a scale of 100 %) when the screen cannot be asked.
int GetScreenDpi();
