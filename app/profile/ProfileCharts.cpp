#include "app/profile/ProfileCharts.h"

#include "app/chart/CErrorBarSeries.h"
#include "app/chart/CLineSeries.h"
#include "app/profile/ProfileRun.h"

#include <QCoreApplication>

#include <memory>

namespace {

QString Tr(const char *text) { return QCoreApplication::translate("CGUIProfiloIniziale", text); }

const ChartColor ExperimentalColor { 0.0f, 0.0f, 0.0f, 1.0f };
const ChartColor ModeColor { 0.45f, 0.45f, 0.45f, 1.0f };
const ChartColor ApparentColor { 0.85f, 0.1f, 0.1f, 1.0f };
const ChartColor EffectiveColor { 0.1f, 0.3f, 0.9f, 1.0f };
const ChartColor InitialColor { 0.2f, 0.6f, 0.2f, 1.0f };
const ChartColor FinalColor { 0.85f, 0.1f, 0.1f, 1.0f };
const ChartColor BandColor { 0.95f, 0.6f, 0.1f, 1.0f };

std::vector<double> Values(const CMatrix &m)
{
    std::vector<double> v;
    for (int i = 0; i < m.GetCount(); ++i)
        v.push_back(m(i));
    return v;
}

std::unique_ptr<CLineSeries> Line(const QString &name, const QString &description,
    std::vector<double> x, std::vector<double> y, ChartColor color, double width)
{
    auto line = std::make_unique<CLineSeries>();
    line->SetName(name);
    line->SetDescription(description);
    line->SetData(std::move(x), std::move(y));
    line->SetLineColor(color);
    line->SetLineWidth(width);
    return line;
}

} // namespace

