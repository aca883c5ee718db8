// The forward computation: solver, eigenfunctions, integrals, apparent and effective curves.
#include "engine/ModalCurves.h"

#include "engine/ApparentEffective.h"
#include "engine/Eigenfunctions.h"
#include "engine/RayleighSolver.h"
#include "jobs/EngineProgress.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <new>
#include <vector>

namespace {

void Report(const ForwardReporter &reporter, EngineStep step)
{
    if (reporter.step)
        reporter.step(StepNumber(step));
}

void Tell(const ForwardReporter &reporter, const std::string &message)
{
    if (reporter.message)
        reporter.message(message);
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

bool AllFinite(const CMatrix &m, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(m(i)))
            return false;
    }
    return true;
}

} // namespace

std::string CheckForwardProfile(const CMatrix &thicknesses, const CMatrix &densities,
    const CMatrix &pVelocities, const CMatrix &sVelocities, const CMatrix &frequencies,
    const CMatrix &receiverOffsets, long modeCount)
{
    const int layers = sVelocities.GetCount();
    if (layers < 1 || layers > RayleighMaxLayers)
        return "The profile must have between 1 and 99 layers, half-space included";
    if (thicknesses.GetCount() < layers - 1 || densities.GetCount() < layers
        || pVelocities.GetCount() < layers)
        return "The thicknesses, densities and velocities of the profile do not match in number";
    if (!AllFinite(thicknesses, layers - 1) || !AllFinite(densities, layers)
        || !AllFinite(pVelocities, layers) || !AllFinite(sVelocities, layers))
        return "The profile holds a value that is not a finite number";
    for (int l = 0; l < layers; ++l) {
        if (sVelocities(l) <= 0.0)
            return "Every S velocity must be positive";
        if (pVelocities(l) <= sVelocities(l))
            return "Every P velocity must exceed the S velocity of its layer";
        if (densities(l) <= 0.0)
            return "Every density must be positive";
    }
    const int frequencyCount = frequencies.GetCount();
    if (frequencyCount < 1 || !AllFinite(frequencies, frequencyCount))
        return "The frequencies must be finite and at least one";
    // Rows come back in ascending order of frequency; any other order would pair the
    // curves with the wrong frequencies.
    for (int i = 1; i < frequencyCount; ++i) {
        if (frequencies(i) < frequencies(i - 1))
            return "The frequencies must be in ascending order";
    }
    if (modeCount < 1 || modeCount > RayleighMaxModes)
        return "The number of modes must be between 1 and 2000";
    if (receiverOffsets.GetCount() < 1 || !AllFinite(receiverOffsets, receiverOffsets.GetCount()))
        return "The receiver offsets must be finite and at least one";
    return std::string();
}

int CalcolaCurveModali(bool showMessages, const CMatrix &thicknesses, const CMatrix &densities,
    const CMatrix &pVelocities, const CMatrix &sVelocities, const CMatrix &frequencies,
    const CMatrix &receiverOffsets, double horizontalForce1, double horizontalForce2,
    double verticalForce, double azimuth, double firstDepth, double secondDepth, long modeCount,
    float refinement, CMatrix *modalVelocities, CMatrix *depthGrid,
    CComplexMatrix *apparentVelocities, CComplexMatrix *apparentSensitivities,
    CComplexMatrix *effectiveVelocities, bool computeEffective, const ForwardReporter &reporter)
{
    const std::string problem = CheckForwardProfile(
        thicknesses, densities, pVelocities, sVelocities, frequencies, receiverOffsets, modeCount);
    if (!problem.empty() || !modalVelocities || !depthGrid || !apparentVelocities
        || !effectiveVelocities) {
        if (showMessages)
            Tell(reporter, problem.empty() ? "Missing output of the forward computation" : problem);
        return ForwardComputationFailed;
    }

    try {
        const int layers = sVelocities.GetCount();
        const int frequencyCount = frequencies.GetCount();
        const int modes = static_cast<int>(modeCount);

        // The solver works in km, km/s and single precision.
        std::vector<float> thicknessKm(static_cast<std::size_t>(std::max(1, layers - 1)), 0.0f);
        std::vector<float> vpKmS(static_cast<std::size_t>(layers));
        std::vector<float> vsKmS(static_cast<std::size_t>(layers));
        std::vector<float> density(static_cast<std::size_t>(layers));
        std::vector<float> frequencyHz(static_cast<std::size_t>(frequencyCount));
        for (int l = 0; l < layers; ++l) {
            const auto u = static_cast<std::size_t>(l);
            if (l < layers - 1)
                thicknessKm[u] = static_cast<float>(thicknesses(l) * 0.001);
            vpKmS[u] = static_cast<float>(pVelocities(l) * 0.001);
            vsKmS[u] = static_cast<float>(sVelocities(l) * 0.001);
            density[u] = static_cast<float>(densities(l));
        }
        for (int i = 0; i < frequencyCount; ++i)
            frequencyHz[static_cast<std::size_t>(i)] = static_cast<float>(frequencies(i));
        const float layerCount = static_cast<float>(layers);

        CMatrix velocities(frequencyCount, modes);
        *modalVelocities = velocities;
        Report(reporter, EngineStep::BeforeSolver);
        SolveRayleighModes(thicknessKm.data(), vpKmS.data(), vsKmS.data(), density.data(),
            &layerCount, &frequencyCount, &modes, &refinement, frequencyHz.data(),
            velocities.GetWritableData());
        velocities *= 1000.0;
        velocities.ReverseColumns();
        *modalVelocities = velocities;

        for (int i = 0; i < frequencyCount; ++i) {
            if (velocities(i, 0) == 0.0) {
                if (showMessages)
                    Tell(reporter, ModesNotFoundMessage);
                return ForwardComputationFailed;
            }
        }

        Report(reporter, EngineStep::BeforeEigenfunctions);
        CMatrix grid;
        EigenfunctionSet eigenfunctions;
        CalcolaAutofunzioni(frequencies, velocities, thicknesses, densities, sVelocities,
            pVelocities, verticalForce, grid, eigenfunctions);

        Report(reporter, EngineStep::BeforeIntegrals);
        ModalIntegrals integrals;
        CalcolaIntegraliModali(frequencies, velocities, grid, eigenfunctions, thicknesses,
            densities, sVelocities, pVelocities, integrals);

        Report(reporter, EngineStep::BeforeApparentCurve);
        CComplexMatrix apparent;
        CurvaApparente(frequencies, velocities, integrals, grid, eigenfunctions, layers,
            receiverOffsets, firstDepth, secondDepth, apparent, apparentSensitivities);

        CComplexMatrix effective(frequencyCount, 1);
        if (computeEffective) {
            Report(reporter, EngineStep::BeforeEffectiveCurve);
            CurvaEffettiva(frequencies, velocities, integrals, eigenfunctions, receiverOffsets,
                horizontalForce1, horizontalForce2, verticalForce, azimuth, effective);
        }
        *depthGrid = grid;
        *apparentVelocities = apparent;
        *effectiveVelocities = effective;
        return 0;
    } catch (const std::exception &) {
        // Matrix errors (and an allocation failure) mean no valid forward model.
        return ForwardComputationFailed;
    }
}
