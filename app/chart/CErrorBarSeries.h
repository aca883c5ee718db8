// A line series with a vertical error bar at every point (velocity bounds of a curve).
#ifndef VELA_APP_CHART_CERRORBARSERIES_H
#define VELA_APP_CHART_CERRORBARSERIES_H

#include "app/chart/CLineSeries.h"

/// The bar of point i runs from y[i] - lower[i] to y[i] + upper[i].
class CErrorBarSeries : public CLineSeries
{
public:
    CErrorBarSeries() = default;

    Kind GetKind() const override { return Kind::ErrorBar; }
    std::unique_ptr<CChartObject> Clone() const override;
    ChartBounds Bounds() const override;

    /// Sets the distances below and above each point (non-negative). Returns false, and keeps
    /// the old errors, unless both have as many values as the series has points.
    bool SetErrors(std::vector<double> lower, std::vector<double> upper);
    /// Convenience for bounds: lower and upper are absolute values of the vertical axis.
    bool SetBounds(const std::vector<double> &lowerBound, const std::vector<double> &upperBound);
    const std::vector<double> &Lower() const { return m_lower; }
    const std::vector<double> &Upper() const { return m_upper; }

private:
    std::vector<double> m_lower;
    std::vector<double> m_upper;
};

#endif // VELA_APP_CHART_CERRORBARSERIES_H
