// The curve table's logic: cell and table checks, bars picked in both planes, automatic
// points, the hand-over sorted with each point's own spread, and import/export round trips
// through text and Excel files.
#include "app/curve/CurveTable.h"
#include "app/curve/CCurveTable.h"
#include "app/curve/CurveChart.h"
#include "app/curve/CurvePlaneImage.h"
#include "app/data/CExcelAccess.h"
#include "app/data/TraceSet.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"
#include "matrix/CMatrixArchive.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <xlsxwriter.h>

namespace {

CurveRow Row(const char *f, const char *v, const char *lo, const char *hi)
{
    CurveRow row;
    row.cells = { QString::fromLatin1(f), QString::fromLatin1(v), QString::fromLatin1(lo),
        QString::fromLatin1(hi) };
    return row;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(CurveCells, EditCheckTakesExactlyOneNumberAndRefusesARepeatedFrequency)
{
    const std::vector<CurveRow> others = { Row("10", "200", "180", "220") };
    QString message;
    EXPECT_TRUE(CurveCellAccepted(QString(), CurveColumn::Frequency, others, &message));
    EXPECT_TRUE(
        CurveCellAccepted(QStringLiteral("12,5"), CurveColumn::Frequency, others, &message));
    EXPECT_FALSE(
        CurveCellAccepted(QStringLiteral("12 m"), CurveColumn::Velocity, others, &message));
    EXPECT_FALSE(CurveCellAccepted(QStringLiteral("abc"), CurveColumn::Velocity, others, &message));
    EXPECT_FALSE(CurveCellAccepted(QStringLiteral("12 "), CurveColumn::Velocity, others, &message));
    EXPECT_TRUE(message.isEmpty());
    EXPECT_FALSE(
        CurveCellAccepted(QStringLiteral("1e1"), CurveColumn::Frequency, others, &message));
    EXPECT_EQ(message, QStringLiteral("Frequency already present!"));
    // The same value in another column is no repeated frequency.
    EXPECT_TRUE(CurveCellAccepted(QStringLiteral("10"), CurveColumn::Minimum, others, &message));
}

TEST(CurveTableCheck, StopsAtTheFirstFailingRowWithItsRuleInOrder)
{
    struct Case
    {
        CurveRow row;
        const char *message;
        CurveColumn column;
    };
    const std::vector<Case> cases = {
        { Row("10", "", "1", "2"), "Input parameters are needed in the table",
            CurveColumn::Velocity },
        { Row("10", "200", "x", "2"), "Input parameters are needed in the table",
            CurveColumn::Minimum },
        { Row("10", "200", "300", "250"), "Minimum velocity must be lower than maximum velocity",
            CurveColumn::Minimum },
        { Row("10", "150", "180", "250"), "Velocity must not be lower than its minimum velocity",
            CurveColumn::Velocity },
        { Row("10", "260", "180", "250"), "Maximum velocity must be greater than medium velocity",
            CurveColumn::Velocity },
        { Row("0", "200", "180", "250"), "Frequency must be positive", CurveColumn::Frequency },
        // Both bounds wrong and a bad frequency: the bounds rule comes first.
        { Row("-1", "200", "300", "250"), "Minimum velocity must be lower than maximum velocity",
            CurveColumn::Minimum },
    };
    for (const Case &c : cases) {
        const std::vector<CurveRow> rows = { Row("5", "300", "250", "350"), Row("", "", "", ""),
            c.row, Row("20", "x", "", "") };
        const CurveCheck check = CheckCurveTable(rows);
        EXPECT_FALSE(check.ok);
        EXPECT_EQ(check.message, QString::fromLatin1(c.message));
        EXPECT_EQ(check.row, 2);
        EXPECT_EQ(check.column, c.column);
    }
    // Rows with an empty frequency are skipped; the others become the vectors in table order.
    const CurveCheck good = CheckCurveTable(
        { Row("20", "180", "160", "200"), Row("", "x", "", ""), Row("5,5", "300", "300", "300") });
    ASSERT_TRUE(good.ok);
    ASSERT_EQ(good.points.Count(), 2);
    EXPECT_EQ(good.points.frequencies(1), 5.5);
    EXPECT_EQ(good.points.minVelocities(0), 160.0);
    EXPECT_EQ(good.points.maxVelocities(0), 200.0);
}

TEST(CurveBars, GiveRowsInBothPlanes)
{
    // f-v: mean of the two ends, bounds ordered, negative written as 0.
    std::optional<CurveRow> row = CurveRowFromBar(CurvePlane::FrequencyVelocity, 12.0, 250, -50);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->cells, (std::array<QString, 4> { "12", "100", "0", "250" }));
    EXPECT_FALSE(CurveRowFromBar(CurvePlane::FrequencyVelocity, 0.0, 200, 300));
    EXPECT_FALSE(CurveRowFromBar(CurvePlane::FrequencyVelocity, 10.0, -200, 100));

    // f-p: a bar from 2 to 4 (slowness x 1000) is 333.3 +- 111.1 m/s.
    row = CurveRowFromBar(CurvePlane::FrequencySlowness, 15.0, 4.0, 2.0);
    ASSERT_TRUE(row);
    const double v = row->cells[1].toDouble();
    EXPECT_NEAR(v, 1000.0 / 3.0, 1e-3);
    EXPECT_NEAR(v - row->cells[2].toDouble(), 111.111, 1e-2);
    EXPECT_NEAR(row->cells[3].toDouble() - v, 111.111, 1e-2);
    EXPECT_EQ(row->cells[1], QStringLiteral("333.333"));
    // A bar reaching below zero slowness spreads wider than the velocity: minimum 0.
    row = CurveRowFromBar(CurvePlane::FrequencySlowness, 15.0, -1.0, 3.0);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->cells[2], QStringLiteral("0"));
    EXPECT_FALSE(CurveRowFromBar(CurvePlane::FrequencySlowness, 15.0, -1.0, 0.5));
    EXPECT_TRUE(CurveHasFrequency({ Row("15", "1", "1", "1") }, 15.0));
}

