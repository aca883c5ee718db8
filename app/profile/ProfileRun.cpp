#include "app/profile/ProfileRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QString Tr(const char *text) { return QCoreApplication::translate("CGUIProfiloIniziale", text); }

// The uncertainty list's factors, as the levels 0.1, 0.5 and 1 sigma have always been drawn.
constexpr double UncertaintyFactors[3] = { 0.08024072647094727, 0.40120363235473633,
    0.6619859933853149 };
// The half-space has no bottom; the profile chart draws this much of it.
constexpr double HalfSpaceDrawnThickness = 10.0;

CMatrix ZeroMatrix() { return CMatrix(1, 1); }
CComplexMatrix ZeroComplexMatrix() { return CComplexMatrix(1, 1); }

// The vectors both jobs share.
template <class Job> void FillCommon(const DispersionAnalysis &a, Job &job)
{
    const GroundProfile &p = a.m_profile;
    const int n = p.LayerCount();
    job.frequencies = a.m_curve.frequencies;
    job.velocities = a.m_curve.velocities;
    job.deviations = a.m_curve.standardDeviations;
    job.thickness = CMatrix(std::max(0, n - 1), 1);
    job.density = CMatrix(n, 1);
    job.vs = CMatrix(n, 1);
    job.poisson = CMatrix(n, 1);
    for (int l = 0; l < n; ++l) {
        const LayerRecord &layer = p.layers[std::size_t(l)];
        if (l + 1 < n)
            job.thickness.Set(l, layer.thickness);
        job.density.Set(l, layer.density * 0.001);
        job.vs.Set(l, layer.vs);
        job.poisson.Set(l, layer.poisson);
    }
    job.modes = p.modeCount;
    job.solverParameter = static_cast<float>(p.solverParameter);
    job.offsets = ReceiverOffsets(p.receiverSpacing, p.receiverCount);
    job.firstDepth = 0.0;
    job.secondDepth = 0.0;
}

// The final Vs of every layer and its text.
void TakeFinalVs(DispersionAnalysis &a)
{
    for (std::size_t l = 0; l < a.m_profile.layers.size(); ++l) {
        if (int(l) >= a.m_results.finalVs.GetCount())
            break;
        LayerRecord &layer = a.m_profile.layers[l];
        layer.finalVs = a.m_results.finalVs(int(l));
        layer.finalVsText = QString::asprintf("%.0f", layer.finalVs);
    }
}

// The debugging copies of the results; written only where VELA_DUMP_DIR points.
void DumpResults(const DispersionAnalysis &a, bool withFinalVs)
{
    a.m_results.modalVelocities.DiagnosticDump("vr.m", "vrc");
    a.m_results.effectiveCurve.DiagnosticDump("effettiva.m", "effettivac");
    a.m_results.apparentCurve.DiagnosticDump("teorica.m", "teoricac");
    if (withFinalVs)
        a.m_results.finalVs.DiagnosticDump("vsfinale.m", "vsfinalec");
}

QString CouldNotStart()
{
    return Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
        "Could not start process. Please refer to documentation to solve the problem."));
}

QString Line(const char *format, double value) { return QString::asprintf(format, value); }

QString ApparentMisfitLine(double apparentMisfit)
{
    return apparentMisfit > 1 ? Tr(QT_TRANSLATE_NOOP(
               "CGUIProfiloIniziale", "Error between apparent curve and experimental curve: >100%"))
                              : Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                                       "Error between apparent curve and experimental curve: %1%"))
                                    .arg(Line("%.0f", 100.0 * apparentMisfit));
}

QString MissingCurvesWarning()
{
    return Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
        "Warning: the final curves of the best model could not be computed"));
}

} // namespace

CMatrix ReceiverOffsets(double spacing, int count)
{
    count = std::max(count, 1);
    CMatrix offsets(count, 1);
    for (int i = 0; i < count; ++i) {
        // One receiver has no spread: its offset is the spacing itself.
        const double step = count > 1 ? (count * spacing - spacing) / (count - 1) : 0.0;
        offsets.Set(i, spacing + i * step);
    }
    return offsets;
}

ForwardJob BuildForwardJob(const DispersionAnalysis &analysis)
{
    ForwardJob job;
    FillCommon(analysis, job);
    return job;
}

