#include "app/curve/CCurveTable.h"

#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/PassiveTransform.h"
#include "matrix/CMatrixArchive.h"

#include <QCoreApplication>

#include <limits>
#include <string>

namespace {

const char *const Context = "CGUICurvaDispersione";
const char *const SectionTag = "CDD";
constexpr float SectionVersion = 3.0f;

} // namespace

CCurveTable::CCurveTable(DispersionAnalysis *analysis, CGridModel *grid)
    : m_analysis(analysis)
    , m_ownGrid(grid ? nullptr : std::make_unique<CGridModel>())
    , m_grid(grid ? grid : m_ownGrid.get())
{
    Reset();
}

void CCurveTable::SetHeader()
{
    m_grid->SetColumnCount(ColumnCount);
    m_grid->SetFixedRowCount(1);
    // The column headings read the same in both languages.
    static const char *const headings[ColumnCount] = { QT_TRANSLATE_NOOP(
                                                           "CGUICurvaDispersione", "Freq. [Hz]"),
        QT_TRANSLATE_NOOP("CGUICurvaDispersione", "V. fase [m/s]"),
        QT_TRANSLATE_NOOP("CGUICurvaDispersione", "V. fase min [m/s]"),
        QT_TRANSLATE_NOOP("CGUICurvaDispersione", "V. fase Max [m/s]") };
    for (int c = 0; c < ColumnCount; ++c)
        m_grid->SetItemText(0, c, QCoreApplication::translate(Context, headings[c]));
}

void CCurveTable::Reset()
{
    m_grid->SetRowCount(0);
    m_grid->SetRowCount(2);
    SetHeader();
    m_items.assign(2, 0);
}

std::vector<CurveRow> CCurveTable::Rows() const
{
    std::vector<CurveRow> rows;
    for (int r = 1; r < m_grid->GetRowCount(); ++r) {
        CurveRow row;
        for (int c = 0; c < ColumnCount; ++c)
            row.cells[static_cast<std::size_t>(c)] = m_grid->GetItemText(r, c);
        row.item = r < static_cast<int>(m_items.size()) ? m_items[static_cast<std::size_t>(r)] : 0;
        rows.push_back(row);
    }
    return rows;
}

void CCurveTable::SetRows(const std::vector<CurveRow> &rows)
{
    m_grid->SetRowCount(0);
    m_grid->SetRowCount(static_cast<int>(rows.size()) + 2);
    SetHeader();
    m_items.assign(rows.size() + 2, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (int c = 0; c < ColumnCount; ++c)
            m_grid->SetItemText(
                static_cast<int>(i) + 1, c, rows[i].cells[static_cast<std::size_t>(c)]);
        m_items[i + 1] = rows[i].item;
    }
}

int CCurveTable::DataRowCount() const
{
    int count = 0;
    for (const CurveRow &row : Rows())
        count += row.IsEmpty() ? 0 : 1;
    return count;
}

int CCurveTable::Item(int dataRow) const
{
    const std::size_t r = static_cast<std::size_t>(dataRow) + 1;
    return dataRow >= 0 && r < m_items.size() ? m_items[r] : 0;
}

bool CCurveTable::AcceptEdit(int row, int column, const QString &text, QString *message) const
{
    std::vector<CurveRow> others = Rows();
    if (row >= 1 && row - 1 < static_cast<int>(others.size()))
        others.erase(others.begin() + (row - 1));
    return CurveCellAccepted(text.trimmed().isEmpty() ? QString() : QString(text),
        static_cast<CurveColumn>(column), others, message);
}

void CCurveTable::AfterEdit(int row)
{
    if (row == m_grid->GetRowCount() - 1) {
        bool empty = true;
        for (int c = 0; c < ColumnCount; ++c)
            empty = empty && m_grid->GetItemText(row, c).trimmed().isEmpty();
        if (!empty) {
            m_grid->InsertRow();
            m_items.push_back(0);
        }
    }
}

