// The chart model: identifiers, find and remove, deep copies, data checks, bounds, formats.
#include "app/chart/CChartImage.h"
#include "app/chart/CChartRegion.h"
#include "app/chart/CErrorBarSeries.h"
#include "app/chart/CLineSeries.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

std::unique_ptr<CLineSeries> Series(std::vector<double> x, std::vector<double> y, int id = 0)
{
    auto series = std::make_unique<CLineSeries>();
    series->SetData(std::move(x), std::move(y));
    series->SetId(id);
    return series;
}

} // namespace

class tst_ChartRegion : public QObject
{
    Q_OBJECT

private slots:
    void addGivesFreeIdentifiers();
    void findAndRemoveByIdentifier();
    void copiesAreDeep();
    void mismatchedDataIsRefusedAndOldDataKept();
    void errorBarsFromBoundsAndTheirExtent();
    void boundsSkipHiddenObjectsAndNonFiniteValues();
    void imagePixelsMustFillTheirSize();
    void dashPatternText_data();
    void dashPatternText();
    void numberFormatText_data();
    void numberFormatText();
};

void tst_ChartRegion::addGivesFreeIdentifiers()
{
    CChartRegion region;
    QCOMPARE(region.Add(Series({ 0 }, { 0 })), 1);
    QCOMPARE(region.Add(Series({ 0 }, { 0 })), 2);
    QCOMPARE(region.Add(Series({ 0 }, { 0 }, 10)), 10);
    // An identifier already in use is replaced rather than shadowing the first object.
    QCOMPARE(region.Add(Series({ 0 }, { 0 }, 2)), 11);
    QCOMPARE(region.Add(Series({ 0 }, { 0 }, -4)), 12);
    QCOMPARE(region.Add(nullptr), 0);
    QCOMPARE(region.Count(), 5);
}

void tst_ChartRegion::findAndRemoveByIdentifier()
{
    CChartRegion region;
    const int first = region.Add(Series({ 1, 2 }, { 3, 4 }));
    const int second = region.Add(Series({ 5 }, { 6 }));
    QVERIFY(region.Find(first));
    QCOMPARE(static_cast<CLineSeries *>(region.Find(second))->X().front(), 5.0);
    QVERIFY(region.Remove(first));
    QVERIFY(!region.Remove(first));
    QVERIFY(!region.Find(first));
    QVERIFY(region.Find(second));
    // The page's update cycle: remove, add anew, the new one findable.
    const int third = region.Add(Series({ 7 }, { 8 }));
    QVERIFY(third != second);
    QCOMPARE(region.Count(), 2);
    region.Clear();
    QCOMPARE(region.Count(), 0);
}

void tst_ChartRegion::copiesAreDeep()
{
    CChartRegion region;
    region.SetTitle(QStringLiteral("Traces"));
    const int id = region.Add(Series({ 1 }, { 1 }));
    CChartRegion copy = region;
    static_cast<CLineSeries *>(copy.Find(id))->SetData({ 9 }, { 9 });
    copy.Remove(id);
    QCOMPARE(static_cast<CLineSeries *>(region.Find(id))->X().front(), 1.0);
    QCOMPARE(copy.Title(), QStringLiteral("Traces"));
    QCOMPARE(copy.Count(), 0);
}

void tst_ChartRegion::mismatchedDataIsRefusedAndOldDataKept()
{
    CLineSeries series;
    QVERIFY(series.SetData({ 1, 2 }, { 3, 4 }));
    QVERIFY(!series.SetData({ 1, 2, 3 }, { 3, 4 }));
    QCOMPARE(series.PointCount(), 2);
    CErrorBarSeries bars;
    bars.SetData({ 1, 2 }, { 10, 20 });
    QVERIFY(!bars.SetErrors({ 1 }, { 1, 2 }));
    QVERIFY(!bars.SetBounds({ 1, 2, 3 }, { 1, 2, 3 }));
    QVERIFY(bars.Lower().empty());
}

