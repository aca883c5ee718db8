// What the spectrum page keeps besides the analysis: the band fields, the curve-picked flag
// and the picked curve; the band check with picking, and the page's document section.
#ifndef VELA_APP_SPECTRUM_SPECTRUMPAGESTATE_H
#define VELA_APP_SPECTRUM_SPECTRUMPAGESTATE_H

#include "app/spectrum/FkSpectrum.h"
#include "app/spectrum/PhaseShiftTransform.h"

#include <QString>

class CMatrixArchive;
class DispersionAnalysis;

/// How the page images the record: the f-k spectrum with its strongest-wavenumber pick, or
/// the phase-shift image at the true offsets with the guided pick.
enum class SpectrumMethod { Fk = 0, PhaseShift = 1 };

/// The spectrum page's own data, with the band limits as typed.
struct SpectrumPageState
{
    QString lowText; ///< lower band limit as typed [Hz]
    QString highText; ///< upper band limit as typed [Hz]
    bool curvePicked = false;
    PickedCurve curve;
    SpectrumMethod method = SpectrumMethod::Fk;
    QString minVelocityText = QStringLiteral("50"); ///< phase-shift range as typed [m/s]
    QString maxVelocityText = QStringLiteral("1000"); ///< [m/s]
    /// Bounds of the picked points from the width of their peaks (phase-shift only; empty
    /// after an f-k pick) [m/s].
    CMatrix lowerBounds { 0, 1 };
    CMatrix upperBounds { 0, 1 };
    /// The last phase-shift image (not stored: computed again from the record).
    PhaseShiftImage image;

    /// Computes the phase-shift image of the analysis's record over the band as typed (the
    /// whole spectrum up to 100 Hz when the band is not valid yet) and the velocity range.
    /// Returns the messages of the failing checks (image left empty then), else an empty text.
    QString ComputeImage(const DispersionAnalysis &analysis);

    /// Band check and picking: returns the messages of every failing band rule (nothing
    /// picked then); otherwise picks the curve, keeps it here and as the analysis's picked
    /// curve, sets curvePicked and returns an empty text.
    QString PickCurve(DispersionAnalysis &analysis);

    /// The "RS2" section: separator, tag, version 1.0, the active record, the two band texts,
    /// "1" or "0" for the flag and, when set, the picked velocities then frequencies. With the
    /// phase-shift method the version is 2.0 and the section goes on with the method (int32),
    /// the two velocity texts, the source offset of the analysis (float64) and, when picked,
    /// the lower and upper bounds; an f-k page writes the 1.0 bytes as before. Load reads
    /// everything first and throws on a corrupt section, changing nothing; a loaded record
    /// with a spectrum counts as prepared and analysed; a 1.0 section means f-k.
    void StoreSection(CMatrixArchive &ar, const DispersionAnalysis &analysis) const;
    void LoadSection(CMatrixArchive &ar, DispersionAnalysis &analysis);
};

#endif // VELA_APP_SPECTRUM_SPECTRUMPAGESTATE_H
