#include "app/profile/CProfileTable.h"

#include "app/controls/CGridModel.h"
#include "app/data/UserNumber.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

// Estimated Vs of a curve point: its phase velocity over the ratio of the Rayleigh to the
// shear velocity (0.9).
constexpr double VsPerPhaseVelocity = 1.1111111111111112;
// Depth a curve point speaks for: 0.4 of its wavelength.
constexpr double DepthPerWavelength = 0.4;
constexpr double LowestProposedVs = 10.0;
constexpr double DefaultThicknesses[CProfileTable::DefaultLayers] = { 2, 3, 3, 4, 4, 5, 5, 6 };
constexpr double LowestPoisson = 0.1;
constexpr double HighestPoisson = 0.49;
// Lines of an imported table: the header, the layers and the half-space.
constexpr int MinImportLines = 3;
constexpr int MaxImportLines = CProfileTable::MaxLayers + 2;

QString Tr(const char *text) { return QCoreApplication::translate("CGUIProfiloIniziale", text); }

QString Whole(double value) { return QString::asprintf("%.0f", value); }

} // namespace

InitialVsProposal ProposeInitialVs(
    const ExperimentalCurve &curve, const std::vector<double> &thicknesses)
{
    InitialVsProposal p;
    const int points = curve.PointCount();
    std::vector<double> vs(static_cast<std::size_t>(points)), depth(vs.size()), width(vs.size());
    for (int k = 0; k < points; ++k) {
        const double v = curve.velocities(k);
        vs[std::size_t(k)] = VsPerPhaseVelocity * v;
        depth[std::size_t(k)] =
            curve.frequencies(k) > 0 ? DepthPerWavelength * v / curve.frequencies(k) : 0.0;
        width[std::size_t(k)] = v != 0 ? (curve.maxVelocities(k) - curve.minVelocities(k)) / v : 0;
    }
    auto take = [&](int k) {
        if (points == 0) {
            p.vs.push_back(LowestProposedVs);
            p.widths.push_back(0.0);
            p.points.push_back(0);
            return;
        }
        p.vs.push_back(std::max(vs[std::size_t(k)], LowestProposedVs));
        p.widths.push_back(width[std::size_t(k)]);
        p.points.push_back(k);
    };
    double running = 0.0;
    for (double h : thicknesses) {
        running += 0.5 * h;
        int nearest = 0;
        for (int k = 1; k < points; ++k) {
            if (std::fabs(depth[std::size_t(k)] - running)
                < std::fabs(depth[std::size_t(nearest)] - running))
                nearest = k;
        }
        take(nearest);
        running += 0.5 * h;
    }
    take(0);
    return p;
}

double VpFromVsPoisson(double vs, double poisson)
{
    return vs * std::sqrt((2.0 - 2.0 * poisson) / (1.0 - 2.0 * poisson));
}

double PoissonFromVpVs(double vp, double vs)
{
    const double r2 = (vp / vs) * (vp / vs);
    return (r2 - 2.0) / (2.0 * r2 - 2.0);
}

std::optional<double> ExactCellNumber(const QString &text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CProfileTable::CProfileTable(CGridModel *grid, const QString &yes, const QString &no)
    : m_grid(grid)
    , m_yes(yes)
    , m_no(no)
{
}

void CProfileTable::Attach()
{
    m_grid->SetEndEditValidator(
        [this](int row, int column, const QString &text) { return AcceptEdit(row, column, text); });
    connect(m_grid, &CGridModel::CellEdited, this, &CProfileTable::ApplyEdit);
}

QStringList CProfileTable::Headers()
{
    return { Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Layer")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Description")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "h [m]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "z [m]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Density [kg/m^3]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Water table")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Poisson")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs [m/s]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs fixed")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs min [m/s]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs max [m/s]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vp [m/s]")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Alluvional")),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs fin.[m/s]")) };
}

std::vector<int> CProfileTable::ColumnWidths()
{
    return { 50, 90, 40, 40, 100, 50, 60, 60, 70, 70, 70, 60, 70, 70 };
}

int CProfileTable::LayerCount() const { return std::max(0, m_grid->GetRowCount() - 2); }

QString CProfileTable::Text(int row, int column) const { return m_grid->GetItemText(row, column); }

void CProfileTable::SetText(int row, int column, const QString &text)
{
    m_grid->SetItemText(row, column, text);
}

std::optional<double> CProfileTable::Number(int row, int column) const
{
    return ParseUserNumber(Text(row, column));
}

