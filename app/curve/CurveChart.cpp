#include "app/curve/CurveChart.h"

#include "app/chart/CChartImage.h"
#include "app/chart/CErrorBarSeries.h"
#include "app/curve/CCurveTable.h"
#include "app/curve/CurvePlaneImage.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QCoreApplication>

namespace {

const ChartColor PointColor { 0.3f, 0.3f, 0.3f, 1.0f };
const ChartColor PointFill { 0.0f, 0.0f, 0.0f, 1.0f };

} // namespace

CChartRegion CurveChartRegion(const DispersionAnalysis *analysis, const CCurveTable &table)
{
    const bool fv = table.Plane() == CurvePlane::FrequencyVelocity;
    CChartRegion region;
    region.SetTitle(
        QCoreApplication::translate("CGUICurvaDispersione", "Experimental dispersion curve"));
    region.SetBottomLabel(QCoreApplication::translate("CGUICurvaDispersione", "Frequency [Hz]"));
    region.SetLeftLabel(fv
            ? QCoreApplication::translate("CGUICurvaDispersione", "Phase velocity  [m/s]")
            : QCoreApplication::translate(
                "CGUICurvaDispersione", "Reciprocal phase velocity [s/m]*1000"));
    region.SetLegendVisible(false);

    if (analysis) {
        PlaneImage image =
            MakePlaneImage(*analysis, table.Plane(), PlaneExtentFor(analysis->m_pickedVelocities));
        if (!image.IsEmpty()) {
            auto object = std::make_unique<CChartImage>();
            object->SetName(QStringLiteral("spectrum"));
            object->SetRect(image.left, image.bottom, image.right, image.top);
            object->SetPixels(image.width, image.height, std::move(image.pixels));
            region.Add(std::move(object));
        }
    }

    const CurvePoints &points = table.Points();
    if (points.Count() > 0) {
        std::vector<double> x, y, lower, upper;
        for (int i = 0; i < points.Count(); ++i) {
            const double v = points.velocities(i);
            x.push_back(points.frequencies(i));
            if (fv) {
                y.push_back(v);
                lower.push_back(points.minVelocities(i));
                upper.push_back(points.maxVelocities(i));
            } else {
                // Slowness x 1000: the bounds swap; a zero minimum velocity has no finite end.
                const double top = points.minVelocities(i) > 0.0 ? 1000.0 / points.minVelocities(i)
                                                                 : 1000.0 / v * 2.0;
                y.push_back(v > 0.0 ? 1000.0 / v : 0.0);
                lower.push_back(
                    points.maxVelocities(i) > 0.0 ? 1000.0 / points.maxVelocities(i) : 0.0);
                upper.push_back(top);
            }
        }
        auto series = std::make_unique<CErrorBarSeries>();
        series->SetName(QStringLiteral("curve"));
        series->SetData(std::move(x), std::move(y));
        series->SetBounds(lower, upper);
        series->SetLineColor(PointColor);
        series->SetFillColor(PointFill);
        series->SetLineWidth(0.0);
        series->SetMarker(ChartMarker::Circle, 6.0);
        region.Add(std::move(series));
    }
    return region;
}

void WriteCurveChapter(ReportWriter &report, const DispersionAnalysis *analysis, CCurveTable &table)
{
    // The only chapter that does not begin a new section.
    table.Check();
    report.ChapterHeading(QCoreApplication::translate("CGUICurvaDispersione", "Dispersion curve"));
    report.TableCaption(QCoreApplication::translate("CGUICurvaDispersione", "Dispersion curve"));
    report.Table(table.ReportHeader(), table.ReportTable());
    report.ChartFigure(CurveChartRegion(analysis, table),
        QCoreApplication::translate("CGUICurvaDispersione", "Dispersion curve"));
    report.ChapterEnd();
}