TEST(CurveAutomaticPoints, TakeEverySpectrumPointUpToTwentyAndDropImplausibleVelocities)
{
    // Seven points: every one is taken (step 1), the last included; 4 and 2500 m/s are dropped.
    const CMatrix f(7, 1, { 5, 6, 7, 8, 9, 10, 11 });
    const CMatrix v(7, 1, { 4, 400, 350, 2500, 300, 280, -260 });
    const std::vector<CurveRow> rows =
        AutomaticCurveRows(f, CMatrix(7, 1, { 4, 400, 350, 2500, 300, 280, 260 }));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].cells, (std::array<QString, 4> { "6", "400", "360", "440" }));
    EXPECT_EQ(rows[4].cells, (std::array<QString, 4> { "11", "260", "234", "286" }));
    // A negative velocity (energy travelling the other way) gives no point either.
    EXPECT_EQ(AutomaticCurveRows(f, v).size(), 4u);

    // Forty points: twenty positions two points apart.
    std::vector<double> ff, vv;
    for (int i = 0; i < 40; ++i) {
        ff.push_back(10.0 + i);
        vv.push_back(500.0 - 5.0 * i);
    }
    const std::vector<CurveRow> many = AutomaticCurveRows(CMatrix::Column(ff), CMatrix::Column(vv));
    ASSERT_EQ(many.size(), 20u);
    EXPECT_EQ(many[1].cells[0], QStringLiteral("12"));
    EXPECT_EQ(many[19].cells[0], QStringLiteral("48"));
    // Thirty points: step 1.5, positions between points are interpolated.
    const std::vector<CurveRow> thirty =
        AutomaticCurveRows(CMatrix::Column({ ff.begin(), ff.begin() + 30 }),
            CMatrix::Column({ vv.begin(), vv.begin() + 30 }));
    ASSERT_EQ(thirty.size(), 20u);
    EXPECT_EQ(thirty[1].cells[0], QStringLiteral("11.5"));
    EXPECT_EQ(thirty[1].cells[1], QStringLiteral("492.5"));
    EXPECT_TRUE(AutomaticCurveRows(CMatrix(0, 1), CMatrix(0, 1)).empty());
}