bool CProfileTable::IsYes(int row, int column) const { return IsYesText(Text(row, column)); }

bool CProfileTable::IsYesText(const QString &text) const
{
    // "No" and "NO" are the two languages' words: a document written in one language reads
    // the same in the other.
    return !text.isEmpty() && text.compare(m_no, Qt::CaseInsensitive) != 0;
}

// Kinds and read-only states of a layer row (or of the half-space row), and its number.
void CProfileTable::FormatLayerRow(int row, int number)
{
    SetText(row, ColLayer, QString::number(number));
    for (int column : { ColWaterTable, ColVsFixed, ColAlluvial }) {
        m_grid->SetCellKind(row, column, GridCellKind::List, { m_yes, m_no });
        if (Text(row, column).isEmpty())
            SetText(row, column, m_no);
    }
    m_grid->SetCellReadOnly(row, ColDepth, true);
    m_grid->SetCellReadOnly(row, ColFinalVs, true);
    const bool halfSpace = row == HalfSpaceRow();
    m_grid->SetCellReadOnly(row, ColThickness, halfSpace);
    if (halfSpace) {
        SetText(row, ColThickness, QStringLiteral("oo"));
        SetText(row, ColDepth, QStringLiteral("-oo"));
    }
    m_grid->SetCellReadOnly(row, ColPoisson, IsYes(row, ColWaterTable));
    const bool fixed = IsYes(row, ColVsFixed);
    m_grid->SetCellReadOnly(row, ColVsMin, fixed);
    m_grid->SetCellReadOnly(row, ColVsMax, fixed);
}

void CProfileTable::SetDefaultTable(const ExperimentalCurve &curve)
{
    const int rows = DefaultLayers + 2;
    m_grid->SetRowCount(0);
    m_grid->SetColumnCount(ProfileColumnCount);
    m_grid->SetRowCount(rows);
    m_grid->SetFixedRowCount(1);
    m_grid->SetFixedColumnCount(1);
    const QStringList headers = Headers();
    for (int c = 0; c < ProfileColumnCount; ++c)
        SetText(0, c, headers[c]);
    std::vector<double> thicknesses(std::begin(DefaultThicknesses), std::end(DefaultThicknesses));
    for (int l = 0; l < DefaultLayers; ++l)
        SetText(l + 1, ColThickness, QString::number(thicknesses[std::size_t(l)]));
    const InitialVsProposal proposal = ProposeInitialVs(curve, thicknesses);
    m_widths = CMatrix(rows - 1, 1);
    m_points = CMatrix(rows - 1, 1);
    for (int row = 1; row < rows; ++row) {
        const double vs = proposal.vs[std::size_t(row - 1)];
        SetText(row, ColVs, Whole(vs));
        SetText(row, ColVsMax, Whole(2.0 * vs));
        SetText(row, ColVsMin, Whole(0.5 * vs));
        SetText(row, ColDensity, QStringLiteral("1800"));
        SetText(row, ColPoisson, QStringLiteral("0.2"));
        SetText(row, ColVp, Whole(std::sqrt(8.0 / 3.0) * vs));
        for (int column : { ColWaterTable, ColVsFixed, ColAlluvial })
            SetText(row, column, m_no);
        FormatLayerRow(row, row);
        m_widths.Set(row - 1, proposal.widths[std::size_t(row - 1)]);
        m_points.Set(row - 1, proposal.points[std::size_t(row - 1)]);
    }
    RecomputeDepths();
}

void CProfileTable::SetLayerCount(int n)
{
    if (m_grid->GetColumnCount() != ProfileColumnCount || m_grid->GetRowCount() < 2)
        SetDefaultTable(ExperimentalCurve());
    n = std::clamp(n, 1, MaxLayers);
    while (LayerCount() > n)
        m_grid->DeleteRow(HalfSpaceRow() - 1);
    while (LayerCount() < n) {
        const int row = m_grid->InsertRow(HalfSpaceRow());
        FormatLayerRow(row, row);
    }
    for (int row = 1; row < HalfSpaceRow(); ++row)
        SetText(row, ColLayer, QString::number(row));
    FormatLayerRow(HalfSpaceRow(), n + 1);
    RecomputeDepths();
}

