#include "app/spectrum/SpectrumPageState.h"

#include "app/data/UserNumber.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/GuidedPick.h"
#include "matrix/CMatrixArchive.h"

#include <QCoreApplication>

#include <algorithm>
#include <optional>
#include <string>

namespace {

const char *const SectionTag = "RS2";

} // namespace

QString SpectrumPageState::ComputeImage(const DispersionAnalysis &analysis)
{
    image = PhaseShiftImage();
    const ShotRecord &rec = analysis.m_active;
    QString errors;
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("SpectrumPageState", text);
    };
    const std::optional<double> vmin = ParseUserNumber(minVelocityText);
    const std::optional<double> vmax = ParseUserNumber(maxVelocityText);
    if (!vmin || !(*vmin > 0.0))
        errors += tr("The minimum velocity must be a number above 0 m/s.") + QStringLiteral("\r\n");
    if (!vmax || (vmin && !(*vmax > *vmin)))
        errors += tr("The maximum velocity must be a number above the minimum velocity.")
            + QStringLiteral("\r\n");
    if (!analysis.m_bAnalysed || rec.receiversUsed < 2
        || rec.windowedTraces.GetCols() < rec.receiversUsed
        || rec.receiverOffsets.GetRows() < rec.receiversUsed)
        errors += tr("No spectrum: read the traces on the experimental data page first.")
            + QStringLiteral("\r\n");
    if (!errors.isEmpty())
        return errors;
    double low = 0.0;
    double high = std::min(100.0, SpectrumMaxFrequency(rec));
    const SpectrumBand band = CheckSpectrumBand(lowText, highText, rec);
    if (band.errors.isEmpty()) {
        low = band.low;
        high = band.high;
    }
    const int used = rec.receiversUsed;
    CMatrix traces(rec.windowedTraces.GetRows(), used);
    for (int r = 0; r < traces.GetRows(); ++r)
        for (int j = 0; j < used; ++j)
            traces.SetRaw(r, j, rec.windowedTraces(r, j));
    PhaseShiftParams params;
    params.timeStepMs = rec.timeStep;
    const double sourceOffset =
        analysis.m_activeSourceOffset >= 0.0 ? analysis.m_activeSourceOffset : rec.receiverSpacing;
    for (int j = 0; j < used; ++j)
        params.offsets.push_back(sourceOffset + rec.receiverOffsets(j));
    params.minVelocity = *vmin;
    params.maxVelocity = *vmax;
    // 1 m/s, or finer for a narrow range, so that the grid keeps at least 200 rows.
    params.velocityStep = std::min(1.0, (*vmax - *vmin) / 200.0);
    params.minFrequency = low;
    params.maxFrequency = high;
    image = ComputePhaseShiftImage(traces, params);
    if (!image.ok) {
        const QString message = image.message;
        image = PhaseShiftImage();
        return message + QStringLiteral("\r\n");
    }
    return QString();
}

QString SpectrumPageState::PickCurve(DispersionAnalysis &analysis)
{
    const SpectrumBand band = CheckSpectrumBand(lowText, highText, analysis.m_active);
    if (!band.errors.isEmpty())
        return band.errors;
    if (method == SpectrumMethod::PhaseShift) {
        const QString errors = ComputeImage(analysis);
        if (!errors.isEmpty())
            return errors;
        GuidedPickOptions options;
        options.minFrequency = band.low;
        options.maxFrequency = band.high;
        const std::vector<GuidedPickPoint> points =
            GuidedPick(image.image, image.frequencies, image.velocities, options);
        const int n = static_cast<int>(points.size());
        PickedCurve picked;
        picked.frequencies = CMatrix(n, 1);
        picked.velocities = CMatrix(n, 1);
        CMatrix lower(n, 1);
        CMatrix upper(n, 1);
        for (int i = 0; i < n; ++i) {
            const GuidedPickPoint &p = points[static_cast<std::size_t>(i)];
            picked.frequencies.SetRaw(i, 0, p.frequency);
            picked.velocities.SetRaw(i, 0, p.velocity);
            lower.SetRaw(i, 0, p.lower);
            upper.SetRaw(i, 0, p.upper);
        }
        curve = std::move(picked);
        lowerBounds = lower;
        upperBounds = upper;
    } else {
        curve = PickSpectrumCurve(analysis.m_active, band.low, band.high);
        lowerBounds = CMatrix(0, 1);
        upperBounds = CMatrix(0, 1);
    }
    curvePicked = true;
    analysis.m_pickedFrequencies = curve.frequencies;
    analysis.m_pickedVelocities = curve.velocities;
    analysis.m_pickedLower = lowerBounds;
    analysis.m_pickedUpper = upperBounds;
    return QString();
}

