// VelamodCode::IdentificazioneAutomatica: the automatic search run on the engine's own
// forward computation, misfit and progress notifications.
#include "engine/AutomaticSearch.h"
#include "engine/ModalCurves.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <exception>

namespace {

// The search compares modal velocities only; the source force matters for the effective
// curve alone, so it takes the unit vertical force and zero azimuth of the manual run, and
// both runs draw the same effective curve for the same profile.
constexpr double SearchHorizontalForce = 0.0;
constexpr double SearchVerticalForce = 1.0;
constexpr double SearchAzimuth = 0.0;

} // namespace

int VelamodCode::IdentificazioneAutomatica(int iterationsRequested, const CMatrix &frequencies,
    const CMatrix &experimentalCurve, const CMatrix &standardDeviations, const CMatrix &thicknesses,
    const CMatrix &densities, CMatrix &shearVelocities, const CMatrix &poissonRatios,
    long modeCount, bool strongContrasts, float refinement, const CMatrix &receiverOffsets,
    double firstDepth, double secondDepth, const CMatrix &lowerBounds, const CMatrix &upperBounds,
    CMatrix &finalShearVelocities, CComplexMatrix &effectiveCurve,
    CComplexMatrix &meanApparentCurve, CMatrix &modalVelocities,
    CComplexMatrix *apparentSensitivities, CMatrix &denseFrequencies)
{
    try {
        ForwardReporter reporter;
        reporter.step = [this](int stepNumber) { SegnalaStep(stepNumber, 0); };

        SearchHost host;
        host.iterationCounter = &m_iterationCounter;
        host.trialCounter = &m_trialCounter;
        host.iterationsRequested = &m_iterationsRequested;
        host.latestTrialMisfit = &m_latestTrialMisfit;
        host.stopFlag = m_stopFlag;
        host.firstMisfit = m_firstMisfit;
        host.secondMisfit = m_secondMisfit;
        host.currentMisfit = m_currentMisfit;
        host.targetMisfit = m_targetMisfit;
        host.step = [this](int stepNumber, int stepValue) { SegnalaStep(stepNumber, stepValue); };
        host.end = [this](int endReason) { SegnalaFine(endReason); };
        host.forward = [&](const CMatrix &vp, const CMatrix &vs, const CMatrix &f,
                           bool computeEffective, CMatrix &modal, CComplexMatrix &apparent,
                           CComplexMatrix *sensitivities, CComplexMatrix &effective) {
            CMatrix depthGrid;
            return CalcolaCurveModali(false, thicknesses, densities, vp, vs, f, receiverOffsets,
                SearchHorizontalForce, SearchHorizontalForce, SearchVerticalForce, SearchAzimuth,
                firstDepth, secondDepth, modeCount, refinement, &modal, &depthGrid, &apparent,
                sensitivities, &effective, computeEffective, reporter);
        };
        host.complexMisfit = [this](const CComplexMatrix &curve, const CMatrix &experimental,
                                 const CMatrix &modal) {
            return CalcolaErrore(curve, experimental, modal);
        };
        host.realMisfit = [this](const CMatrix &curve, const CMatrix &experimental,
                              const CMatrix &modal) {
            return CalcolaErrore(curve, experimental, modal);
        };

        const SearchArguments args { iterationsRequested, frequencies, experimentalCurve,
            standardDeviations, densities, shearVelocities, poissonRatios, strongContrasts,
            lowerBounds, upperBounds, finalShearVelocities, effectiveCurve, meanApparentCurve,
            modalVelocities, apparentSensitivities, denseFrequencies };
        return RunAutomaticSearch(args, host);
    } catch (const std::exception &) {
    } catch (...) {
    }
    // A singular normal matrix or inputs of mismatched sizes: the run is over all the same,
    // and the host's dialog waits for the last notification.
    SegnalaStep(StepNumber(EngineStep::RunEnd), 0);
    return InternalError;
}
