// Trial-and-error run of the engine: the forward computation of one profile and the misfits
// of its mean apparent and effective curves.
#include "engine/ModalCurves.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// Vp = Vs sqrt((2 - 2 nu) / (1 - 2 nu)), element by element in the shape of vs. Returns false
// for a Poisson's ratio outside (-1, 0.5), where no elastic solid exists (0.5 would divide by
// zero).
bool PVelocitiesFromPoisson(const CMatrix &vs, const CMatrix &nu, CMatrix &vp)
{
    if (nu.GetCount() < vs.GetCount())
        return false;
    vp = CMatrix(vs.GetRows(), vs.GetCols());
    for (int i = 0; i < vs.GetCount(); ++i) {
        const double ratio = nu(i);
        if (!(ratio > -1.0 && ratio < 0.5))
            return false;
        vp.SetRaw(i, vs(i) * std::sqrt((2.0 - 2.0 * ratio) / (1.0 - 2.0 * ratio)));
    }
    return true;
}

// The apparent velocities (F x X) averaged over the offsets: a 1 x F row.
CComplexMatrix MeanOverOffsets(const CComplexMatrix &apparent)
{
    if (apparent.GetCols() == 1) {
        // One offset: the curve itself. (The column mean of a 1 x F row would collapse it to
        // a single number.)
        return apparent.Transposed();
    }
    return apparent.Transposed().Mean();
}

} // namespace

int VelamodCode::IdentificazioneManuale(const CMatrix &frequencies,
    const CMatrix &experimentalCurve, const CMatrix &standardDeviations, const CMatrix &thicknesses,
    const CMatrix &densities, const CMatrix &shearVelocities, const CMatrix &poissonRatios,
    long modeCount, float refinement, const CMatrix &receiverOffsets, double firstDepth,
    double secondDepth, CMatrix &modelShearVelocities, CComplexMatrix &effectiveCurve,
    CComplexMatrix &meanApparentCurve, CMatrix &modalVelocities,
    CComplexMatrix *apparentSensitivities, CMatrix &frequenciesUsed)
{
    auto fail = [&](int code) {
        try {
            const int count = frequencies.GetRows();
            meanApparentCurve = CComplexMatrix(count, 1);
            effectiveCurve = CComplexMatrix(count, 1);
            modelShearVelocities = shearVelocities;
        } catch (...) {
            // Out of memory while clearing: the misfits below still say there is no result.
        }
        if (m_firstMisfit)
            *m_firstMisfit = NoMisfit;
        if (m_secondMisfit)
            *m_secondMisfit = NoMisfit;
        return code;
    };

    try {
        frequencies.DiagnosticDump("freq_.m", "freq");
        experimentalCurve.DiagnosticDump("sp_.m", "sp");
        standardDeviations.DiagnosticDump("sigma_.m", "sigma");
        thicknesses.DiagnosticDump("spessori_.m", "spessori");
        densities.DiagnosticDump("densita_.m", "densita");
        shearVelocities.DiagnosticDump("vs_.m", "vs");
        poissonRatios.DiagnosticDump("nu_.m", " nu");

        frequenciesUsed = frequencies;
        CMatrix pVelocities;
        if (!PVelocitiesFromPoisson(shearVelocities, poissonRatios, pVelocities)) {
            std::fprintf(stderr, "Every Poisson's ratio must lie between -1 and 0.5\n");
            return fail(ForwardFailed);
        }

        // The host must pass at least N sensitivity matrices; without any, the run still
        // computes them into a private array.
        std::vector<CComplexMatrix> privateSensitivities;
        if (!apparentSensitivities) {
            privateSensitivities.resize(static_cast<std::size_t>(shearVelocities.GetCount()));
            apparentSensitivities = privateSensitivities.data();
        }

        ForwardReporter reporter;
        reporter.step = [this](int step) { SegnalaStep(step, 0); };
        CMatrix depthGrid;
        CComplexMatrix apparent;
        CComplexMatrix effective;
        const int result = CalcolaCurveModali(true, thicknesses, densities, pVelocities,
            shearVelocities, frequencies, receiverOffsets, 0.0, 0.0, 1.0, 0.0, firstDepth,
            secondDepth, modeCount, refinement, &modalVelocities, &depthGrid, &apparent,
            apparentSensitivities, &effective, true, reporter);
        if (result != 0)
            return fail(result);

        meanApparentCurve = MeanOverOffsets(apparent);
        const double apparentMisfit =
            CalcolaErrore(meanApparentCurve, experimentalCurve, modalVelocities);
        if (m_firstMisfit)
            *m_firstMisfit = apparentMisfit;
        modelShearVelocities = shearVelocities;
        effectiveCurve = effective;
        const double effectiveMisfit =
            CalcolaErrore(effectiveCurve, experimentalCurve, modalVelocities);
        if (m_secondMisfit)
            *m_secondMisfit = effectiveMisfit;
        return Success;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "IdentificazioneManuale: %s\n", error.what());
        return fail(InternalError);
    } catch (...) {
        return fail(InternalError);
    }
}
