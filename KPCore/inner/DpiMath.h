#pragma once

// The screen DPI from its horizontal and vertical values: their mean in single precision,
// truncated (120 and 144 give 132).
int MeanDpi(int horizontal, int vertical);
