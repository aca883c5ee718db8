// VelamodCode: the one class the velamod shared library exports. The host (runner)
// creates it, hands it the addresses of its result and control variables, runs one
// identification and destroys it.
#ifndef VELA_ENGINE_VELAMODCODE_H
#define VELA_ENGINE_VELAMODCODE_H

#include "engine/VelamodExport.h"
#include "jobs/EngineProgress.h"

#include <cstdint>

class CMatrix;
class CComplexMatrix;

// Glossary of the engine's Italian vocabulary
//
//   Calcola...                        compute...
//   Errore (CalcolaErrore)            MISFIT between computed and experimental curves;
//                                     it is not a failure (failures are return codes)
//   Identificazione Manuale           forward evaluation of one given profile
//   Identificazione Automatica        automatic inversion of the Vs profile
//   Curve Modali                      modal dispersion curves
//   Curva Apparente / Effettiva       apparent / effective dispersion curve
//   Autofunzioni, Integrali Modali    eigenfunctions, energy integrals
//   Curva di Dispersione              (experimental) dispersion curve
//   Profilo Iniziale                  initial ground profile (layer table)
//   Risposta Sperimentale             the recorded experimental data
//   Risultati                         results
//   Segnala Step / Fine               notify a stage / the end of a run
//
// Contract of the exported operations
//
//   Every operation runs on the caller's thread and lets no exception escape: a
//   std::exception or anything else thrown inside is caught at the operation's edge.
//
//   Operation                   Result
//   SetPointer                  none
//   IdentificazioneManuale      0 success; ForwardFailed (-1) the forward computation
//                               failed (both misfit variables then hold NoMisfit);
//                               InternalError (-3) an exception was caught (misfits NoMisfit)
//   IdentificazioneAutomatica   0 finished (end reasons 0, 1, 4); SearchStopped (-1) the
//                               stop flag was raised; LastTrialFailed (-2) the forward
//                               computation failed on the last trial (end reason 3; the
//                               best model found is still written to the final and the
//                               current S velocities, without final curves);
//                               InternalError (-3) an exception was caught (for example a
//                               singular normal matrix or mismatched sizes);
//                               NoFinalModel (-4) no forward computation of the current
//                               model completed, so there is no final model (end reason 5);
//                               FinalCurvesMissing (-5) the final forward computations of
//                               the best model failed: the model is written, its curves are
//                               missing (after the end notification of reason 0, 1 or 4)
//   CalcolaErrore               not a code: the misfit, a relative RMS difference >= 0,
//                               or NoMisfit (1e99) when no valid misfit exists
//   SegnalaStep, SegnalaFine    none; a failing channel silently stops notifications
//
//   Misfit variables hold NoMisfit (1e99) whenever no valid misfit exists.

/// The modelling engine as seen by its host.
///
/// Calling order: construct; SetPointer; any number of IdentificazioneManuale or
/// IdentificazioneAutomatica runs; destroy. The object owns none of the variables whose
/// addresses it holds: they belong to the host and must outlive the object's last call.
/// CalcolaErrore uses no field and may be called at any time.
class VELAMOD_EXPORT VelamodCode
{
public:
    /// Result codes of the identifications.
    static constexpr int Success = 0;
    static constexpr int ForwardFailed = -1; ///< manual run: no valid forward model
    static constexpr int SearchStopped = -1; ///< automatic run: stop flag raised
    static constexpr int LastTrialFailed = -2; ///< automatic run: last trial had no model
    static constexpr int InternalError = -3; ///< an exception was caught at the boundary
    static constexpr int NoFinalModel = -4; ///< automatic run: no model completed, none final
    static constexpr int FinalCurvesMissing = -5; ///< automatic run: model kept, curves failed
    /// The misfit value that means "no valid misfit".
    static constexpr double NoMisfit = 1e99;

    VelamodCode();
    ~VelamodCode();
    VelamodCode(const VelamodCode &) = delete;
    VelamodCode &operator=(const VelamodCode &) = delete;

