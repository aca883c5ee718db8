#include "app/chart/CChartRegion.h"

#include <QRegularExpression>

#include <algorithm>

CChartRegion::CChartRegion(const CChartRegion &other)
    : m_title(other.m_title)
    , m_leftLabel(other.m_leftLabel)
    , m_bottomLabel(other.m_bottomLabel)
    , m_leftFormat(other.m_leftFormat)
    , m_bottomFormat(other.m_bottomFormat)
    , m_leftReversed(other.m_leftReversed)
    , m_bottomReversed(other.m_bottomReversed)
    , m_legendVisible(other.m_legendVisible)
    , m_view(other.m_view)
{
    m_objects.reserve(other.m_objects.size());
    for (const auto &object : other.m_objects)
        m_objects.push_back(object->Clone());
}

CChartRegion &CChartRegion::operator=(const CChartRegion &other)
{
    if (this != &other) {
        CChartRegion copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void CChartRegion::SetNumberFormat(ChartAxis axis, const QString &format)
{
    (axis == ChartAxis::Left ? m_leftFormat : m_bottomFormat) = format;
}

QString CChartRegion::NumberFormat(ChartAxis axis) const
{
    return axis == ChartAxis::Left ? m_leftFormat : m_bottomFormat;
}

void CChartRegion::SetReversed(ChartAxis axis, bool reversed)
{
    (axis == ChartAxis::Left ? m_leftReversed : m_bottomReversed) = reversed;
}

bool CChartRegion::Reversed(ChartAxis axis) const
{
    return axis == ChartAxis::Left ? m_leftReversed : m_bottomReversed;
}

bool CChartRegion::ParseNumberFormat(const QString &format, char *kind, int *precision)
{
    static const QRegularExpression conversion(
        QStringLiteral("^%[-+ #0]*\\d*(?:\\.(\\d*))?(l|ll|h)?([fFeEgGdi])$"));
    const QRegularExpressionMatch match = conversion.match(format.trimmed());
    if (!match.hasMatch())
        return false;
    const QChar letter = match.captured(3).at(0).toLower();
    const bool integer = letter == QLatin1Char('d') || letter == QLatin1Char('i');
    *kind = integer ? 'f' : static_cast<char>(letter.toLatin1());
    if (integer)
        *precision = 0;
    else if (match.capturedStart(1) >= 0)
        *precision = match.captured(1).toInt(); // "%.f" means no decimals, as in printf
    else
        *precision = 6;
    return true;
}

int CChartRegion::Add(std::unique_ptr<CChartObject> object)
{
    if (!object)
        return 0;
    int largest = 0;
    bool taken = false;
    for (const auto &existing : m_objects) {
        largest = std::max(largest, existing->Id());
        taken = taken || existing->Id() == object->Id();
    }
    if (object->Id() <= 0 || taken)
        object->SetId(largest + 1);
    const int id = object->Id();
    m_objects.push_back(std::move(object));
    return id;
}

CChartObject *CChartRegion::Find(int id)
{
    for (const auto &object : m_objects) {
        if (object->Id() == id)
            return object.get();
    }
    return nullptr;
}

const CChartObject *CChartRegion::Find(int id) const
{
    return const_cast<CChartRegion *>(this)->Find(id);
}

bool CChartRegion::Remove(int id)
{
    const auto found = std::find_if(m_objects.begin(), m_objects.end(),
        [id](const auto &object) { return object->Id() == id; });
    if (found == m_objects.end())
        return false;
    m_objects.erase(found);
    return true;
}

void CChartRegion::Clear() { m_objects.clear(); }

ChartBounds CChartRegion::DataBounds() const
{
    ChartBounds bounds;
    for (const auto &object : m_objects) {
        if (object->Visible())
            bounds.Include(object->Bounds());
    }
    return bounds;
}