TEST(CurveHandOver, SortsByFrequencyKeepingEachPointsOwnSpread)
{
    DispersionAnalysis analysis;
    const CurveCheck check = CheckCurveTable({ Row("30", "180", "170", "200"),
        Row("10", "300", "240", "330"), Row("20", "220", "220", "226") });
    ASSERT_TRUE(check.ok);
    analysis.HandOverCurve(check.points.frequencies, check.points.velocities,
        check.points.maxVelocities, check.points.minVelocities);
    const ExperimentalCurve &c = analysis.m_curve;
    ASSERT_EQ(c.PointCount(), 3);
    const double f[] = { 10, 20, 30 };
    const double v[] = { 300, 220, 180 };
    const double sd[] = { 15, 1, 5 };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c.frequencies(i), f[i]);
        EXPECT_EQ(c.velocities(i), v[i]);
        EXPECT_DOUBLE_EQ(c.standardDeviations(i), sd[i]);
        EXPECT_DOUBLE_EQ(c.maxVelocities(i) - c.minVelocities(i), 6 * sd[i]);
    }
}

TEST(CurveFiles, TextAndWorkbookRoundTripsAndRefusals)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<CurveRow> table = { Row("5.5", "300", "270", "330"), Row("", "", "", ""),
        Row("10", "250", "", "275") };
    const QString text = dir.filePath(QStringLiteral("curve.txt"));
    ASSERT_TRUE(WriteCurveTextFile(text, table));
    EXPECT_EQ(ReadAll(text), QByteArray("5.5 300 270 330 \r\n10 250 0 275 \r\n"));

    std::vector<CurveRow> rows = { Row("1", "1", "1", "1") };
    QString message;
    ASSERT_TRUE(ReadCurveTextFile(text, rows, &message));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].cells, (std::array<QString, 4> { "10", "250", "0", "275" }));

    // Comments, blank lines and "," decimals are taken; a bad line leaves the table alone.
    const QString other = dir.filePath(QStringLiteral("other.txt"));
    ASSERT_TRUE(WriteFile(other, "% my curve\n\n  7,25 200 180 220\n"));
    ASSERT_TRUE(ReadCurveTextFile(other, rows, &message));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[0], QStringLiteral("7.25"));
    ASSERT_TRUE(WriteFile(other, "7 200 180 220\n8 200 180\n"));
    EXPECT_FALSE(ReadCurveTextFile(other, rows, &message));
    EXPECT_EQ(message, QStringLiteral("Format not valid"));
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_FALSE(ReadCurveTextFile(dir.filePath(QStringLiteral("none.txt")), rows, &message));
    EXPECT_EQ(message, QStringLiteral("Couldn't open source file"));

    // Workbook: written with libxlsxwriter, read back through the Excel access, "%.2lf" values.
    const QString book = dir.filePath(QStringLiteral("curve.xlsx"));
    ASSERT_TRUE(WriteCurveWorkbook(book, table, &message)) << message.toStdString();
    std::vector<CurveRow> fromSheet;
    ASSERT_TRUE(ReadCurveSheet(book, QStringLiteral("VELA"), fromSheet, &message))
        << message.toStdString();
    ASSERT_EQ(fromSheet.size(), 2u);
    EXPECT_EQ(
        fromSheet[0].cells, (std::array<QString, 4> { "5.50", "300.00", "270.00", "330.00" }));
    EXPECT_EQ(fromSheet[1].cells, (std::array<QString, 4> { "10.00", "250.00", "0.00", "275.00" }));
    EXPECT_FALSE(ReadCurveSheet(book, QStringLiteral("Nope"), fromSheet, &message));
    EXPECT_EQ(message, QStringLiteral("Error during reading"));

    // A sheet without exactly four columns is refused and the rows stay as they were.
    const QString three = dir.filePath(QStringLiteral("three.xlsx"));
    lxw_workbook *workbook = workbook_new(three.toUtf8().constData());
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Curve");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), 10.0 * r + c + 1, nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    EXPECT_FALSE(ReadCurveSheet(three, QStringLiteral("Curve"), fromSheet, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("four columns")));
    EXPECT_EQ(fromSheet.size(), 2u);
}

