#include "jobs/EngineJobFiles.h"

#include "engine/RayleighSolver.h"
#include "matrix/CMatrixArchive.h"
#include "matrix/MatrixError.h"

#include <cmath>
#include <exception>
#include <functional>
#include <new>

namespace {

// One item of a file layout: a const item is written, a modifiable one is read. Each layout
// below is then written down once and serves both directions, so the two cannot drift apart.
void Item(CMatrixArchive &ar, const CMatrix &m) { m.Store(ar); }
void Item(CMatrixArchive &ar, CMatrix &m) { m.Load(ar); }
void Item(CMatrixArchive &ar, const CComplexMatrix &m) { m.Store(ar); }
void Item(CMatrixArchive &ar, CComplexMatrix &m) { m.Load(ar); }
void Item(CMatrixArchive &ar, const int32_t &value) { ar.WriteInt32(value); }
void Item(CMatrixArchive &ar, int32_t &value) { value = ar.ReadInt32(); }
void Item(CMatrixArchive &ar, const float &value) { ar.WriteFloat32(value); }
void Item(CMatrixArchive &ar, float &value) { value = ar.ReadFloat32(); }
void Item(CMatrixArchive &ar, const double &value) { ar.WriteFloat64(value); }
void Item(CMatrixArchive &ar, double &value) { value = ar.ReadFloat64(); }

// The four layouts, item by item in file order; Job is the struct or its const form.
template <class Job> void ForwardJobLayout(CMatrixArchive &ar, Job &job)
{
    Item(ar, job.frequencies);
    Item(ar, job.velocities);
    Item(ar, job.deviations);
    Item(ar, job.thickness);
    Item(ar, job.density);
    Item(ar, job.vs);
    Item(ar, job.poisson);
    Item(ar, job.modes);
    Item(ar, job.solverParameter);
    Item(ar, job.offsets);
    Item(ar, job.firstDepth);
    Item(ar, job.secondDepth);
}

template <class Job> void SearchJobLayout(CMatrixArchive &ar, Job &job)
{
    Item(ar, job.iterations);
    Item(ar, job.stopFlag);
    Item(ar, job.iterationCounter);
    Item(ar, job.apparentMisfit);
    Item(ar, job.effectiveMisfit);
    Item(ar, job.currentMisfit);
    Item(ar, job.targetMisfit);
    Item(ar, job.iterationsRequested);
    Item(ar, job.frequencies);
    Item(ar, job.velocities);
    Item(ar, job.deviations);
    Item(ar, job.thickness);
    Item(ar, job.density);
    Item(ar, job.vs);
    Item(ar, job.vsMax);
    Item(ar, job.vsMin);
    Item(ar, job.poisson);
    Item(ar, job.modes);
    Item(ar, job.strongContrasts);
    Item(ar, job.solverParameter);
    Item(ar, job.offsets);
    Item(ar, job.firstDepth);
    Item(ar, job.secondDepth);
}

template <class Result> void ForwardResultLayout(CMatrixArchive &ar, Result &result)
{
    Item(ar, result.code);
    Item(ar, result.apparentMisfit);
    Item(ar, result.effectiveMisfit);
    Item(ar, result.finalVs);
    Item(ar, result.effectiveCurve);
    Item(ar, result.apparentCurve);
    Item(ar, result.modalVelocities);
    Item(ar, result.frequencies);
}

template <class Result> void SearchResultLayout(CMatrixArchive &ar, Result &result)
{
    Item(ar, result.code);
    Item(ar, result.finalVs);
    Item(ar, result.effectiveCurve);
    Item(ar, result.apparentCurve);
    Item(ar, result.modalVelocities);
    Item(ar, result.frequencies);
}

template <class Job> void ManyStartJobLayout(CMatrixArchive &ar, Job &job)
{
    SearchJobLayout(ar, job.search);
    Item(ar, job.starts);
    Item(ar, job.seed);
}

template <class Result> void ManyStartResultLayout(CMatrixArchive &ar, Result &result)
{
    SearchResultLayout(ar, result);
    Item(ar, result.finalCurvesMissing);
    Item(ar, result.apparentMisfit);
    Item(ar, result.effectiveMisfit);
    Item(ar, result.normalisedMisfit);
    Item(ar, result.bestStart);
    Item(ar, result.vs30);
    Item(ar, result.vs30P10);
    Item(ar, result.vs30P90);
    Item(ar, result.depthOfInvestigation);
    Item(ar, result.ensembleThreshold);
    Item(ar, result.band);
    Item(ar, result.layerOnBound);
    Item(ar, result.starts);
    Item(ar, result.ensemble);
}

// Runs the whole-file read and turns every failure into one line for the user.
bool ReadFile(const std::string &path, const char *what,
    const std::function<void(CMatrixArchive &)> &read, std::string *error)
{
    std::string message;
    try {
        CMatrixArchive ar(path, CMatrixArchive::Load);
        try {
            read(ar);
            if (!ar.AtEnd())
                message = std::string(what) + " " + path + " has "
                    + std::to_string(ar.GetRemaining()) + " unexpected bytes after its last item";
        } catch (const CArchiveException &e) {
            if (e.GetCause() == CArchiveException::EndOfFile)
                message = std::string(what) + " " + path + " ends early (byte "
                    + std::to_string(ar.GetPosition()) + " of "
                    + std::to_string(ar.GetBuffer().size()) + "): the file is truncated";
            else if (e.GetCause() == CArchiveException::BadClass)
                message = std::string(what) + " " + path + " is not a " + what
                    + " (unexpected data at byte " + std::to_string(ar.GetPosition()) + ")";
            else
                message = std::string(what) + " " + path + ": " + e.what();
        }
    } catch (const CArchiveException &e) {
        if (e.GetCause() == CArchiveException::OpenFailed)
            message = "cannot open " + std::string(what) + " " + path;
        else
            message = std::string(what) + " " + path + ": " + e.what();
    } catch (const std::bad_alloc &) {
        message = std::string(what) + " " + path + " is too large to read";
    } catch (const std::exception &e) {
        message = std::string(what) + " " + path + ": " + e.what();
    }
    if (message.empty())
        return true;
    if (error)
        *error = message;
    return false;
}

bool WriteFile(const std::string &path, const char *what,
    const std::function<void(CMatrixArchive &)> &write, std::string *error)
{
    try {
        CMatrixArchive ar(path, CMatrixArchive::Store);
        write(ar);
        ar.Close();
        return true;
    } catch (const CArchiveException &e) {
        if (error)
            *error = (e.GetCause() == CArchiveException::OpenFailed
                    ? "cannot create " + std::string(what) + " " + path
                    : "cannot write " + std::string(what) + " " + path + ": " + e.what());
    } catch (const std::exception &e) {
        if (error)
            *error = "cannot write " + std::string(what) + " " + path + ": " + e.what();
    }
    return false;
}

bool AllFinite(const CMatrix &m)
{
    for (int i = 0; i < m.GetCount(); ++i) {
        if (!std::isfinite(m(i)))
            return false;
    }
    return true;
}

// Vectors must be n x 1 or 1 x n (the engine reads them by linear index).
bool IsVector(const CMatrix &m, int n)
{
    if (n == 0)
        return m.GetCount() == 0;
    return m.GetCount() == n && (m.GetCols() == 1 || m.GetRows() == 1);
}

// The checks shared by both jobs; the job-specific ones follow in the callers.
std::string CheckCommon(const CMatrix &frequencies, const CMatrix &velocities,
    const CMatrix &deviations, const CMatrix &thickness, const CMatrix &density, const CMatrix &vs,
    const CMatrix &poisson, int32_t modes, float solverParameter, const CMatrix &offsets,
    double firstDepth, double secondDepth)
{
    const int f = frequencies.GetCount();
    if (f < 1 || !IsVector(frequencies, f))
        return "the experimental curve has no frequency";
    if (!IsVector(velocities, f))
        return "the experimental curve has " + std::to_string(velocities.GetCount())
            + " velocities for " + std::to_string(f) + " frequencies";
    if (!IsVector(deviations, f))
        return "the experimental curve has " + std::to_string(deviations.GetCount())
            + " standard deviations for " + std::to_string(f) + " frequencies";
    const int n = vs.GetCount();
    if (n < 1)
        return "the profile has no layer";
    if (!IsVector(vs, n))
        return "the Vs of the profile is a " + std::to_string(vs.GetRows()) + " x "
            + std::to_string(vs.GetCols()) + " matrix, not one value per layer";
    if (!IsVector(thickness, n - 1))
        return "the profile has " + std::to_string(thickness.GetCount()) + " thicknesses for "
            + std::to_string(n) + " layers (expected one per layer above the half-space)";
    if (!IsVector(density, n))
        return "the profile has " + std::to_string(density.GetCount()) + " densities for "
            + std::to_string(n) + " layers";
    if (!IsVector(poisson, n))
        return "the profile has " + std::to_string(poisson.GetCount()) + " Poisson's ratios for "
            + std::to_string(n) + " layers";
    if (offsets.GetCount() < 1 || !IsVector(offsets, offsets.GetCount()))
        return "there is no receiver offset";
    if (modes < 1 || modes > RayleighMaxModes)
        return "the number of modes " + std::to_string(modes) + " is outside 1 to "
            + std::to_string(RayleighMaxModes);
    if (!std::isfinite(solverParameter))
        return "the solver parameter is not a number";
    if (!AllFinite(frequencies) || !AllFinite(velocities) || !AllFinite(deviations)
        || !AllFinite(thickness) || !AllFinite(density) || !AllFinite(vs) || !AllFinite(poisson)
        || !AllFinite(offsets) || !std::isfinite(firstDepth) || !std::isfinite(secondDepth))
        return "a value is not a finite number";
    for (int i = 0; i < n; ++i) {
        if (!(vs(i) > 0))
            return "the Vs of layer " + std::to_string(i + 1) + " is not positive";
        // 0.5 would divide by zero in the P velocity.
        if (!(poisson(i) < 0.5))
            return "the Poisson's ratio of layer " + std::to_string(i + 1) + " is not below 0.5";
    }
    return {};
}

} // namespace

