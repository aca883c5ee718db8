// What the spectrum page keeps besides the analysis: the band fields, the curve-picked flag
// and the picked curve; the band check with picking, and the page's document section.
#ifndef VELA_APP_SPECTRUM_SPECTRUMPAGESTATE_H
#define VELA_APP_SPECTRUM_SPECTRUMPAGESTATE_H

#include "app/spectrum/FkSpectrum.h"

#include <QString>

class CMatrixArchive;
class DispersionAnalysis;

/// The spectrum page's own data, with the band limits as typed.
struct SpectrumPageState
{
    QString lowText; ///< lower band limit as typed [Hz]
    QString highText; ///< upper band limit as typed [Hz]
    bool curvePicked = false;
    PickedCurve curve;

    /// Band check and picking: returns the messages of every failing band rule (nothing
    /// picked then); otherwise picks the curve, keeps it here and as the analysis's picked
    /// curve, sets curvePicked and returns an empty text.
    QString PickCurve(DispersionAnalysis &analysis);

    /// The "RS2" section: separator, tag, version 1.0, the active record, the two band texts,
    /// "1" or "0" for the flag and, when set, the picked velocities then frequencies. Load
    /// reads everything first and throws on a corrupt section, changing nothing; a loaded
    /// record with a spectrum counts as prepared and analysed.
    void StoreSection(CMatrixArchive &ar, const DispersionAnalysis &analysis) const;
    void LoadSection(CMatrixArchive &ar, DispersionAnalysis &analysis);
};

#endif // VELA_APP_SPECTRUM_SPECTRUMPAGESTATE_H
