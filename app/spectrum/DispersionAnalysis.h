// The one analysis object of the application: what each page hands on to the next.
#ifndef VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H
#define VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H

#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <QString>

#include <vector>

class CMatrixArchive;
struct TraceSet;

/// One acquisition as the analysis keeps it, fields in the order the document stores them.
/// The active record's windowed traces are time size x spatialSize (256) columns; the passive
/// record's have one column per trace.
struct ShotRecord
{
    QString fileName;
    double timeStep = 0.0; ///< [ms]
    int traceCount = 0;
    int firstReceiver = 0; ///< 0-based
    int lastReceiver = 0; ///< 0-based
    int windowSampleCount = 0;
    int spatialSize = 256; ///< columns of the f-k transform
    int receiversUsed = 0; ///< lastReceiver - firstReceiver + 1
    int timeSize = 0; ///< rows of the transform, a power of two
    double receiversDepth = 0.0; ///< [m]
    double sourceDepth = 0.0; ///< [m]
    double reserved = 0.0; ///< always 0
    double recordLength = 0.0; ///< (samples - 1) x time step [ms]
    bool reversed = false;
    int spare = 0; ///< not set by the hand-over; kept with the document
    int firstWindowSample = 0;
    int windowEndCount = 0; ///< timeSize - firstWindowSample + 1
    CMatrix timeAxis { 0, 1 }; ///< timeSize x 1 [ms]
    CMatrix windowedTraces { 0, 0 }; ///< timeSize x columns
    CMatrix receiverOffsets { 0, 1 }; ///< receiversUsed x 1 [m]
    CMatrix spectrum { 0, 0 }; ///< (timeSize / 2) x 256, f-k amplitude
    CMatrix frequencyAxis { 0, 1 }; ///< (timeSize / 2) x 1 [Hz]
    CMatrix wavenumberAxis { 0, 1 }; ///< 256 x 1 [rad/m]
    double receiverSpacing = 0.0; ///< [m]

    /// Writes / reads the fields in order: file name as a text line, the numbers as int32 and
    /// float64 values (bools as int32), the six matrices, the receiver spacing. Load throws the
    /// archive's or the matrix's exception on a short or corrupt stream.
    void Store(CMatrixArchive &ar) const;
    void Load(CMatrixArchive &ar);
};

/// The experimental dispersion curve the curve page hands on: five column vectors of equal
/// length sorted by increasing frequency.
struct ExperimentalCurve
{
    CMatrix frequencies { 0, 1 }; ///< [Hz]
    CMatrix velocities { 0, 1 }; ///< phase velocity [m/s]
    CMatrix standardDeviations { 0, 1 }; ///< (maximum - minimum) / 6 [m/s]
    CMatrix maxVelocities { 0, 1 }; ///< upper bound [m/s]
    CMatrix minVelocities { 0, 1 }; ///< lower bound [m/s]

    int PointCount() const { return frequencies.GetRows(); }
};

/// One layer of the ground profile as the profile page collected it: each field's text as typed
/// in the table and, where it has one, its value. The half-space is the last layer.
struct LayerRecord
{
    QString number;
    QString thicknessText;
    double thickness = 0.0; ///< [m], 0 for the half-space
    QString depthText;
    double depth = 0.0; ///< depth of the layer's bottom [m], negative below the surface
    QString densityText;
    double density = 0.0; ///< [kg/m^3]
    QString description;
    QString waterTableText;
    bool waterTable = false;
    QString poissonText;
    double poisson = 0.0;
    QString vsText;
    double vs = 0.0; ///< [m/s]
    QString vsFixedText;
    bool vsFixed = false;
    QString vsMinText;
    double vsMin = 0.0; ///< [m/s]
    QString vsMaxText;
    double vsMax = 0.0; ///< [m/s]
    QString alluvialText;
    bool alluvial = false;
    QString finalVsText;
    double finalVs = 0.0; ///< [m/s], the result of the last run (Vs while none)
};

/// The ground profile and the run parameters of the profile page.
struct GroundProfile
{
    std::vector<LayerRecord> layers; ///< the half-space last; its count is N
    double receiverSpacing = 1.0; ///< [m]
    double receiversDepth = 0.0; ///< [m]
    int receiverCount = 20;
    int modeCount = 1;
    int solverParameter = 75;
    int iterationCount = 1;
    bool strongContrasts = false;
    double targetMisfit = 0.2; ///< the maximum error as a fraction

    int LayerCount() const { return static_cast<int>(layers.size()); }
};

/// Results of the last engine run (misfits are fractions; NoRunMisfit means none).
struct ProfileRunResults
{
    static constexpr double NoRunMisfit = 1e99;