void WriteForwardJob(CMatrixArchive &ar, const ForwardJob &job) { ForwardJobLayout(ar, job); }

void ReadForwardJob(CMatrixArchive &ar, ForwardJob &job) { ForwardJobLayout(ar, job); }

void WriteSearchJob(CMatrixArchive &ar, const SearchJob &job) { SearchJobLayout(ar, job); }

void ReadSearchJob(CMatrixArchive &ar, SearchJob &job) { SearchJobLayout(ar, job); }

void WriteForwardResult(CMatrixArchive &ar, const ForwardResult &result)
{
    ForwardResultLayout(ar, result);
}

void ReadForwardResult(CMatrixArchive &ar, ForwardResult &result)
{
    ForwardResultLayout(ar, result);
}

void WriteSearchResult(CMatrixArchive &ar, const SearchResult &result)
{
    SearchResultLayout(ar, result);
}

void ReadSearchResult(CMatrixArchive &ar, SearchResult &result) { SearchResultLayout(ar, result); }

void WriteManyStartJob(CMatrixArchive &ar, const ManyStartJob &job) { ManyStartJobLayout(ar, job); }

void ReadManyStartJob(CMatrixArchive &ar, ManyStartJob &job) { ManyStartJobLayout(ar, job); }

void WriteManyStartResult(CMatrixArchive &ar, const ManyStartResult &result)
{
    ManyStartResultLayout(ar, result);
}

