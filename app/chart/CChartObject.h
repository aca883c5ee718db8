// Base of every object drawn in a chart region: a numeric identifier, a name and a legend text.
#ifndef VELA_APP_CHART_CCHARTOBJECT_H
#define VELA_APP_CHART_CCHARTOBJECT_H

#include <QString>

#include <memory>

/// Smallest and largest coordinates covered by objects, in axis units. Invalid when empty.
struct ChartBounds
{
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    bool valid = false;

    /// Widens the bounds to include (x, y); non-finite values are ignored.
    void Include(double x, double y);
    /// Widens the bounds to include another box.
    void Include(const ChartBounds &other);
};

/// A chart object. Identifiers are positive; 0 means "not yet given", and the region assigns one
/// when the object is added.
class CChartObject
{
public:
    enum class Kind { Line, ErrorBar, Image };

    virtual ~CChartObject() = default;

    virtual Kind GetKind() const = 0;
    /// A deep copy (same identifier).
    virtual std::unique_ptr<CChartObject> Clone() const = 0;
    /// Area covered in axis units (empty for an object without data).
    virtual ChartBounds Bounds() const = 0;

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }
    /// Short name of the object.
    const QString &Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    /// Legend text; an object with an empty description has no legend entry.
    const QString &Description() const { return m_description; }
    void SetDescription(const QString &description) { m_description = description; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

protected:
    CChartObject() = default;
    CChartObject(const CChartObject &) = default;
    CChartObject &operator=(const CChartObject &) = default;

private:
    int m_id = 0;
    QString m_name;
    QString m_description;
    bool m_visible = true;
};

#endif // VELA_APP_CHART_CCHARTOBJECT_H