SearchJob BuildSearchJob(const DispersionAnalysis &analysis)
{
    SearchJob job;
    FillCommon(analysis, job);
    const GroundProfile &p = analysis.m_profile;
    const SearchProgress &s = analysis.m_search;
    job.iterations = p.iterationCount;
    job.stopFlag = s.stopFlag ? 1 : 0;
    job.iterationCounter = s.iterationCounter;
    job.apparentMisfit = ProfileRunResults::NoRunMisfit;
    job.effectiveMisfit = ProfileRunResults::NoRunMisfit;
    job.currentMisfit = s.currentMisfit;
    job.targetMisfit = p.targetMisfit;
    job.iterationsRequested = s.iterationsRequested;
    const int n = p.LayerCount();
    job.vsMax = CMatrix(n, 1);
    job.vsMin = CMatrix(n, 1);
    for (int l = 0; l < n; ++l) {
        const LayerRecord &layer = p.layers[std::size_t(l)];
        job.vsMax.Set(l, layer.vsFixed ? layer.vs : layer.vsMax);
        job.vsMin.Set(l, layer.vsFixed ? layer.vs : layer.vsMin);
    }
    job.strongContrasts = p.strongContrasts ? 1 : 0;
    return job;
}

ProfileRunReport RunForwardJob(
    DispersionAnalysis &analysis, ProfileValidity &validity, const EngineRunRequest &request)
{
    ProfileRunReport report;
    analysis.m_results.apparentMisfit = ProfileRunResults::NoRunMisfit;
    analysis.m_results.effectiveMisfit = ProfileRunResults::NoRunMisfit;
    validity.searchValid = false;
    const ForwardJob job = BuildForwardJob(analysis);
    analysis.m_results.receiverOffsets = job.offsets;
    ForwardResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    if (!outcome.started) {
        report.notStarted = true;
        report.message = CouldNotStart();
        return report;
    }
    if (outcome.exitCode != 0) {
        validity.forwardValid = false;
        report.message = QString::fromStdString(outcome.message);
        return report;
    }
    if (!outcome.resultFound) {
        validity.forwardValid = false;
        report.code = 0;
        return report;
    }
    if (!outcome.resultRead) {
        // A damaged result is no result: nothing of it is drawn.
        validity.forwardValid = false;
        report.message = QString::fromStdString(outcome.message);
        return report;
    }
    validity.forwardValid = true;
    ProfileRunResults &r = analysis.m_results;
    r.apparentMisfit = result.apparentMisfit;
    r.effectiveMisfit = result.effectiveMisfit;
    r.finalVs = result.finalVs;
    r.effectiveCurve = result.effectiveCurve;
    r.apparentCurve = result.apparentCurve;
    r.modalVelocities = result.modalVelocities;
    r.frequencies = result.frequencies;
    DumpResults(analysis, true);
    TakeFinalVs(analysis);
    report.code = 0;
    return report;
}

ProfileRunReport RunSearchJob(
    DispersionAnalysis &analysis, ProfileValidity &validity, const EngineRunRequest &request)
{
    ProfileRunReport report;
    report.code = 0;
    analysis.m_results.apparentMisfit = ProfileRunResults::NoRunMisfit;
    analysis.m_results.effectiveMisfit = ProfileRunResults::NoRunMisfit;
    const SearchJob job = BuildSearchJob(analysis);
    analysis.m_results.receiverOffsets = job.offsets;
    SearchResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    ProfileRunResults &r = analysis.m_results;
    auto reset = [&](bool modalToo) {
        validity.forwardValid = false;
        validity.searchValid = false;
        r.finalVs = ZeroMatrix();
        r.effectiveCurve = ZeroComplexMatrix();
        r.apparentCurve = ZeroComplexMatrix();
        r.frequencies = ZeroMatrix();
        if (modalToo)
            r.modalVelocities = ZeroMatrix();
    };
    if (!outcome.started) {
        report.notStarted = true;
        report.message = CouldNotStart();
        reset(true);
        return report;
    }
    if (outcome.exitCode != 0) {
        reset(outcome.exitCode != RunnerExitNumber(RunnerExit::Killed)
            && outcome.exitCode != RunnerExitNumber(RunnerExit::EngineFailed));
        report.message = QString::fromStdString(outcome.message);
        return report;
    }
    if (!outcome.resultRead) {
        reset(true);
        report.message = QString::fromStdString(outcome.message);
        return report;
    }
    r.finalVs = result.finalVs;
    r.effectiveCurve = result.effectiveCurve;
    r.apparentCurve = result.apparentCurve;
    r.modalVelocities = result.modalVelocities;
    r.frequencies = result.frequencies;
    // The best model without its final curves (runner sends them as 1 x 1 zeros).
    report.finalCurvesMissing = result.code != 0;
    DumpResults(analysis, false);
    TakeFinalVs(analysis);
    validity.searchValid = true;
    validity.forwardValid = true;
    return report;
}