TEST(CurveFiles, PageTextExportLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.txt"));
    const CurveCheck check = CheckCurveTable({ Row("10", "250", "225", "275") });
    const CMatrix pf(1, 1, { 9.765625 });
    const CMatrix pv(1, 1, { 251.5 });
    ASSERT_TRUE(WriteCurvePageText(path, &pf, &pv, check.points));
    EXPECT_EQ(ReadAll(path),
        QByteArray("%Experimental dispersion curve\r\n% 1x2\r\n%f[Hz]\tvs[m/s]\r\n"
                   "9.765625 251.500000\r\n%==================================\r\n"
                   "%Experimental dispersion curve with velocity bounds\r\n% 1x4\r\n"
                   "%f[Hz]\tvs[m/s]\tvs_min[m/s]\tvs_max[m/s]\r\n"
                   "10.000000 250.000000 225.000000 275.000000\r\n"
                   "%==================================\r\n"));
    ASSERT_TRUE(WriteCurvePageText(path, nullptr, nullptr, check.points));
    EXPECT_TRUE(ReadAll(path).startsWith("%Experimental dispersion curve with velocity bounds"));
}

TEST(CurveTableModel, BarsTypingChecksAndHandOver)
{
    DispersionAnalysis analysis;
    CCurveTable table(&analysis);
    EXPECT_EQ(table.Grid().GetRowCount(), 2);
    EXPECT_EQ(table.Grid().GetItemText(0, 0), QStringLiteral("Freq. [Hz]"));
    EXPECT_EQ(table.AddBar(20.0, 150.0, 250.0, 7), CCurveTable::BarResult::Added);
    EXPECT_EQ(table.AddBar(20.0, 100.0, 120.0, 8), CCurveTable::BarResult::Duplicate);
    EXPECT_EQ(table.AddBar(-1.0, 100.0, 120.0, 9), CCurveTable::BarResult::Ignored);
    EXPECT_EQ(table.Grid().GetRowCount(), 3);
    EXPECT_EQ(table.Item(0), 7);
    EXPECT_TRUE(table.Rows().back().IsEmpty());

    // One valid row keeps Next disabled; a second enables it and reaches the analysis sorted.
    ASSERT_TRUE(table.Check().ok);
    EXPECT_FALSE(table.NextEnabled());
    QString message;
    EXPECT_FALSE(table.AcceptEdit(2, 0, QStringLiteral("20"), &message));
    EXPECT_EQ(message, QStringLiteral("Frequency already present!"));
    EXPECT_TRUE(table.AcceptEdit(1, 0, QStringLiteral("20"), &message)); // its own row
    for (int c = 0; c < 4; ++c)
        table.Grid().SetItemText(2, c, QString::number(c == 0 ? 8 : 300 + 10 * (c - 1)));
    table.Grid().SetItemText(2, 2, QStringLiteral("280"));
    table.Grid().SetItemText(2, 3, QStringLiteral("340"));
    table.AfterEdit(2);
    EXPECT_EQ(table.Grid().GetRowCount(), 4);
    ASSERT_TRUE(table.Check().ok);
    EXPECT_TRUE(table.NextEnabled());
    ASSERT_EQ(analysis.m_curve.PointCount(), 2);
    EXPECT_EQ(analysis.m_curve.frequencies(0), 8.0);
    EXPECT_DOUBLE_EQ(analysis.m_curve.standardDeviations(0), 10.0);
    EXPECT_DOUBLE_EQ(analysis.m_curve.standardDeviations(1), 100.0 / 6.0);

    // Automatic points need a spectrum (or a passive analysis).
    EXPECT_FALSE(table.TakeAutomaticPoints());
    analysis.m_bAnalysed = true;
    analysis.m_pickedFrequencies = CMatrix(3, 1, { 10, 11, 12 });
    analysis.m_pickedVelocities = CMatrix(3, 1, { 300, 290, 280 });
    ASSERT_TRUE(table.TakeAutomaticPoints());
    EXPECT_EQ(table.DataRowCount(), 3);
    EXPECT_EQ(table.Grid().GetRowCount(), 5);
}

