// The engine job and result files that VELA writes and runner reads (and back): plain
// structs and their one binary codec over the little-endian matrix archive. Qt-free.
#ifndef VELA_JOBS_ENGINEJOBFILES_H
#define VELA_JOBS_ENGINEJOBFILES_H

#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <cstdint>
#include <string>

class CMatrixArchive;

/// Forward job (runner mode 0): the inputs of the manual identification, in file order.
/// All vectors are n x 1 columns. N = layers including the half-space.
struct ForwardJob
{
    CMatrix frequencies; ///< F, Hz, ascending
    CMatrix velocities; ///< F, experimental phase velocities, m/s
    CMatrix deviations; ///< F, standard deviations of the experimental points, m/s
    CMatrix thickness; ///< N - 1, m
    CMatrix density; ///< N, kg/m^3 x 0.001
    CMatrix vs; ///< N, m/s
    CMatrix poisson; ///< N
    int32_t modes = 1; ///< number of modes
    float solverParameter = 75; ///< the profile page's solver parameter (runner divides by 15)
    CMatrix offsets; ///< X, receiver offsets, m
    double firstDepth = 0; ///< m, always 0 from VELA
    double secondDepth = 0; ///< m, always 0 from VELA
};

/// Search job (runner mode 1), in file order. Items 2 to 8 are the initial values of the
/// seven variables handed to the engine's SetPointer, in its order.
struct SearchJob
{
    int32_t iterations = 10; ///< number of iterations
    int32_t stopFlag = 0; ///< 1 when set
    int32_t iterationCounter = 0; ///< spare counter A (iteration counter as last reported)
    double apparentMisfit = 1e99; ///< second-misfit variable (apparent curve), fraction
    double effectiveMisfit = 1e99; ///< first-misfit variable (effective curve), fraction
    double currentMisfit = 0; ///< current misfit as last reported, fraction
    double targetMisfit = 0.05; ///< maximum error / 100
    int32_t iterationsRequested = 0; ///< spare counter B
    CMatrix frequencies; ///< F, Hz
    CMatrix velocities; ///< F, m/s
    CMatrix deviations; ///< F, m/s
    CMatrix thickness; ///< N - 1, m
    CMatrix density; ///< N, kg/m^3 x 0.001
    CMatrix vs; ///< N, the start model, m/s
    CMatrix vsMax; ///< N, upper bounds, m/s
    CMatrix vsMin; ///< N, lower bounds, m/s
    CMatrix poisson; ///< N
    int32_t modes = 1; ///< number of modes
    int32_t strongContrasts = 0; ///< 1 when strong stiffness contrasts are allowed
    float solverParameter = 75; ///< the profile page's solver parameter (runner divides by 15)
    CMatrix offsets; ///< X, m
    double firstDepth = 0; ///< m
    double secondDepth = 0; ///< m
};

/// Result of a forward job.
struct ForwardResult
{
    int32_t code = 0; ///< the engine's result (not used by VELA)
    double apparentMisfit = 1e99; ///< shown as the apparent-curve error, fraction
    double effectiveMisfit = 1e99; ///< shown as the effective-curve error, fraction
    CMatrix finalVs; ///< N, m/s
    CComplexMatrix effectiveCurve; ///< the curve drawn as effective, one value per frequency
    CComplexMatrix apparentCurve; ///< the curve drawn as apparent
    CMatrix modalVelocities; ///< frequencies x modes, m/s
    CMatrix frequencies; ///< frequencies of the results, Hz
};

/// Result of a search job: as the forward result without the two misfits (they arrive in
/// the progress notifications).
struct SearchResult
{
    /// 0; or -2 (the last trial had no forward model) or -5 (a final forward run failed): the
    /// best model found is in finalVs, its final curves are missing (the four matrices are
    /// 1 x 1 zero) and its misfit is the current misfit of the last notification.
    int32_t code = 0;
    CMatrix finalVs;
    CComplexMatrix effectiveCurve;
    CComplexMatrix apparentCurve;
    CMatrix modalVelocities;
    CMatrix frequencies;
};

/// Many-start search job (runner mode 2), in file order: items 1 to 23 are those of the
/// search job (mode 1), unchanged, then
///
///   24  int32  number of starts K, 1 to MaxManyStarts (the first start is the job's Vs)
///   25  int32  seed of the starts drawn inside the Vs bounds (the same seed, the same result)
///
/// Progress (mode 2): step 0, then step 6 with K, then after each start that ends a step 14
/// whose value is the number of starts ended and whose current misfit is the best normalised
/// misfit so far, then an end notification (reason 1, or 0 when the best model fits within
/// the data's uncertainty) and step 11. Stop: SIGTERM ends the starts at their next check
/// and the result of the best model so far is written (code -1); SIGKILL loses it.
struct ManyStartJob
{
    SearchJob search;
    int32_t starts = 10;
    int32_t seed = 1;
};

/// Most starts of a many-start job.
constexpr int32_t MaxManyStarts = 1000;