    /// Stores the host's variables; must be the first call after construction.
    /// \param stopFlag        read by the automatic search; true asks it to stop
    /// \param spareCounterA   stored, never read
    /// \param secondMisfit    written: misfit of the effective curve (manual run) or of the
    ///                        mean apparent curve (end of the automatic run)
    /// \param firstMisfit     written: misfit of the mean apparent curve (manual run) or of
    ///                        the effective curve (end of the automatic run)
    /// \param currentMisfit   written by the automatic search: misfit of the model at the
    ///                        start of each iteration, then the best misfit reached
    /// \param targetMisfit    read: the automatic search stops when it is reached
    /// \param spareCounterB   stored, never read
    /// \param spareMatrixA    stored, never read
    /// \param spareMatrixB    stored, never read
    /// \param window          notification channel (socket descriptor), or
    ///                        NoNotificationWindow to print the notifications instead
    void SetPointer(bool *stopFlag, int *spareCounterA, double *secondMisfit, double *firstMisfit,
        double *currentMisfit, double *targetMisfit, int *spareCounterB, CMatrix *spareMatrixA,
        CMatrix *spareMatrixB, NotificationWindow window);

    /// Trial-and-error run: forward computation of one profile and its two misfits.
    /// Units: frequencies Hz (F x 1, ascending), velocities m/s, thicknesses and offsets
    /// and depths m, densities as entered in the job (g/cm^3 ~ kg/m^3 / 1000).
    /// \param frequencies            F x 1, Hz
    /// \param experimentalCurve      F values, m/s
    /// \param standardDeviations     F values (not used)
    /// \param thicknesses            L x 1, m
    /// \param densities              N x 1
    /// \param shearVelocities        N x 1, m/s, half-space last
    /// \param poissonRatios          N x 1
    /// \param modeCount              modes to compute
    /// \param refinement             refinement factor of the dispersion solver (< 1: 5)
    /// \param receiverOffsets        X x 1, m
    /// \param firstDepth             m
    /// \param secondDepth            m
    /// \param modelShearVelocities   out: the S velocities used
    /// \param effectiveCurve         out: F x 1 effective phase velocities, m/s
    /// \param meanApparentCurve      out: 1 x F apparent velocity averaged over the offsets
    /// \param modalVelocities        out: F x M, m/s, 0 where a mode does not exist
    /// \param apparentSensitivities  in/out: at least N matrices, filled by the run
    /// \param frequenciesUsed        out: a copy of frequencies
    /// \return Success, ForwardFailed or InternalError (see the contract above)
    int IdentificazioneManuale(const CMatrix &frequencies, const CMatrix &experimentalCurve,
        const CMatrix &standardDeviations, const CMatrix &thicknesses, const CMatrix &densities,
        const CMatrix &shearVelocities, const CMatrix &poissonRatios, long modeCount,
        float refinement, const CMatrix &receiverOffsets, double firstDepth, double secondDepth,
        CMatrix &modelShearVelocities, CComplexMatrix &effectiveCurve,
        CComplexMatrix &meanApparentCurve, CMatrix &modalVelocities,
        CComplexMatrix *apparentSensitivities, CMatrix &frequenciesUsed);

