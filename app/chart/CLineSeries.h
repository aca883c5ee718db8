// A line series of a chart: x and y values joined by a line, with optional markers.
#ifndef VELA_APP_CHART_CLINESERIES_H
#define VELA_APP_CHART_CLINESERIES_H

#include "app/chart/CChartObject.h"
#include "app/chart/ChartColor.h"

#include <vector>

enum class ChartMarker { None, Circle, Square, Triangle, Diamond, Cross, Plus };

/// Points drawn in their given order (not sorted by x), so a profile drawn as a staircase keeps
/// its shape.
class CLineSeries : public CChartObject
{
public:
    CLineSeries() = default;

    Kind GetKind() const override { return Kind::Line; }
    std::unique_ptr<CChartObject> Clone() const override;
    ChartBounds Bounds() const override;

    /// Sets the points. Returns false, and keeps the old data, when the lengths differ.
    bool SetData(std::vector<double> x, std::vector<double> y);
    const std::vector<double> &X() const { return m_x; }
    const std::vector<double> &Y() const { return m_y; }
    int PointCount() const { return static_cast<int>(m_x.size()); }

    void SetLineColor(ChartColor color) { m_lineColor = color; }
    ChartColor LineColor() const { return m_lineColor; }
    /// Colour inside the markers.
    void SetFillColor(ChartColor color) { m_fillColor = color; }
    ChartColor FillColor() const { return m_fillColor; }
    /// Fills the closed outline of the points (variable-area traces). Off by default.
    void SetAreaFill(bool fill, ChartColor color)
    {
        m_areaFill = fill;
        m_areaColor = color;
    }
    bool AreaFill() const { return m_areaFill; }
    ChartColor AreaColor() const { return m_areaColor; }
    /// Line width in pixels; 0 draws no line (markers only).
    void SetLineWidth(double widthPx) { m_lineWidth = widthPx; }
    double LineWidth() const { return m_lineWidth; }
    /// Marker type and size in pixels.
    void SetMarker(ChartMarker marker, double widthPx);
    ChartMarker Marker() const { return m_marker; }
    double MarkerWidth() const { return m_markerWidth; }
    /// Dash pattern as text: dash and gap lengths in line widths, separated by spaces or commas
    /// ("6 3" dashed, "1 3" dotted, "6 3 1 3" dash-dot). Empty (or unreadable) draws solid.
    void SetDashPattern(const QString &pattern) { m_dashPattern = pattern; }
    const QString &DashPattern() const { return m_dashPattern; }
    /// The dash pattern's lengths; empty for a solid line. An odd count, a non-positive or an
    /// unreadable length yields empty.
    static std::vector<double> ParseDashPattern(const QString &pattern);

private:
    std::vector<double> m_x;
    std::vector<double> m_y;
    ChartColor m_lineColor { 0.0f, 0.0f, 1.0f, 1.0f };
    ChartColor m_fillColor { 1.0f, 1.0f, 1.0f, 1.0f };
    double m_lineWidth = 1.0;
    ChartMarker m_marker = ChartMarker::None;
    double m_markerWidth = 6.0;
    QString m_dashPattern;
    bool m_areaFill = false;
    ChartColor m_areaColor { 0.0f, 0.0f, 0.0f, 1.0f };
};

#endif // VELA_APP_CHART_CLINESERIES_H
