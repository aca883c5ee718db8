#include "app/chart/CErrorBarSeries.h"

#include <utility>

std::unique_ptr<CChartObject> CErrorBarSeries::Clone() const
{
    return std::make_unique<CErrorBarSeries>(*this);
}

ChartBounds CErrorBarSeries::Bounds() const
{
    ChartBounds bounds = CLineSeries::Bounds();
    const std::vector<double> &x = X();
    const std::vector<double> &y = Y();
    if (m_lower.size() != x.size() || m_upper.size() != x.size())
        return bounds;
    for (std::size_t i = 0; i < x.size(); ++i) {
        bounds.Include(x[i], y[i] - m_lower[i]);
        bounds.Include(x[i], y[i] + m_upper[i]);
    }
    return bounds;
}

bool CErrorBarSeries::SetErrors(std::vector<double> lower, std::vector<double> upper)
{
    const std::size_t count = X().size();
    if (lower.size() != count || upper.size() != count)
        return false;
    m_lower = std::move(lower);
    m_upper = std::move(upper);
    return true;
}

bool CErrorBarSeries::SetBounds(
    const std::vector<double> &lowerBound, const std::vector<double> &upperBound)
{
    const std::vector<double> &y = Y();
    if (lowerBound.size() != y.size() || upperBound.size() != y.size())
        return false;
    std::vector<double> lower(y.size());
    std::vector<double> upper(y.size());
    for (std::size_t i = 0; i < y.size(); ++i) {
        lower[i] = y[i] - lowerBound[i];
        upper[i] = upperBound[i] - y[i];
    }
    return SetErrors(std::move(lower), std::move(upper));
}
