#include "app/spectrum/PassiveAnalysis.h"

#include "app/data/TraceSet.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QCoreApplication>

#include <algorithm>

PassiveSpectrum AnalysePassiveRecord(DispersionAnalysis &analysis, const TraceSet &set)
{
    PassiveSpectrum refused;
    if (!analysis.HandOverPassiveTraces(set)) {
        refused.message = QCoreApplication::translate(
            "PassiveAnalysis", "The traces cannot be windowed: check the time step and window");
        return refused;
    }
    const ShotRecord &rec = analysis.m_passive;
    const int used = std::min(rec.receiversUsed, rec.windowedTraces.GetCols());
    if (used < 2) {
        refused.message =
            QCoreApplication::translate("PassiveAnalysis", "Use at least two receivers");
        return refused;
    }
    CMatrix traces(rec.windowedTraces.GetRows(), used);
    for (int s = 0; s < traces.GetRows(); ++s)
        for (int j = 0; j < used; ++j)
            traces.SetRaw(s, j, rec.windowedTraces(s, j));

    PassiveParams params;
    params.timeStepMs = rec.timeStep;
    for (int j = 0; j < used; ++j)
        params.offsets.push_back(rec.receiverOffsets(j));
    if (analysis.m_bAnalysed) {
        params.activeAnalysed = true;
        const ShotRecord &active = analysis.m_active;
        if (active.frequencyAxis.GetCount() > 0) {
            params.activeFirstFrequency = active.frequencyAxis(0);
            params.activeLastFrequency = active.frequencyAxis(active.frequencyAxis.GetCount() - 1);
        }
        for (int i = 0; i < analysis.m_pickedVelocities.GetCount(); ++i)
            params.activeMaxVelocity =
                std::max(params.activeMaxVelocity, analysis.m_pickedVelocities(i));
    }
    PassiveSpectrum spectrum = ComputePassiveSpectrum(traces, params);
    if (spectrum.ok)
        analysis.HandOverPassiveSpectrum(spectrum.image, spectrum.frequencies, spectrum.velocities);
    return spectrum;
}
