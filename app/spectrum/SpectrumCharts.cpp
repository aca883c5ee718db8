#include "app/spectrum/SpectrumCharts.h"

#include "app/chart/CChartImage.h"
#include "app/chart/CLineSeries.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/SpectrumPageState.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <vector>

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

CChartRegion PhaseShiftChartRegion(const SpectrumPageState &state, double spacing)
{
    CChartRegion region;
    region.SetTitle(QCoreApplication::translate("CGUIRispostaSperimentale2", "Phase-shift image"));
    region.SetBottomLabel(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Frequency [Hz]"));
    region.SetLeftLabel(
        QCoreApplication::translate("CGUIRispostaSperimentale2", "Phase velocity  [m/s]"));
    region.SetLegendVisible(false);
    const PhaseShiftImage &ps = state.image;
    const int rows = ps.image.GetRows();
    const int columns = ps.image.GetCols();
    if (!ps.ok || rows < 2 || columns < 2)
        return region;
    // One pixel per image value; row 0 (slowest velocity) at the bottom.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(rows) * columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            pixels[static_cast<std::size_t>(rows - 1 - r) * columns + c] =
                SpectrumColourOf(ps.image(r, c));
    const double df = ps.frequencies(1) - ps.frequencies(0);
    const double dv = ps.velocities(1) - ps.velocities(0);
    const double fLow = ps.frequencies(0) - df / 2;
    const double fHigh = ps.frequencies(columns - 1) + df / 2;
    const double vLow = ps.velocities(0) - dv / 2;
    const double vHigh = ps.velocities(rows - 1) + dv / 2;
    auto object = std::make_unique<CChartImage>();
    object->SetName(QStringLiteral("phaseShift"));
    object->SetRect(fLow, vLow, fHigh, vHigh);
    object->SetPixels(columns, rows, std::move(pixels));
    region.Add(std::move(object));

    if (spacing > 0.0) {
        // Below v = 2 f dx a wave is sampled less than twice per wavelength: the image there
        // holds aliased energy.
        std::vector<double> x;
        std::vector<double> y;
        const double fStart = std::max(fLow, vLow / (2.0 * spacing));
        const double fEnd = std::min(fHigh, vHigh / (2.0 * spacing));
        if (fEnd > fStart) {
            x = { fStart, fEnd };
            y = { 2.0 * fStart * spacing, 2.0 * fEnd * spacing };
            auto line = std::make_unique<CLineSeries>();
            line->SetName(QStringLiteral("aliasing"));
            line->SetData(std::move(x), std::move(y));
            line->SetLineColor(ChartColor { 1.0f, 1.0f, 1.0f, 1.0f });
            line->SetLineWidth(2.0);
            line->SetDashPattern(QStringLiteral("6 4"));
            region.Add(std::move(line));
        }
    }
    if (state.curvePicked && state.method == SpectrumMethod::PhaseShift) {
        std::vector<double> x;
        std::vector<double> y;
        for (int i = 0; i < state.curve.frequencies.GetRows(); ++i) {
            x.push_back(state.curve.frequencies(i));
            y.push_back(state.curve.velocities(i));
        }
        auto series = std::make_unique<CLineSeries>();
        series->SetName(QStringLiteral("pick"));
        series->SetData(std::move(x), std::move(y));
        series->SetLineColor(ChartColor { 1.0f, 1.0f, 1.0f, 1.0f });
        series->SetFillColor(ChartColor { 1.0f, 1.0f, 1.0f, 1.0f });
        series->SetLineWidth(0.0);
        series->SetMarker(ChartMarker::Circle, 4.0);
        region.Add(std::move(series));
    }
    ChartBounds range;
    range.Include(fLow, vLow);
    range.Include(fHigh, vHigh);
    region.SetViewRange(range);
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
