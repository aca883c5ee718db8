#include "app/chart/CChartObject.h"

#include <algorithm>
#include <cmath>

void ChartBounds::Include(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (!valid) {
        xMin = xMax = x;
        yMin = yMax = y;
        valid = true;
        return;
    }
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    yMin = std::min(yMin, y);
    yMax = std::max(yMax, y);
}

void ChartBounds::Include(const ChartBounds &other)
{
    if (!other.valid)
        return;
    Include(other.xMin, other.yMin);
    Include(other.xMax, other.yMax);
}
