#include "app/data/ActiveDataChapter.h"

#include "app/chart/CChartRegion.h"
#include "app/chart/CLineSeries.h"
#include "app/results/ReportWriter.h"

#include <QCoreApplication>

#include <memory>

namespace {

const ChartColor TraceColor { 0.3f, 0.3f, 0.3f, 1.0f };

// The page's own texts, translated in its context.
QString Text(const char *text)
{
    return QCoreApplication::translate("CGUIRispostaSperimentale1", text);
}

} // namespace

QString FillTraceChartRegion(
    CChartRegion &region, const TraceSet &set, int lastReceiverIndex, const TraceChartView &view)
{
    const TraceChart chart = BuildTraceChart(set, lastReceiverIndex, view);
    region.Clear();
    region.SetTitle(Text(QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1", "Measures")));
    region.SetBottomLabel(view.metres
            ? Text(QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1", "Distance from the source [m]"))
            : Text(QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1", "Sensors")));
    region.SetLeftLabel(Text(QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1", "Time [s]")));
    region.SetLegendVisible(false);
    // Time grows downwards, as field engineers read a shot record.
    region.SetReversed(ChartAxis::Left, true);
    auto addCurve = [&](const TraceChart::Curve &curve, bool filled) {
        auto series = std::make_unique<CLineSeries>();
        series->SetData(curve.x, curve.y);
        series->SetLineColor(TraceColor);
        if (filled)
            series->SetAreaFill(true, TraceColor);
        region.Add(std::move(series));
    };
    for (const TraceChart::Curve &fill : chart.fills)
        addCurve(fill, true);
    for (const TraceChart::Curve &wiggle : chart.wiggles)
        addCurve(wiggle, false);
    addCurve(chart.outline, false);
    ChartBounds range;
    range.Include(chart.xMin, chart.yMin);
    range.Include(chart.xMax, chart.yMax);
    region.SetViewRange(range);
    return chart.information;
}

void WriteActiveDataChapter(
    ReportWriter &report, const QList<QPair<QString, QString>> &rows, const CChartRegion &chart)
{
    if (rows.isEmpty())
        return;
    report.BeginSection();
    report.ChapterHeading(
        Text(QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1", "Experimental data")));
    for (int index = 0; index + 1 < rows.size(); ++index)
        report.LabelledRow(rows[index].first, rows[index].second);
    report.Paragraph(rows.constLast().first);
    report.ChartFigure(
        chart, Text(QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1", "Experimental traces")));
    report.ChapterEnd();
}