CChartRegion BuildDispersionChart(
    const DispersionAnalysis &analysis, const DispersionLegend &legend, bool resultsValid)
{
    CChartRegion region;
    region.SetBottomLabel(Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Frequency [Hz]")));
    region.SetLeftLabel(Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Phase velocity  [m/s]")));
    const ExperimentalCurve &c = analysis.m_curve;
    const std::vector<double> f = Values(c.frequencies);
    if (legend.experimental && !f.empty()) {
        auto curve = std::make_unique<CErrorBarSeries>();
        curve->SetName(QStringLiteral("Curva sperimentale"));
        curve->SetDescription(Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Experimental")));
        curve->SetData(f, Values(c.velocities));
        curve->SetBounds(Values(c.minVelocities), Values(c.maxVelocities));
        curve->SetLineColor(ExperimentalColor);
        curve->SetLineWidth(0);
        curve->SetMarker(ChartMarker::Circle, 6);
        region.Add(std::move(curve));
    }
    if (!resultsValid)
        return region;
    const ProfileRunResults &r = analysis.m_results;
    // The computed series lie on the result frequencies (a search's are finer than the
    // experimental curve's); results without their own frequencies follow the curve's rows.
    auto frequencyOf = [&](int i, int count, double *x) {
        if (r.frequencies.GetCount() == count)
            *x = r.frequencies(i);
        else if (i < static_cast<int>(f.size()))
            *x = f[std::size_t(i)];
        else
            return false;
        return true;
    };
    if (legend.modes) {
        const int rows = r.modalVelocities.GetRows();
        for (int m = 0; m < r.modalVelocities.GetCols(); ++m) {
            std::vector<double> x, y;
            for (int i = 0; i < rows; ++i) {
                double fx = 0;
                // A mode that does not exist at a frequency is 0 there and is not drawn.
                if (r.modalVelocities(i, m) > 0 && frequencyOf(i, rows, &fx)) {
                    x.push_back(fx);
                    y.push_back(r.modalVelocities(i, m));
                }
            }
            auto mode = Line(QStringLiteral("Curva modale"),
                Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Mode %1")).arg(m + 1), std::move(x),
                std::move(y), ModeColor, 1);
            mode->SetDashPattern(QStringLiteral("4 4"));
            region.Add(std::move(mode));
        }
    }
    auto curve = [&](const CComplexMatrix &values, std::vector<double> *x, std::vector<double> *y) {
        const int count = values.GetCount();
        for (int i = 0; i < count; ++i) {
            double fx = 0;
            // A missing curve comes as zeros: no velocity to draw.
            if (values(i).Modulus() > 0 && frequencyOf(i, count, &fx)) {
                x->push_back(fx);
                y->push_back(values(i).Modulus());
            }
        }
    };
    if (legend.apparent) {
        std::vector<double> x, y;
        curve(r.apparentCurve, &x, &y);
        region.Add(Line(QStringLiteral("Curva apparente"),
            Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Apparent")), std::move(x), std::move(y),
            ApparentColor, 2));
    }
    if (legend.effective) {
        std::vector<double> x, y;
        curve(r.effectiveCurve, &x, &y);
        region.Add(Line(QStringLiteral("Curva effettiva"),
            Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Effective")), std::move(x), std::move(y),
            EffectiveColor, 2));
    }
    return region;
}

CChartRegion BuildProfileChart(const DispersionAnalysis &analysis, const CMatrix &widths,
    const CMatrix &points, int uncertaintyLevel, bool resultsValid, const EnsembleSummary *ensemble)
{
    CChartRegion region;
    region.SetTitle(Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vertical shear wave velocity")));
    region.SetBottomLabel(Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "v [m/s]")));
    region.SetLeftLabel(Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Depth [m]")));
    region.SetReversed(ChartAxis::Left, true);
    std::vector<double> thickness, initial, final;
    for (const LayerRecord &layer : analysis.m_profile.layers) {
        thickness.push_back(layer.thickness);
        initial.push_back(layer.vs);
        final.push_back(layer.finalVs);
    }
    if (initial.empty())
        return region;
    StepLine line = ProfileStepLine(thickness, initial);
    region.Add(Line(QStringLiteral("Profilo iniziale"),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Initial Vs")), line.vs, line.depth,
        InitialColor, 2));
    if (!resultsValid)
        return region;
    line = ProfileStepLine(thickness, final);
    region.Add(Line(QStringLiteral("Profilo finale"),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Final Vs")), line.vs, line.depth, FinalColor,
        2));
    if (uncertaintyLevel == EnsembleBandLevel) {
        if (!ensemble || !ensemble->valid || ensemble->band.GetRows() != int(thickness.size()))
            return region;
        const char *const names[3] = { "Banda 10%", "Mediana", "Banda 90%" };
        const char *const captions[3] = { QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Ensemble 10%"),
            QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Ensemble median"),
            QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Ensemble 90%") };
        for (int k = 0; k < 3; ++k) {
            std::vector<double> vs;
            for (int l = 0; l < ensemble->band.GetRows(); ++l)
                vs.push_back(ensemble->band(l, 2 + k));
            line = ProfileStepLine(thickness, vs);
            auto series = Line(QString::fromLatin1(names[k]), Tr(captions[k]), line.vs, line.depth,
                BandColor, k == 1 ? 2 : 1);
            if (k != 1)
                series->SetDashPattern(QStringLiteral("4 2"));
            region.Add(std::move(series));
        }
        return region;
    }
    if (uncertaintyLevel < 1 || uncertaintyLevel > 3)
        return region;
    std::vector<double> lower, upper;
    UncertaintyProfiles(
        analysis, widths, points, UncertaintyFactor(uncertaintyLevel), &lower, &upper);
    line = ProfileStepLine(thickness, lower);
    auto low = Line(QStringLiteral("Incertezza"),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Uncertainty")), line.vs, line.depth, BandColor,
        1);
    low->SetDashPattern(QStringLiteral("4 2"));
    region.Add(std::move(low));
    line = ProfileStepLine(thickness, upper);
    auto high = Line(QStringLiteral("Incertezza"),
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Uncertainty")), line.vs, line.depth, BandColor,
        1);
    high->SetDashPattern(QStringLiteral("4 2"));
    region.Add(std::move(high));
    return region;
}