void SpectrumPageState::StoreSection(CMatrixArchive &ar, const DispersionAnalysis &analysis) const
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(SectionTag);
    const bool phaseShift = method == SpectrumMethod::PhaseShift;
    // An f-k page keeps the first version's bytes, so that older readers still open it.
    ar.WriteFloat32(phaseShift ? 2.0f : 1.0f);
    analysis.m_active.Store(ar);
    ar.WriteLine(lowText.toStdString());
    ar.WriteLine(highText.toStdString());
    ar.WriteLine(curvePicked ? "1" : "0");
    if (curvePicked) {
        curve.velocities.Store(ar);
        curve.frequencies.Store(ar);
    }
    if (!phaseShift)
        return;
    ar.WriteInt32(static_cast<int>(method));
    ar.WriteLine(minVelocityText.toStdString());
    ar.WriteLine(maxVelocityText.toStdString());
    ar.WriteFloat64(analysis.m_activeSourceOffset);
    if (curvePicked) {
        lowerBounds.Store(ar);
        upperBounds.Store(ar);
    }
}

void SpectrumPageState::LoadSection(CMatrixArchive &ar, DispersionAnalysis &analysis)
{
    ar.ReadLine(); // the separator
    if (ar.ReadLine() != SectionTag)
        CMatrixArchive::ThrowBadClass();
    const float version = ar.ReadFloat32();
    ShotRecord record;
    record.Load(ar);
    const QString low = QString::fromStdString(ar.ReadLine());
    const QString high = QString::fromStdString(ar.ReadLine());
    const bool picked = ar.ReadLine() == "1";
    PickedCurve loaded;
    if (picked) {
        loaded.velocities.Load(ar);
        loaded.frequencies.Load(ar);
        if (loaded.velocities.GetCount() != loaded.frequencies.GetCount())
            CMatrixArchive::ThrowBadClass();
    }
    // Version 1.0 knew only the f-k spectrum.
    SpectrumMethod loadedMethod = SpectrumMethod::Fk;
    QString vmin = QStringLiteral("50");
    QString vmax = QStringLiteral("1000");
    double sourceOffset = analysis.m_activeSourceOffset;
    CMatrix lower(0, 1);
    CMatrix upper(0, 1);
    if (version >= 1.5f) {
        const int m = ar.ReadInt32();
        if (m != 0 && m != 1)
            CMatrixArchive::ThrowBadClass();
        loadedMethod = static_cast<SpectrumMethod>(m);
        vmin = QString::fromStdString(ar.ReadLine());
        vmax = QString::fromStdString(ar.ReadLine());
        sourceOffset = ar.ReadFloat64();
        if (picked) {
            lower.Load(ar);
            upper.Load(ar);
            if (lower.GetCount() != upper.GetCount()
                || (lower.GetCount() != 0 && lower.GetCount() != loaded.velocities.GetCount()))
                CMatrixArchive::ThrowBadClass();
        }
    }
    // A spectrum whose axes do not fit it would be read out of bounds by the image.
    const int rows = record.spectrum.GetRows();
    if (rows > 0
        && (record.spectrum.GetCols() != record.spatialSize || record.spatialSize != 256
            || record.frequencyAxis.GetRows() != rows || record.wavenumberAxis.GetRows() != 256
            || record.timeSize != 2 * rows))
        CMatrixArchive::ThrowBadClass();

    analysis.m_active = std::move(record);
    analysis.m_bPrepared = true;
    analysis.m_bAnalysed = rows > 0;
    lowText = low;
    highText = high;
    curvePicked = picked;
    curve = loaded;
    method = loadedMethod;
    minVelocityText = vmin;
    maxVelocityText = vmax;
    lowerBounds = lower;
    upperBounds = upper;
    image = PhaseShiftImage();
    analysis.m_activeSourceOffset = sourceOffset;
    if (picked) {
        analysis.m_pickedFrequencies = loaded.frequencies;
        analysis.m_pickedVelocities = loaded.velocities;
        analysis.m_pickedLower = lower;
        analysis.m_pickedUpper = upper;
    }
}