ProfileRunReport RunManyStartJob(DispersionAnalysis &analysis, ProfileValidity &validity,
    const EngineRunRequest &request, int starts, EnsembleSummary *ensemble)
{
    ProfileRunReport report;
    report.code = 0;
    EnsembleSummary summary;
    summary.starts = starts;
    analysis.m_results.apparentMisfit = ProfileRunResults::NoRunMisfit;
    analysis.m_results.effectiveMisfit = ProfileRunResults::NoRunMisfit;
    ManyStartJob job;
    job.search = BuildSearchJob(analysis);
    job.starts = starts;
    analysis.m_results.receiverOffsets = job.search.offsets;
    ManyStartResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    ProfileRunResults &r = analysis.m_results;
    if (ensemble)
        *ensemble = summary;
    if (!outcome.Succeeded()) {
        validity.forwardValid = false;
        validity.searchValid = false;
        r.finalVs = ZeroMatrix();
        r.effectiveCurve = ZeroComplexMatrix();
        r.apparentCurve = ZeroComplexMatrix();
        r.frequencies = ZeroMatrix();
        r.modalVelocities = ZeroMatrix();
        report.notStarted = !outcome.started;
        report.message =
            outcome.started ? QString::fromStdString(outcome.message) : CouldNotStart();
        report.code = 1;
        return report;
    }
    r.finalVs = result.finalVs;
    r.effectiveCurve = result.effectiveCurve;
    r.apparentCurve = result.apparentCurve;
    r.modalVelocities = result.modalVelocities;
    r.frequencies = result.frequencies;
    r.apparentMisfit = result.apparentMisfit;
    r.effectiveMisfit = result.effectiveMisfit;
    DumpResults(analysis, false);
    TakeFinalVs(analysis);
    summary.valid = true;
    summary.stopped = result.code == -1;
    summary.finalCurvesMissing = result.finalCurvesMissing != 0;
    summary.normalisedMisfit = result.normalisedMisfit;
    summary.vs30 = result.vs30;
    summary.vs30P10 = result.vs30P10;
    summary.vs30P90 = result.vs30P90;
    summary.depthOfInvestigation = result.depthOfInvestigation;
    summary.band = result.band;
    summary.layerOnBound = result.layerOnBound;
    if (ensemble)
        *ensemble = summary;
    validity.searchValid = true;
    validity.forwardValid = true;
    return report;
}

QString EnsembleWarnings(const EnsembleSummary &e)
{
    if (!e.valid)
        return QString();
    QStringList lines;
    QStringList onBound, bandOnBound;
    for (int l = 0; l < e.layerOnBound.GetCount(); ++l) {
        if (e.layerOnBound(l) == 1)
            onBound << QString::number(l + 1);
        else if (e.layerOnBound(l) == 2)
            bandOnBound << QString::number(l + 1);
    }
    if (!onBound.isEmpty())
        lines << Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                        "Warning: the Vs of layer(s) %1 lies on its search bound"))
                     .arg(onBound.join(QStringLiteral(", ")));
    if (!bandOnBound.isEmpty())
        lines << Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                        "Warning: the band of layer(s) %1 reaches its search bound: the data "
                        "allow Vs beyond it"))
                     .arg(bandOnBound.join(QStringLiteral(", ")));
    // Vs30 averages the top 30 m: below the depth of investigation the data say nothing.
    if (e.depthOfInvestigation > 0 && e.depthOfInvestigation < 30.0)
        lines << Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                        "Warning: Vs30 depends on depths below the depth of investigation (%1 m)"))
                     .arg(Line("%.1f", e.depthOfInvestigation));
    if (e.finalCurvesMissing)
        lines << MissingCurvesWarning();
    return lines.join(QStringLiteral("\r\n"));
}

QString EnsembleText(const EnsembleSummary &e)
{
    if (!e.valid)
        return QString();
    QStringList lines;
    lines << Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                    "Normalised error (residual over standard deviation, RMS): %1"))
                 .arg(Line("%.3g", e.normalisedMisfit));
    lines << Tr(QT_TRANSLATE_NOOP(
                    "CGUIProfiloIniziale", "Vs30: %1 m/s (range 10-90%: %2 - %3 m/s, %4 starts)"))
                 .arg(Line("%.0f", e.vs30), Line("%.0f", e.vs30P10), Line("%.0f", e.vs30P90))
                 .arg(e.starts);
    lines << Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Depth of investigation: %1 m"))
                 .arg(Line("%.1f", e.depthOfInvestigation));
    const QString warnings = EnsembleWarnings(e);
    if (!warnings.isEmpty())
        lines << warnings;
    return lines.join(QStringLiteral("\r\n"));
}

