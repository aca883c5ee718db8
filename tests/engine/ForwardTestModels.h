// Layered profiles and small helpers shared by the tests of the forward computation.
#ifndef VELA_TESTS_ENGINE_FORWARDTESTMODELS_H
#define VELA_TESTS_ENGINE_FORWARDTESTMODELS_H

#include "engine/ApparentEffective.h"
#include "engine/Eigenfunctions.h"
#include "engine/ModalCurves.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <string>
#include <vector>

namespace forwardtest {

/// A layered profile in m, m/s and g/cm^3, half-space last.
struct Profile
{
    std::string name;
    std::vector<double> thickness; // L values
    std::vector<double> vs, vp, density; // N values

    CMatrix Thicknesses() const
    {
        CMatrix m(static_cast<int>(thickness.size()), 1);
        for (std::size_t i = 0; i < thickness.size(); ++i)
            m.Set(static_cast<int>(i), thickness[i]);
        return m;
    }
    CMatrix Vs() const { return CMatrix::Column(vs); }
    CMatrix Vp() const { return CMatrix::Column(vp); }
    CMatrix Density() const { return CMatrix::Column(density); }
    int Layers() const { return static_cast<int>(vs.size()); }
};

/// Homogeneous half-space with Poisson's ratio 0.25 (Vp = sqrt(3) Vs).
inline Profile HalfSpace()
{
    return { "HalfSpace", {}, { 200.0 }, { 346.41016151377545 }, { 1.8 } };
}

/// A soft layer over a stiff half-space.
inline Profile LayerOverHalfSpace()
{
    return { "LayerOverHalfSpace", { 5.0 }, { 150.0, 400.0 }, { 300.0, 800.0 }, { 1.8, 2.0 } };
}

/// Velocity increasing with depth in four layers.
inline Profile Increasing()
{
    return { "Increasing", { 2.0, 4.0, 6.0 }, { 120.0, 200.0, 300.0, 500.0 },
        { 250.0, 400.0, 600.0, 1000.0 }, { 1.7, 1.8, 1.9, 2.0 } };
}

/// A stiff crust over a soft layer: the fundamental mode is faster than the soft layer's S
/// velocity at low frequency, so waves propagate (imaginary vertical wavenumbers) there.
inline Profile Reversal()
{
    return { "Reversal", { 3.0, 5.0 }, { 250.0, 150.0, 400.0 }, { 500.0, 320.0, 750.0 },
        { 1.9, 1.7, 2.0 } };
}

/// Modal velocities (F x modes, m/s) of a profile from the forward computation.
inline CMatrix ModalVelocities(const Profile &p, const CMatrix &frequencies, long modes)
{
    CMatrix velocities, grid;
    CComplexMatrix apparent, effective;
    std::vector<CComplexMatrix> sensitivities(static_cast<std::size_t>(p.Layers()));
    const int result = CalcolaCurveModali(false, p.Thicknesses(), p.Density(), p.Vp(), p.Vs(),
        frequencies, CMatrix::Column({ 1.0 }), 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, modes, 5.0f,
        &velocities, &grid, &apparent, sensitivities.data(), &effective, false);
    return result == 0 ? velocities : CMatrix(frequencies.GetCount(), static_cast<int>(modes));
}

/// Eigenfunctions and integrals of a profile at the given modal velocities.
struct Stages
{
    CMatrix grid;
    EigenfunctionSet eigenfunctions;
    ModalIntegrals integrals;
};

inline Stages RunStages(const Profile &p, const CMatrix &frequencies, const CMatrix &velocities)
{
    Stages s;
    CalcolaAutofunzioni(frequencies, velocities, p.Thicknesses(), p.Density(), p.Vs(), p.Vp(), 1.0,
        s.grid, s.eigenfunctions);
    CalcolaIntegraliModali(frequencies, velocities, s.grid, s.eigenfunctions, p.Thicknesses(),
        p.Density(), p.Vs(), p.Vp(), s.integrals);
    return s;
}

} // namespace forwardtest

#endif // VELA_TESTS_ENGINE_FORWARDTESTMODELS_H