/// Result of a many-start search job, in file order: items 1 to 6 are laid out as the search
/// result's (mode 1), then the ensemble's findings.
///
///    1  int32           0 finished; -1 stopped, the best model so far
///    2  CMatrix         final Vs of the best model (N), m/s
///    3  CComplexMatrix  its effective curve on the dense grid (1 x 1 zero when missing)
///    4  CComplexMatrix  its mean apparent curve on the dense grid (idem)
///    5  CMatrix         its modal velocities on the dense grid (idem)
///    6  CMatrix         the dense frequency grid, Hz (idem)
///    7  int32           1 when the final curves are missing (items 3 to 6 then 1 x 1 zero)
///    8  float64         mean apparent curve's misfit (fraction)
///    9  float64         effective curve's misfit (fraction; 1e99 when missing)
///   10  float64         normalised misfit of the mean apparent curve (1: within the data's
///                       uncertainty)
///   11  int32           the start that found the best model (0: the job's own start)
///   12  float64         Vs30 of the best model, m/s
///   13  float64         Vs30, 10 % point of the ensemble (at most item 12), m/s
///   14  float64         Vs30, 90 % point of the ensemble (at least item 12), m/s
///   15  float64         depth of investigation, m
///   16  float64         normalised misfit the ensemble stays within
///   17  CMatrix         band: N x 5, per layer top and bottom (m), Vs 10 %, median, 90 % (m/s);
///                       the 10 % and 90 % points take in the best model
///   18  CMatrix         N x 1: 1 where the best model's Vs lies on a bound of its layer;
///                       otherwise 2 where the layer's band reaches a bound above the depth
///                       of investigation
///   19  CMatrix         K x 4, per start: result code, best misfit, best normalised misfit,
///                       models evaluated
///   20  CMatrix         the ensemble: one row per model, N columns of Vs (m/s)
struct ManyStartResult
{
    int32_t code = 0;
    CMatrix finalVs;
    CComplexMatrix effectiveCurve;
    CComplexMatrix apparentCurve;
    CMatrix modalVelocities;
    CMatrix frequencies;
    int32_t finalCurvesMissing = 0;
    double apparentMisfit = 1e99;
    double effectiveMisfit = 1e99;
    double normalisedMisfit = 1e99;
    int32_t bestStart = 0;
    double vs30 = 0;
    double vs30P10 = 0;
    double vs30P90 = 0;
    double depthOfInvestigation = 0;
    double ensembleThreshold = 0;
    CMatrix band;
    CMatrix layerOnBound;
    CMatrix starts;
    CMatrix ensemble;
};

/// Archive-level codec: writes or reads the items in file order. Reading throws
/// CArchiveException (end of file, bad class; a matrix claiming more elements than the
/// archive holds reads as end of file, before anything is allocated); a read
/// that throws leaves the struct partly filled.
void WriteForwardJob(CMatrixArchive &ar, const ForwardJob &job);
void ReadForwardJob(CMatrixArchive &ar, ForwardJob &job);
void WriteSearchJob(CMatrixArchive &ar, const SearchJob &job);
void ReadSearchJob(CMatrixArchive &ar, SearchJob &job);
void WriteForwardResult(CMatrixArchive &ar, const ForwardResult &result);
void ReadForwardResult(CMatrixArchive &ar, ForwardResult &result);
void WriteSearchResult(CMatrixArchive &ar, const SearchResult &result);
void ReadSearchResult(CMatrixArchive &ar, SearchResult &result);
void WriteManyStartJob(CMatrixArchive &ar, const ManyStartJob &job);
void ReadManyStartJob(CMatrixArchive &ar, ManyStartJob &job);
void WriteManyStartResult(CMatrixArchive &ar, const ManyStartResult &result);
void ReadManyStartResult(CMatrixArchive &ar, ManyStartResult &result);

/// File-level codec. Each returns true on success; on failure false and a one-line message
/// in *error naming the file and the cause ("cannot open", "ends early", "not a forward
/// job", ...). Reading a whole file also refuses bytes left over after the last item.
/// The job readers then check that the vector sizes agree (CheckForwardJob/CheckSearchJob).
bool WriteForwardJobFile(const std::string &path, const ForwardJob &job, std::string *error);
bool ReadForwardJobFile(const std::string &path, ForwardJob &job, std::string *error);
bool WriteSearchJobFile(const std::string &path, const SearchJob &job, std::string *error);
bool ReadSearchJobFile(const std::string &path, SearchJob &job, std::string *error);
bool WriteForwardResultFile(
    const std::string &path, const ForwardResult &result, std::string *error);
bool ReadForwardResultFile(const std::string &path, ForwardResult &result, std::string *error);
bool WriteSearchResultFile(const std::string &path, const SearchResult &result, std::string *error);
bool ReadSearchResultFile(const std::string &path, SearchResult &result, std::string *error);
bool WriteManyStartJobFile(const std::string &path, const ManyStartJob &job, std::string *error);
bool ReadManyStartJobFile(const std::string &path, ManyStartJob &job, std::string *error);
bool WriteManyStartResultFile(
    const std::string &path, const ManyStartResult &result, std::string *error);
bool ReadManyStartResultFile(const std::string &path, ManyStartResult &result, std::string *error);

/// Consistency of a job's inputs, which the engine does not check and must not meet
/// inconsistent: at least one frequency, F experimental values and deviations, N >= 1 layers
/// with N - 1 thicknesses and N densities, Poisson's ratios (and bounds), at least one
/// receiver offset and one mode, all finite, Poisson's ratios below 0.5, positive Vs.
/// Returns an empty string when the job is usable, else the first problem found.
std::string CheckForwardJob(const ForwardJob &job);
std::string CheckSearchJob(const SearchJob &job);
/// The search job's checks, then 1 to MaxManyStarts starts.
std::string CheckManyStartJob(const ManyStartJob &job);

#endif // VELA_JOBS_ENGINEJOBFILES_H