    /// Automatic search of the S-velocity profile (damped least squares over the layer
    /// velocities; thicknesses, densities and Poisson's ratios stay fixed).
    /// \param iterationsRequested    most iterations to run
    /// \param frequencies            F x 1, Hz, ascending
    /// \param experimentalCurve      F values, m/s
    /// \param standardDeviations     F values, m/s (data weights are their reciprocals)
    /// \param thicknesses            L x 1, m
    /// \param densities              N x 1
    /// \param shearVelocities        in: starting profile (N x 1, m/s); out: final model
    /// \param poissonRatios          N x 1
    /// \param modeCount              modes to compute
    /// \param strongContrasts        true keeps isolated velocity spikes
    /// \param refinement             refinement factor of the dispersion solver
    /// \param receiverOffsets        X x 1, m
    /// \param firstDepth             m
    /// \param secondDepth            m
    /// \param lowerBounds            N values, m/s
    /// \param upperBounds            N values, m/s
    /// \param finalShearVelocities   out: the best model
    /// \param effectiveCurve         out: the best model's effective curve (dense grid)
    /// \param meanApparentCurve      out: the best model's mean apparent curve (dense grid)
    /// \param modalVelocities        out: modal velocities of the dense grid
    /// \param apparentSensitivities  at least N matrices, filled by every forward run
    /// \param denseFrequencies       out: the dense frequency grid, Hz
    /// \return Success, SearchStopped, LastTrialFailed, InternalError, NoFinalModel or
    ///         FinalCurvesMissing (see the contract above)
    int IdentificazioneAutomatica(int iterationsRequested, const CMatrix &frequencies,
        const CMatrix &experimentalCurve, const CMatrix &standardDeviations,
        const CMatrix &thicknesses, const CMatrix &densities, CMatrix &shearVelocities,
        const CMatrix &poissonRatios, long modeCount, bool strongContrasts, float refinement,
        const CMatrix &receiverOffsets, double firstDepth, double secondDepth,
        const CMatrix &lowerBounds, const CMatrix &upperBounds, CMatrix &finalShearVelocities,
        CComplexMatrix &effectiveCurve, CComplexMatrix &meanApparentCurve, CMatrix &modalVelocities,
        CComplexMatrix *apparentSensitivities, CMatrix &denseFrequencies);

    /// Misfit of a complex theoretical curve (its modulus is compared) against the
    /// experimental curve, over the frequencies where the theoretical value lies within
    /// 0.9 x the slowest and 1.1 x the fastest modal velocity of that frequency.
    /// \param theoreticalCurve    F values in linear element order, m/s
    /// \param experimentalCurve   at least F values, m/s
    /// \param modalVelocities     F rows, one column per mode, m/s (0 = no mode)
    /// \return relative RMS difference, or NoMisfit when no frequency is accepted
    double CalcolaErrore(const CComplexMatrix &theoreticalCurve, const CMatrix &experimentalCurve,
        const CMatrix &modalVelocities) const;
    /// The same for a real theoretical curve (its absolute value is compared).
    double CalcolaErrore(const CMatrix &theoreticalCurve, const CMatrix &experimentalCurve,
        const CMatrix &modalVelocities) const;

    /// Step notification: fills the progress record from the current state and sends it
    /// to the notification window, or prints "SegnalaStep %d\n" when there is none.
    /// The forward computation reports its stages through this.
    void SegnalaStep(int stepNumber, int stepValue);
    /// End notification of the automatic search ("SegnalaFine %d \n" without a window).
    void SegnalaFine(int endReason);

private:
    // Fills the record (kind and the variables' current values) and delivers it.
    void Notify(std::int32_t kind);

    // The fields below keep the engine's historical order.
    CopyDataHeader m_copyDataHeader {};
    std::int32_t m_iterationCounter = 0;
    std::int32_t m_trialCounter = 0;
    EngineProgress m_progress {};
    NotificationWindow m_window = NoNotificationWindow;
    bool *m_stopFlag = nullptr;
    double *m_secondMisfit = nullptr;
    double m_latestTrialMisfit = 0.0;
    int *m_spareCounterA = nullptr;
    int *m_spareCounterB = nullptr;
    double *m_firstMisfit = nullptr;
    double *m_currentMisfit = nullptr;
    double *m_targetMisfit = nullptr;
    std::int32_t m_iterationsRequested = 0;
    CMatrix *m_spareMatrixA = nullptr;
    CMatrix *m_spareMatrixB = nullptr;
    // Set once the peer has closed the channel: later notifications are dropped.
    bool m_channelClosed = false;
};

namespace velamod {

/// Sends one notification on the socket `channel`: the header (1, 80, 0), then the
/// record, then blocks until the peer answers with one byte.
/// Returns false when the peer has closed its end or the channel fails in any other
/// way; the caller should then stop notifying. Never raises SIGPIPE or throws.
bool SendProgressNotification(NotificationWindow channel, const EngineProgress &record);

} // namespace velamod

#endif // VELA_ENGINE_VELAMODCODE_H