void ReadManyStartResult(CMatrixArchive &ar, ManyStartResult &result)
{
    ManyStartResultLayout(ar, result);
}

bool WriteManyStartJobFile(const std::string &path, const ManyStartJob &job, std::string *error)
{
    return WriteFile(
        path, "many-start job file", [&](CMatrixArchive &ar) { WriteManyStartJob(ar, job); },
        error);
}

bool ReadManyStartJobFile(const std::string &path, ManyStartJob &job, std::string *error)
{
    if (!ReadFile(
            path, "many-start job file", [&](CMatrixArchive &ar) { ReadManyStartJob(ar, job); },
            error))
        return false;
    const std::string problem = CheckManyStartJob(job);
    if (problem.empty())
        return true;
    if (error)
        *error = "many-start job file " + path + ": " + problem;
    return false;
}

bool WriteManyStartResultFile(
    const std::string &path, const ManyStartResult &result, std::string *error)
{
    return WriteFile(
        path, "many-start result file",
        [&](CMatrixArchive &ar) { WriteManyStartResult(ar, result); }, error);
}

bool ReadManyStartResultFile(const std::string &path, ManyStartResult &result, std::string *error)
{
    return ReadFile(
        path, "many-start result file",
        [&](CMatrixArchive &ar) { ReadManyStartResult(ar, result); }, error);
}

