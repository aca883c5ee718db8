#include "app/chart/CLineSeries.h"

#include <QRegularExpression>
#include <QStringList>

#include <utility>

std::unique_ptr<CChartObject> CLineSeries::Clone() const
{
    return std::make_unique<CLineSeries>(*this);
}

ChartBounds CLineSeries::Bounds() const
{
    ChartBounds bounds;
    for (std::size_t i = 0; i < m_x.size(); ++i)
        bounds.Include(m_x[i], m_y[i]);
    return bounds;
}

bool CLineSeries::SetData(std::vector<double> x, std::vector<double> y)
{
    if (x.size() != y.size())
        return false;
    m_x = std::move(x);
    m_y = std::move(y);
    return true;
}

void CLineSeries::SetMarker(ChartMarker marker, double widthPx)
{
    m_marker = marker;
    m_markerWidth = widthPx;
}

std::vector<double> CLineSeries::ParseDashPattern(const QString &pattern)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    const QStringList parts = pattern.trimmed().split(separators, Qt::SkipEmptyParts);
    std::vector<double> lengths;
    for (const QString &part : parts) {
        bool ok = false;
        const double length = part.toDouble(&ok);
        if (!ok || !(length > 0.0))
            return {};
        lengths.push_back(length);
    }
    // A pattern is pairs of dash and gap; anything else cannot be drawn consistently.
    if (lengths.size() % 2 != 0)
        return {};
    return lengths;
}
