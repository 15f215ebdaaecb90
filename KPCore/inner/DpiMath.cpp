#include "KPCore/inner/DpiMath.h"

int MeanDpi(int horizontal, int vertical)
{
    const float mean = (static_cast<float>(horizontal) + static_cast<float>(vertical)) / 2.0f;
    return static_cast<int>(mean);
}