void tst_ChartRegion::errorBarsFromBoundsAndTheirExtent()
{
    CErrorBarSeries bars;
    bars.SetData({ 5, 10 }, { 200, 300 });
    QVERIFY(bars.SetBounds({ 150, 290 }, { 260, 400 }));
    QCOMPARE(bars.Lower(), (std::vector<double> { 50, 10 }));
    QCOMPARE(bars.Upper(), (std::vector<double> { 60, 100 }));
    const ChartBounds bounds = bars.Bounds();
    QCOMPARE(bounds.yMin, 150.0);
    QCOMPARE(bounds.yMax, 400.0);
    QCOMPARE(bounds.xMin, 5.0);
    QCOMPARE(bounds.xMax, 10.0);
}

void tst_ChartRegion::boundsSkipHiddenObjectsAndNonFiniteValues()
{
    CChartRegion region;
    QVERIFY(!region.DataBounds().valid);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    region.Add(Series({ 1, 2, nan }, { -5, 5, 1000 }));
    auto hidden = Series({ -100 }, { -100 });
    hidden->SetVisible(false);
    region.Add(std::move(hidden));
    auto image = std::make_unique<CChartImage>();
    image->SetRect(0, 0, 50, 3);
    region.Add(std::move(image));
    const ChartBounds bounds = region.DataBounds();
    QVERIFY(bounds.valid);
    QCOMPARE(bounds.xMin, 0.0);
    QCOMPARE(bounds.xMax, 50.0);
    QCOMPARE(bounds.yMin, -5.0);
    QCOMPARE(bounds.yMax, 5.0);
}

void tst_ChartRegion::imagePixelsMustFillTheirSize()
{
    CChartImage image;
    QVERIFY(!image.SetPixels(2, 2, { 1, 2, 3 }));
    QVERIFY(!image.SetPixels(0, 3, {}));
    QVERIFY(image.SetPixels(2, 1, { 0xff000000u, 0xffffffffu }));
    QCOMPARE(image.PixelWidth(), 2);
}

void tst_ChartRegion::dashPatternText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::vector<double>>("lengths");
    QTest::newRow("empty is solid") << "" << std::vector<double> {};
    QTest::newRow("dashed") << "6 3" << std::vector<double> { 6, 3 };
    QTest::newRow("commas and spaces") << " 6, 3 ,1 3 " << std::vector<double> { 6, 3, 1, 3 };
    QTest::newRow("odd count is solid") << "6 3 1" << std::vector<double> {};
    QTest::newRow("zero length is solid") << "6 0" << std::vector<double> {};
    QTest::newRow("words are solid") << "dash dot" << std::vector<double> {};
}

void tst_ChartRegion::dashPatternText()
{
    QFETCH(QString, text);
    QFETCH(std::vector<double>, lengths);
    QCOMPARE(CLineSeries::ParseDashPattern(text), lengths);
}

void tst_ChartRegion::numberFormatText_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<char>("kind");
    QTest::addColumn<int>("precision");
    QTest::newRow("%g") << "%g" << true << 'g' << 6;
    QTest::newRow("%.2f") << "%.2f" << true << 'f' << 2;
    QTest::newRow("%8.3lf") << "%8.3lf" << true << 'f' << 3;
    QTest::newRow("%.1e") << "%.1e" << true << 'e' << 1;
    QTest::newRow("%d") << "%d" << true << 'f' << 0;
    QTest::newRow("%.f") << "%.f" << true << 'f' << 0;
    QTest::newRow("%s") << "%s" << false << 'g' << 6;
    QTest::newRow("text around") << "v=%g" << false << 'g' << 6;
}

void tst_ChartRegion::numberFormatText()
{
    QFETCH(QString, format);
    QFETCH(bool, ok);
    QFETCH(char, kind);
    QFETCH(int, precision);
    char parsedKind = 'g';
    int parsedPrecision = 6;
    QCOMPARE(CChartRegion::ParseNumberFormat(format, &parsedKind, &parsedPrecision), ok);
    QCOMPARE(parsedKind, kind);
    QCOMPARE(parsedPrecision, precision);
}

QTEST_GUILESS_MAIN(tst_ChartRegion)
#include "tst_ChartRegion.moc"