void TakeProgress(DispersionAnalysis &analysis, const EngineProgress &record)
{
    analysis.m_results.apparentMisfit = record.secondMisfit;
    analysis.m_results.effectiveMisfit = record.firstMisfit;
    SearchProgress &s = analysis.m_search;
    s.currentMisfit = record.currentMisfit;
    s.iterationCounter = record.iterationCounter;
    s.iterationsRequested = record.iterationsRequested;
    s.trialCounter = record.trialCounter;
    s.latestTrialMisfit = record.latestTrialMisfit;
    if (s.latestTrialMisfit > 0 && (s.bestMisfit == -1.0 || s.bestMisfit > s.latestTrialMisfit))
        s.bestMisfit = s.latestTrialMisfit;
}

double KeptModelApparentMisfit(const DispersionAnalysis &analysis)
{
    const double final = analysis.m_results.apparentMisfit;
    if (final < ProfileRunResults::NoRunMisfit)
        return final;
    // A search that never measured a model leaves the job's 0 there: no misfit.
    const double best = analysis.m_search.currentMisfit;
    return best > 0 && best < ProfileRunResults::NoRunMisfit ? best
                                                             : ProfileRunResults::NoRunMisfit;
}

QString MissingCurvesText(double apparentMisfit)
{
    return ApparentMisfitLine(apparentMisfit) + QStringLiteral("\r\n") + MissingCurvesWarning();
}

QString MisfitText(double apparentMisfit, double effectiveMisfit)
{
    const QString apparent = ApparentMisfitLine(apparentMisfit);
    const QString effective = effectiveMisfit > 1
        ? Tr(QT_TRANSLATE_NOOP(
            "CGUIProfiloIniziale", "Error between effective curve and experimental curve: >100%"))
        : Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                 "Error between effective curve and experimental curve: %1%"))
              .arg(Line("%.0f", 100.0 * effectiveMisfit));
    return apparent + QStringLiteral("\r\n") + effective;
}

double UncertaintyFactor(int level)
{
    return level >= 1 && level <= 3 ? UncertaintyFactors[level - 1] : 0.0;
}

StepLine ProfileStepLine(const std::vector<double> &thicknesses, const std::vector<double> &vs)
{
    StepLine line;
    double top = 0.0;
    for (std::size_t l = 0; l < vs.size(); ++l) {
        const bool halfSpace = l + 1 == vs.size();
        const double h =
            halfSpace || l >= thicknesses.size() ? HalfSpaceDrawnThickness : thicknesses[l];
        line.vs.push_back(vs[l]);
        line.depth.push_back(top);
        line.vs.push_back(vs[l]);
        line.depth.push_back(top + h);
        top += h;
    }
    return line;
}

double ResultValueAt(
    const CMatrix &resultFrequencies, const std::vector<double> &values, double f, int row)
{
    const int n = static_cast<int>(values.size());
    if (resultFrequencies.GetCount() != n || n == 0)
        return row >= 0 && row < n ? values[std::size_t(row)] : 0.0;
    if (f <= resultFrequencies(0))
        return values.front();
    if (f >= resultFrequencies(n - 1))
        return values.back();
    int i = 1;
    while (i < n - 1 && resultFrequencies(i) < f)
        ++i;
    const double f0 = resultFrequencies(i - 1), f1 = resultFrequencies(i);
    const double v0 = values[std::size_t(i - 1)], v1 = values[std::size_t(i)];
    if (f == f1)
        return v1;
    if (v0 == 0 || v1 == 0 || f1 <= f0)
        return 0.0;
    return v0 + (v1 - v0) * (f - f0) / (f1 - f0);
}

namespace {

std::vector<double> ModuliOf(const CComplexMatrix &curve)
{
    std::vector<double> v;
    for (int i = 0; i < curve.GetCount(); ++i)
        v.push_back(curve(i).Modulus());
    return v;
}

std::vector<double> ModeColumn(const CMatrix &modal, int mode)
{
    std::vector<double> v;
    for (int i = 0; mode < modal.GetCols() && i < modal.GetRows(); ++i)
        v.push_back(modal(i, mode));
    return v;
}

} // namespace