    double apparentMisfit = NoRunMisfit;
    double effectiveMisfit = NoRunMisfit;
    CMatrix finalVs { 0, 1 }; ///< N x 1 [m/s]
    CComplexMatrix apparentCurve { 0, 1 }; ///< one value per frequency
    CComplexMatrix effectiveCurve { 0, 1 };
    CMatrix modalVelocities { 0, 0 }; ///< frequencies x modes [m/s], 0 = no mode
    CMatrix frequencies { 0, 1 }; ///< [Hz]
    CMatrix receiverOffsets { 0, 1 }; ///< [m]
    /// After a search from many starts: the 10 % and 90 % points of Vs30 over the models that
    /// fit the data [m/s] and the depth of investigation [m]; all 0 otherwise.
    double vs30P10 = 0;
    double vs30P90 = 0;
    double depthOfInvestigation = 0;
};

/// What the automatic search's notifications last reported (the two misfits, offsets 8 and 40,
/// go to ProfileRunResults), and its two flags.
struct SearchProgress
{
    double currentMisfit = 0.0; ///< offset 48
    double latestTrialMisfit = 0.0; ///< offset 72
    double bestMisfit = -1.0; ///< -1 until the first positive trial misfit
    int iterationCounter = 0; ///< offset 16
    int iterationsRequested = 0; ///< offset 36
    int trialCounter = 0; ///< offset 32
    bool stopFlag = false;
    bool jobFinished = false;
};

/// The analysis shared by the pages: the active record (spectrum and picked curve), the
/// passive record, and the experimental curve of the curve page.
class DispersionAnalysis
{
public:
    DispersionAnalysis() = default;

    /// Fills the active record from the trace set of the active page and prepares the windowed
    /// traces (first window sample, power-of-two time size, offsets). A window longer than the
    /// record plus one sample counts as that long. Returns false and leaves the record
    /// unprepared when the set cannot be windowed (no traces, time step not positive, empty
    /// window).
    bool HandOverActiveTraces(const TraceSet &set);

    /// The same for the passive record; its windowed traces keep one column per trace.
    bool HandOverPassiveTraces(const TraceSet &set);

    /// Stores the results of the passive spectrum computation and sets the passive prepared flag.
    void HandOverPassiveSpectrum(
        const CMatrix &image, const CMatrix &frequencyAxis, const CMatrix &velocityAxis);

    /// Keeps the checked table of the curve page as the experimental curve: sorted by
    /// increasing frequency, each point with its own standard deviation (max - min) / 6. The
    /// four columns must have equal length.
    void HandOverCurve(const CMatrix &frequencies, const CMatrix &velocities,
        const CMatrix &maxVelocities, const CMatrix &minVelocities);

    // Active acquisition.
    ShotRecord m_active;
    /// Set when the inputs have been handed over.
    bool m_bPrepared = false;
    /// The curve picked on the spectrum, as the spectrum page's curve export writes it.
    CMatrix m_pickedFrequencies { 0, 1 }; ///< [Hz]
    CMatrix m_pickedVelocities { 0, 1 }; ///< [m/s]
    /// Bounds of the picked points when the pick gives them (the guided pick of the phase-shift
    /// image); empty otherwise, and the curve page then proposes its own [m/s].
    CMatrix m_pickedLower { 0, 1 };
    CMatrix m_pickedUpper { 0, 1 };
    /// Distance from the source to the first receiver of the line [m], as the data page hands
    /// it on; negative for one receiver spacing.
    double m_activeSourceOffset = -1.0;
    /// Set when the spectrum has been computed; the report then includes the data chapters.
    bool m_bAnalysed = false;

    // Passive acquisition.
    ShotRecord m_passive;
    CMatrix m_passiveImage { 0, 0 }; ///< normalised slowness-frequency image
    CMatrix m_passiveFrequencyAxis { 0, 1 }; ///< [Hz]
    CMatrix m_passiveVelocityAxis { 0, 1 }; ///< [m/s]
    bool m_bPassivePrepared = false;

    // Experimental curve of the curve page, used by the profile and later steps.
    ExperimentalCurve m_curve;

    // Ground profile page: the profile and run parameters, the last run's results and the
    // automatic search's progress.
    GroundProfile m_profile;
    ProfileRunResults m_results;
    SearchProgress m_search;
};

/// Steps of the preparation shared by both records: the time size for a window of
/// windowSamples samples is the next power of two not below it (1000 -> 1024, 1024 -> 1024,
/// 1025 -> 2048); 0 for a window of no samples.
int SpectrumTimeSize(int windowSamples);

#endif // VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H