bool WriteForwardJobFile(const std::string &path, const ForwardJob &job, std::string *error)
{
    return WriteFile(
        path, "forward job file", [&](CMatrixArchive &ar) { WriteForwardJob(ar, job); }, error);
}

bool ReadForwardJobFile(const std::string &path, ForwardJob &job, std::string *error)
{
    if (!ReadFile(
            path, "forward job file", [&](CMatrixArchive &ar) { ReadForwardJob(ar, job); }, error))
        return false;
    std::string problem = CheckForwardJob(job);
    if (problem.empty())
        return true;
    if (error)
        *error = "forward job file " + path + ": " + problem;
    return false;
}

bool WriteSearchJobFile(const std::string &path, const SearchJob &job, std::string *error)
{
    return WriteFile(
        path, "search job file", [&](CMatrixArchive &ar) { WriteSearchJob(ar, job); }, error);
}

bool ReadSearchJobFile(const std::string &path, SearchJob &job, std::string *error)
{
    if (!ReadFile(
            path, "search job file", [&](CMatrixArchive &ar) { ReadSearchJob(ar, job); }, error))
        return false;
    std::string problem = CheckSearchJob(job);
    if (problem.empty())
        return true;
    if (error)
        *error = "search job file " + path + ": " + problem;
    return false;
}

bool WriteForwardResultFile(
    const std::string &path, const ForwardResult &result, std::string *error)
{
    return WriteFile(
        path, "forward result file", [&](CMatrixArchive &ar) { WriteForwardResult(ar, result); },
        error);
}

bool ReadForwardResultFile(const std::string &path, ForwardResult &result, std::string *error)
{
    return ReadFile(
        path, "forward result file", [&](CMatrixArchive &ar) { ReadForwardResult(ar, result); },
        error);
}

bool WriteSearchResultFile(const std::string &path, const SearchResult &result, std::string *error)
{
    return WriteFile(
        path, "search result file", [&](CMatrixArchive &ar) { WriteSearchResult(ar, result); },
        error);
}

bool ReadSearchResultFile(const std::string &path, SearchResult &result, std::string *error)
{
    return ReadFile(
        path, "search result file", [&](CMatrixArchive &ar) { ReadSearchResult(ar, result); },
        error);
}

std::string CheckForwardJob(const ForwardJob &job)
{
    return CheckCommon(job.frequencies, job.velocities, job.deviations, job.thickness, job.density,
        job.vs, job.poisson, job.modes, job.solverParameter, job.offsets, job.firstDepth,
        job.secondDepth);
}

std::string CheckSearchJob(const SearchJob &job)
{
    std::string problem = CheckCommon(job.frequencies, job.velocities, job.deviations,
        job.thickness, job.density, job.vs, job.poisson, job.modes, job.solverParameter,
        job.offsets, job.firstDepth, job.secondDepth);
    if (!problem.empty())
        return problem;
    const int n = job.vs.GetCount();
    if (!IsVector(job.vsMax, n) || !IsVector(job.vsMin, n))
        return "the profile has " + std::to_string(job.vsMin.GetCount()) + " lower and "
            + std::to_string(job.vsMax.GetCount()) + " upper Vs bounds for " + std::to_string(n)
            + " layers";
    if (!AllFinite(job.vsMax) || !AllFinite(job.vsMin) || !std::isfinite(job.targetMisfit))
        return "a value is not a finite number";
    if (job.iterations < 0)
        return "the number of iterations " + std::to_string(job.iterations) + " is negative";
    // The search weighs each point by the reciprocal of its deviation.
    for (int i = 0; i < job.deviations.GetCount(); ++i) {
        if (!(job.deviations(i) > 0))
            return "the standard deviation of curve point " + std::to_string(i + 1)
                + " is not positive (its velocity bounds are equal)";
    }
    for (int i = 0; i < n; ++i) {
        if (!(job.vsMin(i) > 0) || job.vsMin(i) > job.vsMax(i))
            return "the Vs bounds of layer " + std::to_string(i + 1)
                + " are not a positive range (minimum above maximum or not positive)";
    }
    return {};
}

std::string CheckManyStartJob(const ManyStartJob &job)
{
    const std::string problem = CheckSearchJob(job.search);
    if (!problem.empty())
        return problem;
    if (job.starts < 1 || job.starts > MaxManyStarts)
        return "the number of starts " + std::to_string(job.starts) + " is outside 1 to "
            + std::to_string(MaxManyStarts);
    return {};
}