bool CCurveTable::KeepOneEmptyRow()
{
    m_items.resize(static_cast<std::size_t>(m_grid->GetRowCount()), 0);
    // Drop surplus empty rows at the end, then make sure one is there.
    while (m_grid->GetRowCount() > 2) {
        const int last = m_grid->GetRowCount() - 1;
        bool lastEmpty = true;
        bool previousEmpty = true;
        for (int c = 0; c < ColumnCount; ++c) {
            lastEmpty = lastEmpty && m_grid->GetItemText(last, c).trimmed().isEmpty();
            previousEmpty = previousEmpty && m_grid->GetItemText(last - 1, c).trimmed().isEmpty();
        }
        if (!(lastEmpty && previousEmpty))
            break;
        m_grid->DeleteRow(last);
        m_items.pop_back();
    }
    AfterEdit(m_grid->GetRowCount() - 1);
    return m_grid->GetRowCount() == 2 && Rows().front().IsEmpty();
}

CurveCheck CCurveTable::Check()
{
    const CurveCheck check = CheckCurveTable(Rows());
    if (!check.ok)
        return check;
    m_points = check.points;
    m_nextEnabled = m_points.Count() >= 2;
    if (m_analysis)
        m_analysis->HandOverCurve(m_points.frequencies, m_points.velocities, m_points.maxVelocities,
            m_points.minVelocities);
    return check;
}

CCurveTable::BarResult CCurveTable::AddBar(double frequency, double y1, double y2, int objectId)
{
    const std::optional<CurveRow> made = CurveRowFromBar(m_plane, frequency, y1, y2);
    if (!made)
        return BarResult::Ignored;
    std::vector<CurveRow> rows = Rows();
    if (CurveHasFrequency(rows, frequency))
        return BarResult::Duplicate;
    CurveRow row = *made;
    row.item = objectId;
    // Before the empty last row.
    const int at = m_grid->GetRowCount() - 1;
    m_grid->InsertRow(at);
    for (int c = 0; c < ColumnCount; ++c)
        m_grid->SetItemText(at, c, row.cells[static_cast<std::size_t>(c)]);
    m_items.insert(m_items.begin() + at, objectId);
    return BarResult::Added;
}

bool CCurveTable::TakeAutomaticPoints()
{
    if (!m_analysis || (!m_analysis->m_bAnalysed && !m_analysis->m_bPassivePrepared))
        return false;
    if (!m_analysis->m_bAnalysed) {
        // After a passive analysis alone the curve is the ridge of the passive image shown
        // under the points (the zero frequency carries no velocity).
        CMatrix frequencies;
        CMatrix velocities;
        PassivePeakCurve(m_analysis->m_passiveImage, m_analysis->m_passiveFrequencyAxis,
            m_analysis->m_passiveVelocityAxis, std::numeric_limits<double>::min(),
            std::numeric_limits<double>::max(), frequencies, velocities);
        SetRows(AutomaticCurveRows(frequencies, velocities));
        return true;
    }
    SetRows(AutomaticCurveRows(m_analysis->m_pickedFrequencies, m_analysis->m_pickedVelocities,
        &m_analysis->m_pickedLower, &m_analysis->m_pickedUpper));
    return true;
}

bool CCurveTable::Import(const QString &path, const QString *sheet, QString *message)
{
    std::vector<CurveRow> rows;
    const bool ok = sheet ? ReadCurveSheet(path, *sheet, rows, message)
                          : ReadCurveTextFile(path, rows, message);
    if (!ok)
        return false;
    SetRows(rows);
    return true;
}

bool CCurveTable::Export(const QString &path, bool workbook, QString *message) const
{
    if (workbook)
        return WriteCurveWorkbook(path, Rows(), message);
    if (!WriteCurveTextFile(path, Rows())) {
        if (message)
            *message = QCoreApplication::translate("CGUICurvaDispersione", "Error during writing");
        return false;
    }
    return true;
}