TEST(CurveTableModel, AutomaticPointsAfterAPassiveAnalysisFollowTheImagesRidge)
{
    // Rows are velocities, columns frequencies. The 0 Hz column and a flat column carry no
    // velocity; elsewhere each column's largest value gives the point.
    DispersionAnalysis analysis;
    analysis.m_bPassivePrepared = true;
    analysis.m_passiveFrequencyAxis = CMatrix(5, 1, { 0, 5, 10, 15, 20 });
    analysis.m_passiveVelocityAxis = CMatrix(3, 1, { 100, 200, 300 });
    analysis.m_passiveImage = CMatrix(3, 5,
        { 0.0, 0.1, 0.2, 0.5, 1.0, //
            1.0, 0.9, 1.0, 0.5, 0.3, //
            0.5, 0.3, 0.4, 0.5, 0.2 });
    CCurveTable table(&analysis);
    ASSERT_TRUE(table.TakeAutomaticPoints());
    const std::vector<CurveRow> rows = table.Rows(); // the trailing empty row included
    ASSERT_EQ(table.DataRowCount(), 3);
    const double expected[][2] = { { 5, 200 }, { 10, 200 }, { 20, 100 } };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(rows[i].cells[0].toDouble(), expected[i][0]);
        EXPECT_DOUBLE_EQ(rows[i].cells[1].toDouble(), expected[i][1]);
        EXPECT_DOUBLE_EQ(rows[i].cells[2].toDouble(), 0.9 * expected[i][1]);
        EXPECT_DOUBLE_EQ(rows[i].cells[3].toDouble(), 1.1 * expected[i][1]);
    }
}

TEST(CurveTableModel, SectionRoundTripAndCorruptSectionChangesNothing)
{
    DispersionAnalysis analysis;
    analysis.m_bAnalysed = true;
    analysis.m_pickedFrequencies = CMatrix(2, 1, { 5, 6 });
    analysis.m_pickedVelocities = CMatrix(2, 1, { 400, 380 });
    analysis.m_passiveImage = CMatrix(2, 3, { 1, 2, 3, 4, 5, 6 });
    analysis.m_bPassivePrepared = true;
    CCurveTable table(&analysis);
    table.SetPlane(CurvePlane::FrequencySlowness);
    table.SetRows({ Row("10", "250", "225", "275"), Row("5", "400", "350", "450") });
    CMatrixArchive out;
    table.StoreSection(out);
    const std::vector<std::uint8_t> bytes = out.GetBuffer();

    DispersionAnalysis restored;
    CCurveTable back(&restored);
    CMatrixArchive in(bytes);
    back.LoadSection(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(back.Plane(), CurvePlane::FrequencySlowness);
    EXPECT_EQ(back.DataRowCount(), 2);
    EXPECT_EQ(back.Rows()[1].cells[1], QStringLiteral("400"));
    EXPECT_TRUE(restored.m_bAnalysed);
    EXPECT_TRUE(restored.m_bPassivePrepared);
    EXPECT_EQ(restored.m_pickedVelocities.ToVector(), analysis.m_pickedVelocities.ToVector());
    EXPECT_EQ(restored.m_passiveImage.ToVector(), analysis.m_passiveImage.ToVector());
    CMatrixArchive again;
    back.StoreSection(again);
    EXPECT_EQ(again.GetBuffer(), bytes);

    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 6);
    DispersionAnalysis untouched;
    CCurveTable other(&untouched);
    CMatrixArchive shortIn(cut);
    EXPECT_ANY_THROW(other.LoadSection(shortIn));
    EXPECT_EQ(other.DataRowCount(), 0);
    EXPECT_FALSE(untouched.m_bAnalysed);
}