void UncertaintyProfiles(const DispersionAnalysis &analysis, const CMatrix &widths,
    const CMatrix &points, double factor, std::vector<double> *lower, std::vector<double> *upper)
{
    lower->clear();
    upper->clear();
    const ProfileRunResults &r = analysis.m_results;
    const ExperimentalCurve &c = analysis.m_curve;
    const std::vector<double> apparent = ModuliOf(r.apparentCurve);
    for (int l = 0; l < r.finalVs.GetCount(); ++l) {
        const double w = l < widths.GetCount() ? widths(l) : 0.0;
        double e = 0.0;
        const int k = l < points.GetCount() ? static_cast<int>(points(l)) : 0;
        if (k >= 0 && k < c.PointCount() && c.velocities(k) != 0) {
            const double computed = ResultValueAt(r.frequencies, apparent, c.frequencies(k), k);
            e = std::fabs(computed - c.velocities(k)) / c.velocities(k);
        }
        const double vs = r.finalVs(l);
        lower->push_back(std::max(0.0, vs * (1.0 - factor * (w + e))));
        upper->push_back(vs * (1.0 + factor * (w + e)));
    }
}

bool WriteDispersionExport(const QString &path, const DispersionAnalysis &analysis)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const ExperimentalCurve &c = analysis.m_curve;
    const ProfileRunResults &r = analysis.m_results;
    const int modes = analysis.m_profile.modeCount;
    const int points = c.PointCount();
    QByteArray out = "%%Traces\r\n";
    out += QString::asprintf("%% %dx%d\r\n", points, modes + 6).toLatin1();
    out += "%%f[Hz]";
    for (int m = 1; m <= modes; ++m)
        out += QString::asprintf("\tmode%d", m).toLatin1();
    out += "\tvs[m/s]\tvs_min[m/s]\tvs_max[m/s]\tvapp[m/s]\tvteo[m/s]\r\n";
    auto value = [](double v) { return QString::asprintf("%lf", v).toLatin1(); };
    std::vector<std::vector<double>> modeColumns;
    for (int m = 0; m < modes; ++m)
        modeColumns.push_back(ModeColumn(r.modalVelocities, m));
    const std::vector<double> apparent = ModuliOf(r.apparentCurve);
    const std::vector<double> effective = ModuliOf(r.effectiveCurve);
    for (int i = 0; i < points; ++i) {
        const double f = c.frequencies(i);
        out += value(f);
        for (int m = 0; m < modes; ++m)
            out += "\t" + value(ResultValueAt(r.frequencies, modeColumns[std::size_t(m)], f, i));
        out += "\t" + value(c.velocities(i)) + "\t" + value(c.minVelocities(i)) + "\t"
            + value(c.maxVelocities(i));
        // The apparent curve first, then the effective one, both as moduli.
        out += "\t" + value(ResultValueAt(r.frequencies, apparent, f, i));
        out += "\t" + value(ResultValueAt(r.frequencies, effective, f, i));
        out += "\r\n";
    }
    return file.write(out) == out.size();
}

bool WriteProfileExport(
    const QString &path, const DispersionAnalysis &analysis, const EnsembleSummary *ensemble)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const std::vector<LayerRecord> &layers = analysis.m_profile.layers;
    const int n = static_cast<int>(layers.size());
    // The ensemble's 10 %, median and 90 % columns follow when its band matches the layers.
    const bool band = ensemble && ensemble->valid && ensemble->band.GetRows() == n
        && ensemble->band.GetCols() == 5;
    QByteArray out = "%Velocity\r\n";
    out += QString::asprintf("%% %dx%d\r\n", n, band ? 5 : 2).toLatin1();
    out += band ? "%d[m]\tvs[m/s]\tvs10[m/s]\tvs50[m/s]\tvs90[m/s]\r\n" : "%d[m]\tvs[m/s]\r\n";
    for (int l = 0; l < n; ++l) {
        const LayerRecord &layer = layers[std::size_t(l)];
        out += (l + 1 < n ? QString::asprintf("%lf\t%lf", layer.thickness, layer.finalVs)
                          : QString::asprintf("Inf\t%lf", layer.finalVs))
                   .toLatin1();
        if (band)
            out += QString::asprintf(
                "\t%lf\t%lf\t%lf", ensemble->band(l, 2), ensemble->band(l, 3), ensemble->band(l, 4))
                       .toLatin1();
        out += "\r\n";
    }
    return file.write(out) == out.size();
}