void CProfileTable::RecomputeDepths()
{
    double depth = 0.0;
    bool broken = false;
    for (int row = 1; row < HalfSpaceRow(); ++row) {
        const std::optional<double> h = ExactCellNumber(Text(row, ColThickness));
        // From an empty thickness down, no depth can be known.
        if (!h)
            broken = true;
        if (broken) {
            SetText(row, ColDepth, QString());
            continue;
        }
        depth -= *h;
        SetText(row, ColDepth, FormatUserNumber(depth));
    }
    SetText(HalfSpaceRow(), ColDepth, QStringLiteral("-oo"));
}

bool CProfileTable::AcceptEdit(int row, int column, const QString &text) const
{
    if (row < 1 || row > HalfSpaceRow())
        return false;
    switch (column) {
    case ColThickness:
        return ExactCellNumber(text).has_value();
    case ColPoisson: {
        const std::optional<double> nu = ParseUserNumber(text);
        return nu && *nu >= LowestPoisson && *nu <= HighestPoisson;
    }
    case ColVsMin:
    case ColVsMax: {
        // A fixed Vs has no range to keep.
        if (!Text(row, ColVsFixed).startsWith(QLatin1Char('N'), Qt::CaseInsensitive))
            return true;
        const std::optional<double> vs = Number(row, ColVs);
        const std::optional<double> value = ParseUserNumber(text);
        if (!vs || !value)
            return true;
        return column == ColVsMin ? *value <= *vs : *vs <= *value;
    }
    default:
        return true;
    }
}

void CProfileTable::MoveBoundsForVs(int row, double vs)
{
    const std::optional<double> low = Number(row, ColVsMin);
    if (low && vs < *low)
        SetText(row, ColVsMin, Whole(2.0 * vs / 3.0));
    else
        SetText(row, ColVsMax, Whole(1.5 * vs));
}

void CProfileTable::ApplyPoissonRule(int row)
{
    const std::optional<double> nu = Number(row, ColPoisson);
    if (!nu)
        return;
    if (const std::optional<double> vs = Number(row, ColVs))
        SetText(row, ColVp, Whole(VpFromVsPoisson(*vs, *nu)));
    else if (const std::optional<double> vp = Number(row, ColVp))
        SetText(row, ColVs, Whole(*vp / VpFromVsPoisson(1.0, *nu)));
}

void CProfileTable::ApplyEdit(int row, int column)
{
    switch (column) {
    case ColThickness:
        RecomputeDepths();
        break;
    case ColWaterTable:
        if (IsYes(row, ColWaterTable)) {
            SetText(row, ColPoisson, QString::asprintf("%.2f", WaterTablePoisson));
            m_grid->SetCellReadOnly(row, ColPoisson, true);
        } else {
            m_grid->SetCellReadOnly(row, ColPoisson, false);
        }
        ApplyPoissonRule(row);
        break;
    case ColPoisson:
        ApplyPoissonRule(row);
        break;
    case ColVs: {
        const std::optional<double> vs = Number(row, ColVs);
        if (!vs)
            break;
        MoveBoundsForVs(row, *vs);
        if (const std::optional<double> nu = Number(row, ColPoisson))
            SetText(row, ColVp, Whole(VpFromVsPoisson(*vs, *nu)));
        else if (const std::optional<double> vp = Number(row, ColVp))
            SetText(row, ColPoisson, QString::asprintf("%.2lf", PoissonFromVpVs(*vp, *vs)));
        break;
    }
    case ColVsFixed: {
        const bool fixed = IsYes(row, ColVsFixed);
        m_grid->SetCellReadOnly(row, ColVsMin, fixed);
        m_grid->SetCellReadOnly(row, ColVsMax, fixed);
        break;
    }
    case ColVp: {
        const std::optional<double> vp = Number(row, ColVp);
        if (!vp)
            break;
        if (const std::optional<double> nu = Number(row, ColPoisson)) {
            const double vs = *vp / VpFromVsPoisson(1.0, *nu);
            SetText(row, ColVs, Whole(vs));
            MoveBoundsForVs(row, vs);
        } else if (const std::optional<double> vs = Number(row, ColVs)) {
            SetText(row, ColPoisson, QString::asprintf("%.2lf", PoissonFromVpVs(*vp, *vs)));
        }
        break;
    }
    default:
        break;
    }
    emit TableChanged();
}

