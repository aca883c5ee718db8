// The chart widget: zoom to all, image export of a given size, the export request to the
// owning page, and the picking tool.
#include "app/chart/CChartImage.h"
#include "app/chart/CChartOwner.h"
#include "app/chart/CChartWidget.h"
#include "app/chart/CErrorBarSeries.h"
#include "app/chart/CLineSeries.h"

#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

#include <algorithm>

namespace {

/// A page stand-in that records the export requests it answers.
class OwnerWidget : public QWidget, public CChartOwner
{
public:
    int OnExportText(CChartWidget *chart, const QString &path) override
    {
        charts.append(chart);
        paths.append(path);
        return 0;
    }
    QList<CChartWidget *> charts;
    QStringList paths;
};

void AddCurve(CChartRegion &region, std::vector<double> x, std::vector<double> y)
{
    auto series = std::make_unique<CLineSeries>();
    series->SetData(std::move(x), std::move(y));
    series->SetDescription(QStringLiteral("curve"));
    series->SetMarker(ChartMarker::Circle, 6);
    region.Add(std::move(series));
}

} // namespace

class tst_ChartWidget : public QObject
{
    Q_OBJECT

private slots:
    void zoomAllShowsEveryObjectWithASmallMargin();
    void exportWritesABitmapOfTheRequestedSize_data();
    void exportWritesABitmapOfTheRequestedSize();
    void exportRefusesEmptySizesAndUnwritablePaths();
    void imageIsStretchedOverItsRectangle();
    void errorBarsStayWithTheirPointsWhateverTheOrder();
    void exportTextRequestReachesTheOwningPage();
    void pickingToolAddsABarObjectAndReportsIt();
    void cursorIsReportedInAxisUnits();
};

void tst_ChartWidget::zoomAllShowsEveryObjectWithASmallMargin()
{
    CChartWidget chart;
    AddCurve(chart.Region(), { 2, 4, 10 }, { 100, 250, 200 });
    chart.Refresh();
    chart.ZoomAll();
    const QCPRange x = chart.Plot()->xAxis->range();
    const QCPRange y = chart.Plot()->yAxis->range();
    QVERIFY(x.lower <= 2 && x.upper >= 10);
    QVERIFY(y.lower <= 100 && y.upper >= 250);
    QVERIFY(x.size() < 8 * 1.1);
    QVERIFY(y.size() < 150 * 1.1);
}

void tst_ChartWidget::exportWritesABitmapOfTheRequestedSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("name");
    QTest::newRow("report square") << 640 << 640 << "chart.bmp";
    QTest::newRow("wide") << 800 << 300 << "chart.bmp";
    QTest::newRow("temporary name without suffix") << 320 << 200 << "vela1234.tmp";
    QTest::newRow("png") << 400 << 250 << "chart.png";
}

void tst_ChartWidget::exportWritesABitmapOfTheRequestedSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    CChartRegion region;
    region.SetTitle(QStringLiteral("Dispersion"));
    region.SetLeftLabel(QStringLiteral("Velocity [m/s]"));
    region.SetBottomLabel(QStringLiteral("Frequency [Hz]"));
    AddCurve(region, { 5, 10, 20 }, { 300, 250, 180 });
    QVERIFY(CChartWidget::ExportRegion(region, path, width, height));
    QCOMPARE(QImageReader(path).read().size(), QSize(width, height));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray magic =
        name.endsWith(QLatin1String(".png")) ? QByteArray("\x89PNG") : QByteArray("BM");
    QCOMPARE(file.read(magic.size()), magic);
}

void tst_ChartWidget::exportRefusesEmptySizesAndUnwritablePaths()
{
    QTemporaryDir dir;
    CChartWidget chart;
    AddCurve(chart.Region(), { 1, 2 }, { 1, 2 });
    chart.Refresh();
    QVERIFY(!chart.ExportImage(dir.filePath(QStringLiteral("a.bmp")), 0, 100));
    QVERIFY(!chart.ExportImage(dir.filePath(QStringLiteral("no/such/folder/a.bmp")), 100, 100));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.bmp"))));
}

void tst_ChartWidget::imageIsStretchedOverItsRectangle()
{
    // Left half red, right half blue, over x 0..10: zoomed to all, the picture fills the plot,
    // red on the left and blue on the right.
    CChartRegion region;
    auto image = std::make_unique<CChartImage>();
    QVERIFY(image->SetPixels(2, 1, { 0xffff0000u, 0xff0000ffu }));
    image->SetRect(0, 0, 10, 5);
    region.Add(std::move(image));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.bmp"));
    QVERIFY(CChartWidget::ExportRegion(region, path, 400, 300));
    CChartWidget chart;
    chart.resize(400, 300);
    chart.SetRegion(region);
    chart.Refresh();
    chart.ZoomAll();
    QCOMPARE(chart.Plot()->xAxis->range().lower, 0.0);
    QCOMPARE(chart.Plot()->xAxis->range().upper, 10.0);
    // The axes take a few tens of pixels on the left and at the bottom only.
    const QImage exported(path);
    const QColor left = exported.pixelColor(exported.width() / 8, exported.height() / 2);
    const QColor right = exported.pixelColor(exported.width() * 15 / 16, exported.height() / 2);
    QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
    QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
}

