#include "app/spectrum/SpectrumCharts.h"

#include "app/chart/CChartImage.h"
#include "app/chart/CLineSeries.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/SpectrumPageState.h"

#include <QCoreApplication>

namespace {

const ChartColor CurveColor { 0.0f, 0.0f, 0.6f, 1.0f };

} // namespace

CChartRegion SpectrumChartRegion(const DispersionAnalysis &analysis)
{
    CChartRegion region;
    region.SetTitle(QCoreApplication::translate("CGUIRispostaSperimentale2", "Spectrum f-k"));
    region.SetBottomLabel(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Wave number [rad/m]"));
    region.SetLeftLabel(QCoreApplication::translate("CGUIRispostaSperimentale2", "Frequency [Hz]"));
    region.SetLegendVisible(false);
    if (!analysis.m_bAnalysed)
        return region;
    SpectrumImage image = MakeSpectrumImage(analysis.m_active);
    if (image.pixels.empty())
        return region;
    auto object = std::make_unique<CChartImage>();
    object->SetName(QStringLiteral("spectrum"));
    object->SetRect(0.0, 0.0, image.maxWavenumber, image.maxFrequency);
    object->SetPixels(image.width, image.height, std::move(image.pixels));
    region.Add(std::move(object));
    return region;
}

CChartRegion PickedCurveChartRegion(const SpectrumPageState &state)
{
    CChartRegion region;
    region.SetTitle(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Experimental dispersion curve"));
    region.SetBottomLabel(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Frequency [Hz]"));
    region.SetLeftLabel(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Phase velocity  [m/s]"));
    region.SetLegendVisible(false);
    if (!state.curvePicked)
        return region;
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < state.curve.frequencies.GetRows(); ++i) {
        x.push_back(state.curve.frequencies(i));
        y.push_back(state.curve.velocities(i));
    }
    auto series = std::make_unique<CLineSeries>();
    series->SetName(QStringLiteral("curve"));
    series->SetData(std::move(x), std::move(y));
    series->SetLineColor(CurveColor);
    series->SetFillColor(CurveColor);
    series->SetMarker(ChartMarker::Circle, 5.0);
    region.Add(std::move(series));
    return region;
}

QList<QPair<QString, QString>> SpectrumReportRows(
    const DispersionAnalysis &analysis, const SpectrumPageState &state)
{
    if (!analysis.m_bAnalysed)
        return {};
    return { { QCoreApplication::translate("CGUIRispostaSperimentale2", "Final frequency"),
                 state.highText + QStringLiteral("Hz") },
        { QCoreApplication::translate("CGUIRispostaSperimentale2", "Initial frequency"),
            state.lowText + QStringLiteral("Hz") } };
}

void WriteSpectrumChapter(
    ReportWriter &report, const DispersionAnalysis &analysis, const SpectrumPageState &state)
{
    const QList<QPair<QString, QString>> rows = SpectrumReportRows(analysis, state);
    if (rows.isEmpty())
        return;
    report.BeginSection();
    report.ChapterHeading(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Analysis results"));
    for (const auto &[label, value] : rows)
        report.LabelledRow(label, value);
    report.EmptyParagraph();
    report.ChartFigure(SpectrumChartRegion(analysis),
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Experimental dispersion curve"));
    report.ChapterEnd();
}
