// The profile page's engine runs and its derived texts: the forward and search jobs built from
// the analysis, their results put back, the misfit text, the chart lines and the chart exports.
// Plain QtCore: tests and vela-cli drive it without a window.
#ifndef VELA_APP_PROFILE_PROFILERUN_H
#define VELA_APP_PROFILE_PROFILERUN_H

#include "app/spectrum/DispersionAnalysis.h"
#include "jobs/EngineJobFiles.h"
#include "jobs/EngineRun.h"

#include <QString>

#include <string>
#include <vector>

/// The page's two flags: forward results valid, search results valid.
struct ProfileValidity
{
    bool forwardValid = false;
    bool searchValid = false;
};

/// Receiver offsets: n values evenly spaced from s to n s (a single s for one receiver) [m].
CMatrix ReceiverOffsets(double spacing, int count);

/// The jobs of the profile and run parameters collected into the analysis. Densities go in
/// kg/m^3 x 0.001; a layer with Vs fixed gets its Vs as both bounds.
ForwardJob BuildForwardJob(const DispersionAnalysis &analysis);
SearchJob BuildSearchJob(const DispersionAnalysis &analysis);

/// How a run of the page ended.
struct ProfileRunReport
{
    int code = 1; ///< RunForwardJob: 0 success, 1 failure
    bool notStarted = false; ///< runner could not be started
    QString message; ///< a text for the user when there is one
    /// The search kept its best model, but its final forward runs failed: the curves are
    /// missing (RunSearchJob).
    bool finalCurvesMissing = false;
};

/// The forward job ("Trial and error solution"): both misfits to "none", the search flag
/// cleared, the job run through runner; on success the results, the final Vs of every layer and
/// the forward flag. A runner that ends well but leaves no result file is a success with no
/// results (the misfits stay "none").
ProfileRunReport RunForwardJob(
    DispersionAnalysis &analysis, ProfileValidity &validity, const EngineRunRequest &request);

/// The search job ("Automatic inversion"), run on the dialog's worker thread; `request` carries
/// the dialog's receiver and its Stop. Afterwards the flags tell the outcome; failures reset the
/// results as the dialog expects (the modal velocities are kept when runner was stopped or found
/// no model). A search whose final forward runs failed still gives its best model: the final Vs
/// are taken, the curves are left empty and the report says the curves are missing.
ProfileRunReport RunSearchJob(
    DispersionAnalysis &analysis, ProfileValidity &validity, const EngineRunRequest &request);

/// What a many-start search leaves beside the best model: its normalised misfit and the
/// ensemble's findings. `valid` false: the last search had one start (or none ran).
struct EnsembleSummary
{
    bool valid = false;
    int starts = 0; ///< starts requested
    bool stopped = false; ///< the user stopped it; the best model so far was kept
    bool finalCurvesMissing = false;
    double normalisedMisfit = 0;
    double vs30 = 0;
    double vs30P10 = 0;
    double vs30P90 = 0;
    double depthOfInvestigation = 0; ///< m
    CMatrix band { 0, 5 }; ///< per layer: top, bottom (m), Vs 10 %, median, 90 % (m/s)
    CMatrix layerOnBound { 0, 1 }; ///< 1 where the best model's Vs lies on its layer's bound
};

/// The search with `starts` starts (runner mode 2): the best model goes into the analysis as
/// the written search's result does, the rest into `ensemble`. A Stop through the request's
/// stopRequest keeps the best model found so far.
ProfileRunReport RunManyStartJob(DispersionAnalysis &analysis, ProfileValidity &validity,
    const EngineRunRequest &request, int starts, EnsembleSummary *ensemble);

/// The lines shown beside the two misfits after a many-start search: the normalised misfit,
/// the Vs30 range, the depth of investigation and the warnings (a layer on its bound, Vs30
/// reaching below the depth of investigation). Empty when `ensemble` is not valid.
QString EnsembleText(const EnsembleSummary &ensemble);
/// Only the warnings of EnsembleText (empty when there is none).
QString EnsembleWarnings(const EnsembleSummary &ensemble);

/// Copies a progress record's values into the analysis (misfits into the results, counters into
/// the search progress) and keeps the best positive trial misfit.
void TakeProgress(DispersionAnalysis &analysis, const EngineProgress &record);

/// "Error between apparent curve and experimental curve: N%\r\nError between effective ..."
/// with ">100%" for a misfit above 1 (and for "none").
QString MisfitText(double apparentMisfit, double effectiveMisfit);

/// What the page shows after a search that kept its best model without its final curves: the
/// apparent curve's error of the best model and the warning that the curves are missing.
QString MissingCurvesText(double apparentMisfit);

/// The apparent curve's misfit of the model a search kept: the final run's when it measured
/// one, otherwise the search's own best (the current misfit of its last notification);
/// NoRunMisfit when neither measured any.
double KeptModelApparentMisfit(const DispersionAnalysis &analysis);

/// Uncertainty factors c of the list's levels 1 to 3 (level 0: no uncertainty curve).
double UncertaintyFactor(int level);

/// A step line of a Vs profile: (Vs, depth) corners from the surface down, depth positive
/// downward, the half-space drawn 10 m thick.
struct StepLine
{
    std::vector<double> vs;
    std::vector<double> depth;
};
StepLine ProfileStepLine(const std::vector<double> &thicknesses, const std::vector<double> &vs);

/// The lower and upper uncertainty profiles: final Vs (1 -+ c (w_i + e_i)), the lower not below
/// 0; w_i the layer's relative width, e_i the apparent curve's relative misfit at the layer's
/// point.
void UncertaintyProfiles(const DispersionAnalysis &analysis, const CMatrix &widths,
    const CMatrix &points, double factor, std::vector<double> *lower, std::vector<double> *upper);

/// A computed curve's value at frequency f [Hz]. The curves of a search come on a finer grid
/// than the experimental curve: between two result frequencies the value is interpolated
/// linearly (0 when either is 0: no mode there), outside them the nearer end's value is taken.
/// When the result frequencies do not match the values, the value at `row` is taken as it is.
double ResultValueAt(
    const CMatrix &resultFrequencies, const std::vector<double> &values, double f, int row);

/// The text exports of the two charts, created anew at `path`, CR LF lines, "%lf" numbers.
/// The dispersion chart: frequency, the modes, the experimental velocity and its bounds, then
/// the moduli of the apparent and of the effective curve, all at the experimental frequencies. The
/// profile chart: thickness and final Vs per layer, "Inf" for the half-space.
bool WriteDispersionExport(const QString &path, const DispersionAnalysis &analysis);
/// With a valid `ensemble`, three more columns per layer: the band's 10 %, median and 90 % Vs.
bool WriteProfileExport(const QString &path, const DispersionAnalysis &analysis,
    const EnsembleSummary *ensemble = nullptr);

#endif // VELA_APP_PROFILE_PROFILERUN_H