TEST(CurvePlaneImage, TheRidgeOfASyntheticRecordLiesOnItsCurveInBothPlanes)
{
    // Plane waves with c(f) = 140 + 260 exp(-f / 12) m/s, as in the spectrum's own check.
    const auto velocity = [](double f) { return 140.0 + 260.0 * std::exp(-f / 12.0); };
    TraceSet set;
    set.timeStep = 1.0;
    set.receiverSpacing = 1.0;
    set.traceCount = 48;
    set.lastReceiver = 47;
    set.sampleCount = 1024;
    set.windowEnd = 1023.0;
    set.traces = CMatrix(1024, 48);
    for (int s = 0; s < 1024; ++s)
        for (int t = 0; t < 48; ++t) {
            double sum = 0.0;
            for (double f = 4.0; f <= 70.0; f += 0.25)
                sum += std::cos(2.0 * M_PI * f * (s * 0.001 - 0.15 - t / velocity(f)));
            set.traces.SetRaw(s, t, sum);
        }
    DispersionAnalysis analysis;
    ASSERT_TRUE(analysis.HandOverActiveTraces(set));
    ASSERT_TRUE(ComputeFkSpectrum(analysis.m_active));
    EXPECT_TRUE(MakePlaneImage(analysis, CurvePlane::FrequencyVelocity, PlaneExtent()).IsEmpty());
    analysis.m_bAnalysed = true;

    PlaneExtent extent;
    extent.maxFrequency = 60.0;
    extent.maxVelocity = 600.0;
    extent.minVelocity = 100.0;
    for (CurvePlane plane : { CurvePlane::FrequencyVelocity, CurvePlane::FrequencySlowness }) {
        const PlaneImage image = MakePlaneImage(analysis, plane, extent, 240, 400);
        ASSERT_EQ(image.width, 240);
        ASSERT_EQ(image.height, 400);
        EXPECT_EQ(image.right, 60.0);
        for (double f : { 12.0, 25.0, 40.0 }) {
            const int px = static_cast<int>(f / 60.0 * 240);
            const double fx = (px + 0.5) / 240 * 60.0;
            int brightest = -1;
            for (int py = 0; py < 400 && brightest < 0; ++py)
                if (image.pixels[static_cast<std::size_t>(py) * 240 + px] == SpectrumColour(63))
                    brightest = py;
            ASSERT_GE(brightest, 0);
            const double y = image.top - (brightest + 0.5) / 400 * (image.top - image.bottom);
            const double v = plane == CurvePlane::FrequencyVelocity ? y : 1000.0 / y;
            // Within one wavenumber bin of the true curve.
            const double dk = 2.0 * M_PI / 256.0;
            EXPECT_LT(std::abs(2 * M_PI * fx / v - 2 * M_PI * fx / velocity(fx)), dk)
                << f << " Hz: " << v << " vs " << velocity(fx);
        }
    }
}

TEST(CurveTableModel, ReportChapterWithoutAWindow)
{
    DispersionAnalysis analysis;
    CCurveTable table(&analysis);
    table.SetRows({ Row("20", "200", "180", "220"), Row("7,5", "300.0", "250", "350") });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    ReportWriter report;
    ASSERT_EQ(report.Open(path), int(RtfOk));
    WriteCurveChapter(report, &analysis, table);
    EXPECT_EQ(report.ChapterCount(), 1);
    EXPECT_EQ(report.TableCount(), 1);
    EXPECT_EQ(report.FigureCount(), 1);
    ASSERT_TRUE(report.Close());
    const QByteArray rtf = ReadAll(path);
    EXPECT_TRUE(rtf.contains("V. fase Max [m/s]"));
    EXPECT_TRUE(rtf.contains("7.5"));
    EXPECT_EQ(table.ReportTable(),
        (QList<QStringList> { { "20", "200", "180", "220" }, { "7.5", "300", "250", "350" } }));
    // The chart holds the points (no spectrum: no image).
    const CChartRegion region = CurveChartRegion(&analysis, table);
    EXPECT_EQ(region.Count(), 1);
}