bool CProfileTable::FirstMissingCell(int *row, int *column) const
{
    // Description, depth and final Vs may stay empty: the runs do not use them.
    static const int needed[] = { ColThickness, ColDensity, ColPoisson, ColVs, ColVsMin, ColVsMax };
    for (int r = 1; r < HalfSpaceRow(); ++r) {
        for (int c : needed) {
            if (Text(r, c).trimmed().isEmpty()) {
                *row = r;
                *column = c;
                return true;
            }
        }
    }
    return false;
}

void CProfileTable::Collect(GroundProfile &profile) const
{
    profile.layers.clear();
    auto value = [this](int row, int column) { return Number(row, column).value_or(0.0); };
    for (int row = 1; row <= HalfSpaceRow(); ++row) {
        LayerRecord l;
        l.number = Text(row, ColLayer);
        const bool halfSpace = row == HalfSpaceRow();
        l.thicknessText = halfSpace ? QStringLiteral("0") : Text(row, ColThickness);
        l.thickness = halfSpace ? 0.0 : value(row, ColThickness);
        l.depthText = Text(row, ColDepth);
        l.depth = value(row, ColDepth);
        l.densityText = Text(row, ColDensity);
        l.density = value(row, ColDensity);
        l.description = Text(row, ColDescription);
        l.waterTableText = Text(row, ColWaterTable);
        l.waterTable = IsYesText(l.waterTableText);
        l.poissonText = Text(row, ColPoisson);
        l.poisson = value(row, ColPoisson);
        l.vsText = Text(row, ColVs);
        l.vs = value(row, ColVs);
        l.vsFixedText = Text(row, ColVsFixed);
        l.vsFixed = IsYesText(l.vsFixedText);
        l.vsMinText = Text(row, ColVsMin);
        l.vsMin = value(row, ColVsMin);
        l.vsMaxText = Text(row, ColVsMax);
        l.vsMax = value(row, ColVsMax);
        l.alluvialText = Text(row, ColAlluvial);
        l.alluvial = IsYesText(l.alluvialText);
        l.finalVsText = Text(row, ColFinalVs);
        l.finalVs = l.finalVsText.isEmpty() ? l.vs : value(row, ColFinalVs);
        profile.layers.push_back(l);
    }
}

void CProfileTable::SetFinalVs(const CMatrix &finalVs)
{
    for (int row = 1; row <= HalfSpaceRow() && row - 1 < finalVs.GetCount(); ++row)
        SetText(row, ColFinalVs, Whole(finalVs(row - 1)));
}

void CProfileTable::SetProposal(const CMatrix &widths, const CMatrix &points)
{
    m_widths = widths;
    m_points = points;
}

bool CProfileTable::ExportText(const QString &path, QString *error) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray bytes;
    for (int row = 0; row < m_grid->GetRowCount(); ++row) {
        for (int column = 0; column < m_grid->GetColumnCount(); ++column) {
            QString cell = Text(row, column);
            if (column == ColDescription)
                cell.replace(QLatin1Char(','), QLatin1Char(';'));
            bytes += cell.toUtf8() + ", ";
        }
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

ProfileImportResult CProfileTable::ImportText(const QString &path)
{
    ProfileImportResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.message =
            Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Cannot open the file %1")).arg(path);
        return result;
    }
    // The table lines: the older form counts twelve commas per line, the form Save writes
    // fourteen (one after every cell); reading stops at the first other line.
    std::vector<QString> lines;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int commas = static_cast<int>(line.count(QLatin1Char(',')));
        if (commas != 12 && commas != ProfileColumnCount)
            break;
        lines.push_back(line);
    }
    const int count = static_cast<int>(lines.size());
    if (count > MaxImportLines) {
        result.message = Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Too many layers"));
        return result;
    }
    if (count < MinImportLines) {
        result.message =
            Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Insufficient number of layers!"));
        return result;
    }
    SetLayerCount(count - 2);
    for (int row = 1; row < count; ++row) {
        const QStringList pieces = lines[std::size_t(row)].split(QLatin1Char(','));
        int column = 0;
        for (int i = 0; i < pieces.size() && column < ProfileColumnCount; ++i) {
            // Consecutive commas count as one; a blank between two commas is an empty cell.
            if (pieces[i].isEmpty())
                continue;
            SetText(row, column++, pieces[i].trimmed());
        }
        // The lines of Save end with a separator: nothing follows the last cell.
        for (; column < ProfileColumnCount; ++column)
            SetText(row, column, QString());
        FormatLayerRow(row, row);
    }
    FormatLayerRow(HalfSpaceRow(), count - 1);
    RecomputeDepths();
    result.ok = true;
    return result;
}
