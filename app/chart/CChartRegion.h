// A chart region: title, axis labels and formats, and the objects drawn in it.
#ifndef VELA_APP_CHART_CCHARTREGION_H
#define VELA_APP_CHART_CCHARTREGION_H

#include "app/chart/CChartObject.h"

#include <QString>

#include <memory>
#include <vector>

enum class ChartAxis { Left, Bottom };

/// Plain data: the chart widget draws it and the report exports it. Owns its objects; copies
/// are deep.
class CChartRegion
{
public:
    CChartRegion() = default;
    CChartRegion(const CChartRegion &other);
    CChartRegion &operator=(const CChartRegion &other);
    CChartRegion(CChartRegion &&) = default;
    CChartRegion &operator=(CChartRegion &&) = default;

    void SetTitle(const QString &title) { m_title = title; }
    const QString &Title() const { return m_title; }
    void SetLeftLabel(const QString &label) { m_leftLabel = label; }
    const QString &LeftLabel() const { return m_leftLabel; }
    void SetBottomLabel(const QString &label) { m_bottomLabel = label; }
    const QString &BottomLabel() const { return m_bottomLabel; }
    /// Number format of an axis' tick labels as a printf conversion: "%g", "%.2f", "%.1e", ...
    void SetNumberFormat(ChartAxis axis, const QString &format);
    QString NumberFormat(ChartAxis axis) const;
    /// Reads a printf conversion ("%g", "%.2f", "%8.3lf", "%e", "%d") into a kind ('f', 'e' or
    /// 'g') and a precision (digits; 6 when not given, 0 for integers). False for anything else.
    static bool ParseNumberFormat(const QString &format, char *kind, int *precision);
    /// Draws an axis from its largest to its smallest value (depth growing downward).
    void SetReversed(ChartAxis axis, bool reversed);
    bool Reversed(ChartAxis axis) const;
    /// The area the chart shows when it is drawn, in axis units. An invalid one (the default)
    /// leaves the view where it is; exports then show all objects.
    void SetViewRange(const ChartBounds &view) { m_view = view; }
    const ChartBounds &ViewRange() const { return m_view; }
    void SetLegendVisible(bool visible) { m_legendVisible = visible; }
    bool LegendVisible() const { return m_legendVisible; }

    /// Adds an object and returns its identifier. An object with identifier 0, or with one
    /// already used in this region, gets the next free one (largest in use + 1). Never fails for
    /// a non-null object; returns 0 for a null one.
    int Add(std::unique_ptr<CChartObject> object);
    /// The object with that identifier, or nullptr.
    CChartObject *Find(int id);
    const CChartObject *Find(int id) const;
    /// Removes and deletes the object; false when there is none with that identifier.
    bool Remove(int id);
    void Clear();
    int Count() const { return static_cast<int>(m_objects.size()); }
    /// Objects in drawing order (the order in which they were added).
    const std::vector<std::unique_ptr<CChartObject>> &Objects() const { return m_objects; }

    /// Area covered by the visible objects, for zooming to show all of them.
    ChartBounds DataBounds() const;

private:
    QString m_title;
    QString m_leftLabel;
    QString m_bottomLabel;
    QString m_leftFormat = QStringLiteral("%g");
    QString m_bottomFormat = QStringLiteral("%g");
    bool m_leftReversed = false;
    bool m_bottomReversed = false;
    bool m_legendVisible = true;
    ChartBounds m_view;
    std::vector<std::unique_ptr<CChartObject>> m_objects;
};

#endif // VELA_APP_CHART_CCHARTREGION_H
