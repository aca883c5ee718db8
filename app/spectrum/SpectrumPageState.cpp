#include "app/spectrum/SpectrumPageState.h"

#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <string>

namespace {

const char *const SectionTag = "RS2";

} // namespace

QString SpectrumPageState::PickCurve(DispersionAnalysis &analysis)
{
    const SpectrumBand band = CheckSpectrumBand(lowText, highText, analysis.m_active);
    if (!band.errors.isEmpty())
        return band.errors;
    curve = PickSpectrumCurve(analysis.m_active, band.low, band.high);
    curvePicked = true;
    analysis.m_pickedFrequencies = curve.frequencies;
    analysis.m_pickedVelocities = curve.velocities;
    return QString();
}

void SpectrumPageState::StoreSection(CMatrixArchive &ar, const DispersionAnalysis &analysis) const
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(SectionTag);
    ar.WriteFloat32(1.0f);
    analysis.m_active.Store(ar);
    ar.WriteLine(lowText.toStdString());
    ar.WriteLine(highText.toStdString());
    ar.WriteLine(curvePicked ? "1" : "0");
    if (curvePicked) {
        curve.velocities.Store(ar);
        curve.frequencies.Store(ar);
    }
}

void SpectrumPageState::LoadSection(CMatrixArchive &ar, DispersionAnalysis &analysis)
{
    ar.ReadLine(); // the separator
    if (ar.ReadLine() != SectionTag)
        CMatrixArchive::ThrowBadClass();
    ar.ReadFloat32(); // section version, 1.0 is the only one
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
    if (picked) {
        analysis.m_pickedFrequencies = loaded.frequencies;
        analysis.m_pickedVelocities = loaded.velocities;
    }
}