void tst_ChartWidget::errorBarsStayWithTheirPointsWhateverTheOrder()
{
    // Points typed in any order: each bar must still span its own point's bounds.
    const std::vector<double> x = { 20, 5, 10 };
    const std::vector<double> y = { 180, 300, 250 };
    const std::vector<double> low = { 170, 260, 240 };
    const std::vector<double> high = { 200, 330, 255 };
    auto series = std::make_unique<CErrorBarSeries>();
    QVERIFY(series->SetData(x, y));
    QVERIFY(series->SetBounds(low, high));
    CChartWidget chart;
    chart.Region().Add(std::move(series));
    chart.Refresh();
    QCPErrorBars *bars = nullptr;
    for (int i = 0; i < chart.Plot()->plottableCount(); ++i) {
        if (auto *found = qobject_cast<QCPErrorBars *>(chart.Plot()->plottable(i)))
            bars = found;
    }
    QVERIFY(bars);
    auto *points = dynamic_cast<QCPAbstractPlottable1D<QCPGraphData> *>(bars->dataPlottable());
    QVERIFY(points);
    QCOMPARE(bars->dataCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const double key = points->dataMainKey(i);
        const double value = points->dataMainValue(i);
        const auto point = std::find(x.begin(), x.end(), key) - x.begin();
        QVERIFY(point < 3);
        QCOMPARE(value, y[std::size_t(point)]);
        const QCPErrorBarsData error = bars->data()->at(i);
        QCOMPARE(value - error.errorMinus, low[std::size_t(point)]);
        QCOMPARE(value + error.errorPlus, high[std::size_t(point)]);
    }
}

void tst_ChartWidget::exportTextRequestReachesTheOwningPage()
{
    OwnerWidget page;
    QWidget frame(&page); // charts often sit in a frame inside the page
    auto *first = new CChartWidget(&frame, 1);
    auto *second = new CChartWidget(&page, 2);
    QCOMPARE(second->RequestExportText(QStringLiteral("/tmp/b.txt")), 0);
    QCOMPARE(first->RequestExportText(QStringLiteral("/tmp/a.txt")), 0);
    QCOMPARE(page.charts, (QList<CChartWidget *> { second, first }));
    QCOMPARE(
        page.paths, (QStringList { QStringLiteral("/tmp/b.txt"), QStringLiteral("/tmp/a.txt") }));
    CChartWidget orphan;
    QCOMPARE(orphan.RequestExportText(QStringLiteral("/tmp/c.txt")), -1);
}

void tst_ChartWidget::pickingToolAddsABarObjectAndReportsIt()
{
    CChartWidget chart;
    chart.resize(600, 400);
    AddCurve(chart.Region(), { 0, 50 }, { 0, 1000 });
    chart.Refresh();
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.Plot()->xAxis->setRange(0, 50);
    chart.Plot()->yAxis->setRange(0, 1000);
    chart.Plot()->replot();
    chart.SetPickingTool(true);
    QSignalSpy picked(&chart, &CChartWidget::BarPicked);
    QCustomPlot *plot = chart.Plot();
    const QPoint from(plot->xAxis->coordToPixel(20), plot->yAxis->coordToPixel(300));
    const QPoint to(from.x(), plot->yAxis->coordToPixel(500));
    QTest::mousePress(plot, Qt::LeftButton, {}, from);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
    QCOMPARE(picked.count(), 1);
    const QList<QVariant> arguments = picked.takeFirst();
    const int id = arguments.at(0).toInt();
    QVERIFY(qAbs(arguments.at(1).toDouble() - 20) < 0.2);
    QVERIFY(qAbs(arguments.at(2).toDouble() - 300) < 5);
    QVERIFY(qAbs(arguments.at(3).toDouble() - 500) < 5);
    const auto *bar = dynamic_cast<const CLineSeries *>(chart.Region().Find(id));
    QVERIFY(bar);
    QCOMPARE(bar->PointCount(), 2);
    QCOMPARE(bar->X().front(), bar->X().back());
    // The view stays where the user drew.
    QCOMPARE(plot->xAxis->range().lower, 0.0);
    QCOMPARE(plot->xAxis->range().upper, 50.0);
    // Without the tool, a drag draws nothing.
    chart.SetPickingTool(false);
    QTest::mousePress(plot, Qt::LeftButton, {}, from);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
    QCOMPARE(picked.count(), 0);
}

void tst_ChartWidget::cursorIsReportedInAxisUnits()
{
    CChartWidget chart;
    chart.resize(600, 400);
    chart.Refresh();
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCustomPlot *plot = chart.Plot();
    plot->xAxis->setRange(0, 80);
    plot->yAxis->setRange(100, 900);
    plot->replot();
    QSignalSpy moved(&chart, &CChartWidget::CursorMoved);
    QTest::mouseMove(plot, QPoint(plot->xAxis->coordToPixel(40), plot->yAxis->coordToPixel(500)));
    QTRY_VERIFY(!moved.isEmpty());
    QVERIFY(qAbs(moved.last().at(0).toDouble() - 40) < 0.5);
    QVERIFY(qAbs(moved.last().at(1).toDouble() - 500) < 5);
}

QTEST_MAIN(tst_ChartWidget)
#include "tst_ChartWidget.moc"
