// The passive page's Next without a window: the noise record handed to the analysis, its
// slowness-frequency spectrum computed and handed over with its axes.
#ifndef VELA_APP_SPECTRUM_PASSIVEANALYSIS_H
#define VELA_APP_SPECTRUM_PASSIVEANALYSIS_H

#include "app/spectrum/PassiveTransform.h"

class DispersionAnalysis;
struct TraceSet;

/// Hands `set` to the analysis's passive record (window, receivers, offsets), computes the
/// passive spectrum of the windowed traces of the receivers used and hands the image and its
/// axes over (the passive prepared flag is then set). When an active spectrum has been
/// computed, the image keeps to its frequency range and to its largest velocity, that of the
/// picked curve. Returns the spectrum; ok false, with the reason, when the set cannot be
/// windowed or the transform refuses it (nothing is then handed over but the traces).
PassiveSpectrum AnalysePassiveRecord(DispersionAnalysis &analysis, const TraceSet &set);

#endif // VELA_APP_SPECTRUM_PASSIVEANALYSIS_H