QStringList CCurveTable::ReportHeader() const
{
    QStringList header;
    for (int c = 0; c < ColumnCount; ++c)
        header << m_grid->GetItemText(0, c);
    return header;
}

QList<QStringList> CCurveTable::ReportTable() const
{
    QList<QStringList> rows;
    for (int i = 0; i < m_points.Count(); ++i) {
        const CurveRow row = CurveRowOf(m_points.frequencies(i), m_points.velocities(i),
            m_points.minVelocities(i), m_points.maxVelocities(i));
        rows << QStringList { row.cells[0], row.cells[1], row.cells[2], row.cells[3] };
    }
    return rows;
}

bool CCurveTable::WriteChartText(const QString &path) const
{
    const bool picked = m_analysis && m_analysis->m_bAnalysed;
    return WriteCurvePageText(path, picked ? &m_analysis->m_pickedFrequencies : nullptr,
        picked ? &m_analysis->m_pickedVelocities : nullptr, m_points);
}

void CCurveTable::StoreSection(CMatrixArchive &ar) const
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(SectionTag);
    ar.WriteFloat32(SectionVersion);
    m_grid->Store(ar);
    static const DispersionAnalysis none;
    const DispersionAnalysis &a = m_analysis ? *m_analysis : none;
    a.m_pickedVelocities.Store(ar);
    a.m_pickedFrequencies.Store(ar);
    ar.WriteInt32(a.m_bAnalysed ? 1 : 0);
    a.m_passiveImage.Store(ar);
    a.m_passiveFrequencyAxis.Store(ar);
    a.m_passiveVelocityAxis.Store(ar);
    ar.WriteInt32(a.m_bPassivePrepared ? 1 : 0);
    ar.WriteInt32(m_plane == CurvePlane::FrequencyVelocity ? 1 : 0);
}

void CCurveTable::LoadSection(CMatrixArchive &ar)
{
    ar.ReadLine(); // the separator
    if (ar.ReadLine() != SectionTag)
        CMatrixArchive::ThrowBadClass();
    ar.ReadFloat32(); // section version
    CGridModel grid;
    grid.Load(ar);
    if (grid.GetColumnCount() != ColumnCount || grid.GetRowCount() < 1
        || grid.GetFixedRowCount() != 1)
        CMatrixArchive::ThrowBadClass();
    CMatrix velocities, frequencies, image, imageFrequencies, imageVelocities;
    velocities.Load(ar);
    frequencies.Load(ar);
    const bool analysed = ar.ReadInt32() != 0;
    image.Load(ar);
    imageFrequencies.Load(ar);
    imageVelocities.Load(ar);
    const bool passivePrepared = ar.ReadInt32() != 0;
    const bool frequencyVelocity = ar.ReadInt32() != 0;

    // Everything read: only now does the table change.
    std::vector<CurveRow> rows;
    for (int r = 1; r < grid.GetRowCount(); ++r) {
        CurveRow row;
        for (int c = 0; c < ColumnCount; ++c)
            row.cells[static_cast<std::size_t>(c)] = grid.GetItemText(r, c);
        rows.push_back(row);
    }
    while (!rows.empty() && rows.back().IsEmpty())
        rows.pop_back();
    SetRows(rows);
    m_plane = frequencyVelocity ? CurvePlane::FrequencyVelocity : CurvePlane::FrequencySlowness;
    if (m_analysis) {
        m_analysis->m_pickedVelocities = velocities;
        m_analysis->m_pickedFrequencies = frequencies;
        m_analysis->m_bAnalysed = analysed;
        m_analysis->m_passiveImage = image;
        m_analysis->m_passiveFrequencyAxis = imageFrequencies;
        m_analysis->m_passiveVelocityAxis = imageVelocities;
        m_analysis->m_bPassivePrepared = passivePrepared;
    }
}
