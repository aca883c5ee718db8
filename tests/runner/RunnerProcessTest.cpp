// runner as a real process: command line, bad job files, exit codes, result files, and
// the progress notifications arriving over the inherited socket while runner waits.
#include "jobs/CProgressReceiver.h"
#include "jobs/CRunnerChild.h"
#include "jobs/EngineJobFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string Runner = VELA_RUNNER_PATH;

std::string TempPath(const char *stem)
{
    char name[64];
    std::snprintf(name, sizeof name, "/tmp/vela-runner-%s-XXXXXX", stem);
    int fd = ::mkstemp(name);
    if (fd >= 0)
        ::close(fd);
    return name;
}

bool Exists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs runner through the shell so that its two output streams can be inspected.
struct Outcome
{
    int code;
    std::string out;
    std::string err;
};

std::string Quote(const std::string &s) { return "'" + s + "'"; }

Outcome RunShell(const std::vector<std::string> &args)
{
    const std::string out = TempPath("out"), err = TempPath("err");
    std::string command = Quote(Runner);
    for (const std::string &a : args)
        command += " " + Quote(a);
    command += " >" + Quote(out) + " 2>" + Quote(err);
    CRunnerChild child;
    Outcome o { -100, {}, {} };
    if (child.Start("/bin/sh", { "-c", command }))
        o.code = child.Wait();
    o.out = ReadText(out);
    o.err = ReadText(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return o;
}

// A small profile (soft over stiff) and its curve band; fast at the solver's default.
ForwardJob SmallForwardJob()
{
    ForwardJob j;
    std::vector<double> f;
    for (double v = 8; v <= 40; v += 4)
        f.push_back(v);
    j.frequencies = CMatrix::Column(f);
    std::vector<double> c(f.size(), 200.0), sd(f.size(), 10.0);
    j.velocities = CMatrix::Column(c);
    j.deviations = CMatrix::Column(sd);
    j.thickness = CMatrix::Column({ 4, 6 });
    j.density = CMatrix::Column({ 1.8, 1.9, 2.0 });
    j.vs = CMatrix::Column({ 180, 260, 400 });
    j.poisson = CMatrix::Column({ 0.35, 0.33, 0.3 });
    j.modes = 2;
    j.solverParameter = 75;
    std::vector<double> x;
    for (int i = 1; i <= 12; ++i)
        x.push_back(1.0 * i);
    j.offsets = CMatrix::Column(x);
    return j;
}

SearchJob SearchFrom(const ForwardJob &f, const CMatrix &curve, const CMatrix &start)
{
    SearchJob s;
    s.iterations = 3;
    s.targetMisfit = 0.0;
    s.frequencies = f.frequencies;
    s.velocities = curve;
    s.deviations = f.deviations;
    s.thickness = f.thickness;
    s.density = f.density;
    s.vs = start;
    s.vsMax = start * 2.0;
    s.vsMin = start * 0.5;
    s.poisson = f.poisson;
    s.modes = f.modes;
    s.solverParameter = f.solverParameter;
    s.offsets = f.offsets;
    return s;
}

// Collects the notifications of a runner started on the channel.
struct ChannelRun
{
    int code = -100;
    std::vector<EngineProgress> records;
    CProgressReceiver::Status end = CProgressReceiver::Status::SystemError;

    // Steps in order, end notifications written as 1000 + reason.
    std::vector<int> Steps() const
    {
        std::vector<int> s;
        for (const EngineProgress &r : records)
            s.push_back(r.kind == EngineProgressKindEnd ? 1000 + r.endReason : r.stepNumber);
        return s;
    }
};

ChannelRun RunOnChannel(int mode, const std::string &job, const std::string &result,
    const std::function<bool(const EngineProgress &)> &killWhen = {}, bool terminate = false)
{
    ChannelRun run;
    CProgressReceiver receiver;
    if (!receiver.Open())
        return run;
    CRunnerChild child;
    if (!child.Start(Runner,
            CRunnerChild::Arguments(
                static_cast<RunnerMode>(mode), receiver.ChildDescriptor(), job, result),
            receiver.ChildDescriptor()))
        return run;
    receiver.CloseChildDescriptor();
    run.end = receiver.ReceiveAll([&](const EngineProgress &r) {
        run.records.push_back(r);
        if (killWhen && killWhen(r)) {
            // As the dialog's Stop does, while runner waits for our answer.
            if (terminate)
                child.Terminate();
            else
                child.Kill();
        }
    });
    run.code = child.Wait();
    return run;
}

// Result vectors are n x 1 columns, like every vector of the job and result files.
template <typename Matrix> void ExpectColumn(const Matrix &m, int n)
{
    EXPECT_EQ(m.GetRows(), n);
    EXPECT_EQ(m.GetCols(), 1);
}

} // namespace

TEST(RunnerCommandLine, RefusesBadArgumentsWithCodeTwo)
{
    const std::string job = TempPath("job");
    ASSERT_TRUE(WriteForwardJobFile(job, SmallForwardJob(), nullptr));
    const std::string result = TempPath("result");
    std::remove(result.c_str());
    struct Case
    {
        const char *name;
        std::vector<std::string> args;
        const char *message;
    };
    const Case cases[] = {
        { "no arguments", {}, "usage: runner MODE HANDLE JOB RESULT" },
        { "three arguments", { "0", "0", job }, "usage" },
        { "mode 3", { "3", "0", job, result }, "mode must be 0, 1 or 2" },
        { "mode not a number", { "x", "0", job, result }, "mode must be 0, 1 or 2" },
        { "negative handle", { "1", "-4", job, result }, "bad notification handle" },
        { "handle with trailing text", { "1", "5x", job, result }, "bad notification handle" },
        // A descriptor that is not a socket would receive binary records.
        { "handle of a regular file", { "1", "1", job, result }, "is not an open socket" },
        { "handle not open", { "1", "987", job, result }, "is not an open socket" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Outcome o = RunShell(c.args);
        EXPECT_EQ(o.code, RunnerExitNumber(RunnerExit::Usage));
        EXPECT_EQ(o.err.rfind("runner: ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
        EXPECT_FALSE(Exists(result));
    }
    std::remove(job.c_str());
}

TEST(RunnerJobFile, MissingTruncatedGarbageAndForeignJobsFailCleanlyWithoutResult)
{
    const std::string result = TempPath("result");
    std::remove(result.c_str());
    const std::string good = TempPath("good");
    ASSERT_TRUE(WriteSearchJobFile(good,
        SearchFrom(SmallForwardJob(), CMatrix::Column({ 1 }), CMatrix::Column({ 180, 260, 400 })),
        nullptr));
    const std::string text = ReadText(good);
    auto writeFile = [](const std::string &bytes) {
        std::string p = TempPath("bad");
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    };
    ForwardJob inconsistent = SmallForwardJob();
    inconsistent.density = CMatrix::Column({ 1.8 });
    const std::string inconsistentPath = TempPath("inconsistent");
    ASSERT_TRUE(WriteForwardJobFile(inconsistentPath, inconsistent, nullptr));
    const std::string forwardPath = TempPath("forward");
    ASSERT_TRUE(WriteForwardJobFile(forwardPath, SmallForwardJob(), nullptr));

    struct Case
    {
        const char *name;
        int mode;
        std::string job;
        int code;
        const char *message;
    };
    const Case cases[] = {
        { "missing file", 1, "/nonexistent/job.bin", RunnerExitNumber(RunnerExit::JobUnreadable),
            "cannot open" },
        { "a folder", 0, "/tmp", RunnerExitNumber(RunnerExit::JobUnreadable), "" },
        { "empty file", 1, writeFile(""), RunnerExitNumber(RunnerExit::JobMalformed),
            "ends early" },
        { "truncated in a matrix", 1, writeFile(text.substr(0, text.size() / 2)),
            RunnerExitNumber(RunnerExit::JobMalformed), "ends early" },
        { "truncated by one byte", 1, writeFile(text.substr(0, text.size() - 1)),
            RunnerExitNumber(RunnerExit::JobMalformed), "ends early" },
        { "garbage", 0, writeFile(std::string(300, '\x7f') + "not a job"),
            RunnerExitNumber(RunnerExit::JobMalformed), "not a forward job file" },
        { "text file", 1, writeFile("frequency velocity\n10 200\n"),
            RunnerExitNumber(RunnerExit::JobMalformed), "" },
        { "search job run as forward job", 0, good, RunnerExitNumber(RunnerExit::JobMalformed),
            "not a forward job file" },
        { "forward job run as search job", 1, forwardPath,
            RunnerExitNumber(RunnerExit::JobMalformed), "" },
        { "inconsistent sizes", 0, inconsistentPath, RunnerExitNumber(RunnerExit::JobMalformed),
            "1 densities for 3 layers" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Outcome o = RunShell({ std::to_string(c.mode), "0", c.job, result });
        EXPECT_EQ(o.code, c.code) << o.err;
        EXPECT_EQ(o.err.rfind("runner: ", 0), 0u) << o.err;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
        EXPECT_FALSE(Exists(result));
        if (c.job.rfind("/tmp/vela-runner-bad", 0) == 0)
            std::remove(c.job.c_str());
    }
    std::remove(good.c_str());
    std::remove(inconsistentPath.c_str());
    std::remove(forwardPath.c_str());
}

TEST(RunnerChannel, StopFlagInTheJobEndsTheSearchAfterStepElevenWithTheControlValues)
{
    SearchJob job = SearchFrom(
        SmallForwardJob(), SmallForwardJob().velocities, CMatrix::Column({ 180, 260, 400 }));
    job.iterations = 9;
    job.stopFlag = 1;
    job.iterationCounter = 4;
    job.apparentMisfit = 0.7; // second misfit variable
    job.effectiveMisfit = 0.3; // first misfit variable
    job.currentMisfit = 0.2;
    job.targetMisfit = 0.05;
    job.iterationsRequested = 2;
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    std::remove(result.c_str());
    ASSERT_TRUE(WriteSearchJobFile(jobPath, job, nullptr));

    ChannelRun run = RunOnChannel(1, jobPath, result);
    EXPECT_EQ(run.code, RunnerExitNumber(RunnerExit::Stopped));
    EXPECT_EQ(run.end, CProgressReceiver::Status::Closed);
    EXPECT_EQ(run.Steps(), (std::vector<int> { 0, 6, 11 }));
    for (const EngineProgress &r : run.records) {
        EXPECT_EQ(r.kind, EngineProgressKindStep);
        EXPECT_EQ(r.secondMisfit, 0.7);
        EXPECT_EQ(r.firstMisfit, 0.3);
        EXPECT_EQ(r.currentMisfit, 0.2);
        EXPECT_EQ(r.targetMisfit, 0.05);
        EXPECT_EQ(r.iterationsRequested, 9);
        EXPECT_EQ(r.iterationCounter, 0);
        EXPECT_EQ(r.trialCounter, 0);
        EXPECT_EQ(r.latestTrialMisfit, 0.0);
    }
    ASSERT_EQ(run.records.size(), 3u);
    EXPECT_EQ(run.records[1].stepValue, 9);
    EXPECT_FALSE(Exists(result));

    // Without a channel the same run prints the steps, and only them.
    Outcome o = RunShell({ "1", "0", jobPath, result });
    EXPECT_EQ(o.code, RunnerExitNumber(RunnerExit::Stopped));
    EXPECT_EQ(o.out, "SegnalaStep 0\nSegnalaStep 6\nSegnalaStep 11\n");
    std::remove(jobPath.c_str());
}

TEST(RunnerForward, ForwardJobWritesTheResultOfTheManualRun)
{
    const ForwardJob job = SmallForwardJob();
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    ASSERT_TRUE(WriteForwardJobFile(jobPath, job, nullptr));
    Outcome o = RunShell({ "0", "0", jobPath, result });
    ASSERT_EQ(o.code, RunnerExitNumber(RunnerExit::Success)) << o.err;
    // The forward stages report themselves in order, effective curve last.
    EXPECT_EQ(o.out, "SegnalaStep 1\nSegnalaStep 4\nSegnalaStep 5\nSegnalaStep 3\nSegnalaStep 2\n");
    ForwardResult r;
    std::string error;
    ASSERT_TRUE(ReadForwardResultFile(result, r, &error)) << error;
    const int f = job.frequencies.GetCount();
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.finalVs.GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.finalVs(i), job.vs(i));
    EXPECT_EQ(r.frequencies.GetCount(), f);
    EXPECT_EQ(r.modalVelocities.GetRows(), f);
    EXPECT_EQ(r.modalVelocities.GetCols(), 2);
    // Every vector item of the file is a column, the modal velocities frequencies x modes.
    ExpectColumn(r.finalVs, 3);
    ExpectColumn(r.effectiveCurve, f);
    ExpectColumn(r.apparentCurve, f);
    ExpectColumn(r.frequencies, f);
    // The experimental curve is a flat 200 m/s: both misfits are real, finite numbers.
    EXPECT_GT(r.apparentMisfit, 0.0);
    EXPECT_LT(r.apparentMisfit, 1.0);
    EXPECT_GT(r.effectiveMisfit, 0.0);
    EXPECT_LT(r.effectiveMisfit, 1.0);
    // The apparent curve lies between the slowest and fastest layer's shear velocity band.
    for (int i = 0; i < f; ++i) {
        EXPECT_GT(r.apparentCurve(i).Modulus(), 150.0);
        EXPECT_LT(r.apparentCurve(i).Modulus(), 400.0);
    }
    // A result that cannot be written has its own code.
    Outcome unwritable = RunShell({ "0", "0", jobPath, "/nonexistent/dir/result" });
    EXPECT_EQ(unwritable.code, RunnerExitNumber(RunnerExit::ResultUnwritable));
    EXPECT_NE(unwritable.err.find("cannot create forward result file"), std::string::npos)
        << unwritable.err;
    std::remove(jobPath.c_str());
    std::remove(result.c_str());
}

TEST(RunnerSearch, SearchReportsEveryStageOverTheChannelAndWritesTheDenseResult)
{
    // The experimental curve is the apparent curve of the true profile.
    ForwardJob truth = SmallForwardJob();
    const std::string forwardJob = TempPath("fjob"), forwardResult = TempPath("fres");
    ASSERT_TRUE(WriteForwardJobFile(forwardJob, truth, nullptr));
    ASSERT_EQ(RunShell({ "0", "0", forwardJob, forwardResult }).code,
        RunnerExitNumber(RunnerExit::Success));
    ForwardResult fr;
    ASSERT_TRUE(ReadForwardResultFile(forwardResult, fr, nullptr));
    std::vector<double> curve;
    for (int i = 0; i < fr.apparentCurve.GetCount(); ++i)
        curve.push_back(fr.apparentCurve(i).Modulus());

    SearchJob job = SearchFrom(truth, CMatrix::Column(curve), CMatrix::Column({ 150, 300, 350 }));
    job.iterations = 2;
    job.targetMisfit = 0.0;
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    ASSERT_TRUE(WriteSearchJobFile(jobPath, job, nullptr));
    ChannelRun run = RunOnChannel(1, jobPath, result);
    ASSERT_EQ(run.code, RunnerExitNumber(RunnerExit::Success));
    EXPECT_EQ(run.end, CProgressReceiver::Status::Closed);
    const std::vector<int> steps = run.Steps();
    ASSERT_GE(steps.size(), 6u);
    EXPECT_EQ(steps[0], 0);
    EXPECT_EQ(steps[1], 6);
    EXPECT_EQ(steps[2], 7);
    EXPECT_EQ(steps[steps.size() - 2], 13);
    EXPECT_EQ(steps.back(), 11);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), 7), 2);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), 14), 2);
    // One end notification, before the final forward runs.
    ASSERT_EQ(std::count_if(steps.begin(), steps.end(), [](int s) { return s >= 1000; }), 1);
    const auto end = std::find_if(steps.begin(), steps.end(), [](int s) { return s >= 1000; });
    EXPECT_TRUE(*end == 1001 || *end == 1004) << *end;
    EXPECT_EQ(*(end + 1), 12);
    // Misfits carried by the last record: the final ones of the best model, each finite.
    const EngineProgress &last = run.records.back();
    EXPECT_LT(last.firstMisfit, 1.0);
    EXPECT_LT(last.secondMisfit, 1.0);
    EXPECT_LT(last.currentMisfit, 0.2);

    SearchResult r;
    std::string error;
    ASSERT_TRUE(ReadSearchResultFile(result, r, &error)) << error;
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.finalVs.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(r.finalVs(i), job.vsMin(i));
        EXPECT_LE(r.finalVs(i), job.vsMax(i));
    }
    // 8 to 40 Hz: a dense grid of 32 points with the curves on it.
    ExpectColumn(r.frequencies, 32);
    EXPECT_EQ(r.frequencies(0), 8.0);
    EXPECT_NEAR(r.frequencies(31), 40.0, 1e-9);
    ExpectColumn(r.finalVs, 3);
    ExpectColumn(r.effectiveCurve, 32);
    ExpectColumn(r.apparentCurve, 32);
    EXPECT_EQ(r.modalVelocities.GetRows(), 32);
    for (const std::string &p : { forwardJob, forwardResult, jobPath, result })
        std::remove(p.c_str());
}

TEST(RunnerSearch, KillingRunnerDuringTheTrialsReadsAsStoppedByTheUser)
{
    ForwardJob truth = SmallForwardJob();
    SearchJob job = SearchFrom(truth, truth.velocities, CMatrix::Column({ 150, 300, 350 }));
    job.iterations = 50;
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    std::remove(result.c_str());
    ASSERT_TRUE(WriteSearchJobFile(jobPath, job, nullptr));
    ChannelRun run = RunOnChannel(1, jobPath, result, [](const EngineProgress &r) {
        return r.kind == EngineProgressKindStep && r.stepNumber == 8;
    });
    EXPECT_EQ(run.code, CRunnerChild::KilledExitCode);
    EXPECT_EQ(run.end, CProgressReceiver::Status::Closed);
    EXPECT_EQ(run.Steps().back(), 8);
    EXPECT_FALSE(Exists(result));
    std::remove(jobPath.c_str());
}

TEST(RunnerSearch, AClosedChannelStopsTheNotificationsButNotTheSearch)
{
    ForwardJob truth = SmallForwardJob();
    SearchJob job = SearchFrom(truth, truth.velocities, CMatrix::Column({ 150, 300, 350 }));
    job.iterations = 2;
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    ASSERT_TRUE(WriteSearchJobFile(jobPath, job, nullptr));
    CProgressReceiver receiver;
    ASSERT_TRUE(receiver.Open());
    CRunnerChild child;
    ASSERT_TRUE(child.Start(Runner,
        CRunnerChild::Arguments(RunnerMode::Search, receiver.ChildDescriptor(), jobPath, result),
        receiver.ChildDescriptor()));
    receiver.CloseChildDescriptor();
    int first = -1;
    ASSERT_EQ(receiver.ReceiveOne([&](const EngineProgress &r) { first = r.stepNumber; }),
        CProgressReceiver::Status::Record);
    EXPECT_EQ(first, 0);
    receiver.Close(); // as a VELA that has gone away
    EXPECT_EQ(child.Wait(), 0);
    SearchResult r;
    std::string error;
    EXPECT_TRUE(ReadSearchResultFile(result, r, &error)) << error;
    EXPECT_EQ(r.finalVs.GetCount(), 3);
    std::remove(jobPath.c_str());
    std::remove(result.c_str());
}

TEST(RunnerJobFile, ProfilesWithoutAForwardModelEndWithCodeOne)
{
    // Zero densities pass the file checks but leave the engine without any forward model.
    ForwardJob forward = SmallForwardJob();
    forward.density = CMatrix::Column({ 0, 0, 0 });
    SearchJob search = SearchFrom(forward, forward.velocities, forward.vs);
    ManyStartJob manyStart;
    manyStart.search = search;
    manyStart.starts = 3;
    const std::string forwardPath = TempPath("fjob"), searchPath = TempPath("sjob");
    const std::string manyStartPath = TempPath("mjob");
    const std::string result = TempPath("result");
    std::remove(result.c_str());
    ASSERT_TRUE(WriteForwardJobFile(forwardPath, forward, nullptr));
    ASSERT_TRUE(WriteSearchJobFile(searchPath, search, nullptr));
    ASSERT_TRUE(WriteManyStartJobFile(manyStartPath, manyStart, nullptr));
    for (int mode : { 0, 1, 2 }) {
        SCOPED_TRACE(mode);
        const std::string &job = mode == 0 ? forwardPath : (mode == 1 ? searchPath : manyStartPath);
        Outcome o = RunShell({ std::to_string(mode), "0", job, result });
        EXPECT_EQ(o.code, RunnerExitNumber(RunnerExit::EngineFailed));
        EXPECT_NE(o.err.find("runner: "), std::string::npos) << o.err;
        EXPECT_FALSE(Exists(result));
    }
    // The search says how it ended before it stops: no model, then the last step.
    Outcome o = RunShell({ "1", "0", searchPath, result });
    EXPECT_NE(o.out.find("SegnalaFine 5 \nSegnalaStep 11\n"), std::string::npos) << o.out;
    std::remove(forwardPath.c_str());
    std::remove(searchPath.c_str());
    std::remove(manyStartPath.c_str());
}

TEST(RunnerSearch, ASearchWhoseFinalRunsFailStillWritesItsModelAndSaysTheCurvesAreMissing)
{
    // Zero iterations take the start as the answer; zero densities then make its final forward
    // runs fail. The model is kept, with code -5, 1 x 1 zero curves and exit code 0.
    ForwardJob forward = SmallForwardJob();
    forward.density = CMatrix::Column({ 0, 0, 0 });
    SearchJob search = SearchFrom(forward, forward.velocities, forward.vs);
    search.iterations = 0;
    const std::string jobPath = TempPath("sjob"), result = TempPath("result");
    std::remove(result.c_str());
    ASSERT_TRUE(WriteSearchJobFile(jobPath, search, nullptr));
    Outcome o = RunShell({ "1", "0", jobPath, result });
    ASSERT_EQ(o.code, RunnerExitNumber(RunnerExit::Success)) << o.err;
    EXPECT_EQ(o.err, "");
    // It said how the search ended, tried the final runs, and no refinement ended.
    EXPECT_NE(o.out.find("SegnalaFine 1 \nSegnalaStep 12\nSegnalaStep 11\n"), std::string::npos)
        << o.out;
    SearchResult r;
    std::string error;
    ASSERT_TRUE(ReadSearchResultFile(result, r, &error)) << error;
    EXPECT_EQ(r.code, -5) << "the engine's code of a kept model whose final runs failed";
    ASSERT_EQ(r.finalVs.GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.finalVs(i), forward.vs(i));
    for (const CMatrix *m : { &r.modalVelocities, &r.frequencies }) {
        ASSERT_EQ(m->GetCount(), 1);
        EXPECT_EQ((*m)(0), 0.0);
    }
    for (const CComplexMatrix *m : { &r.effectiveCurve, &r.apparentCurve }) {
        ASSERT_EQ(m->GetCount(), 1);
        EXPECT_EQ((*m)(0).Modulus(), 0.0);
    }
    std::remove(jobPath.c_str());
    std::remove(result.c_str());
}

namespace {

// The experimental curve of SmallForwardJob's profile: its mean apparent curve from mode 0.
CMatrix SmallProfileCurve()
{
    const ForwardJob truth = SmallForwardJob();
    const std::string job = TempPath("fjob"), result = TempPath("fres");
    ForwardResult fr;
    if (!WriteForwardJobFile(job, truth, nullptr)
        || RunShell({ "0", "0", job, result }).code != RunnerExitNumber(RunnerExit::Success)
        || !ReadForwardResultFile(result, fr, nullptr))
        fr.apparentCurve = CComplexMatrix(0, 1);
    std::vector<double> curve;
    for (int i = 0; i < fr.apparentCurve.GetCount(); ++i)
        curve.push_back(fr.apparentCurve(i).Modulus());
    std::remove(job.c_str());
    std::remove(result.c_str());
    return CMatrix::Column(curve);
}

} // namespace

TEST(RunnerManyStart, ReportsEachStartAndWritesTheBestModelWithItsEnsemble)
{
    const ForwardJob truth = SmallForwardJob();
    const CMatrix curve = SmallProfileCurve();
    ASSERT_EQ(curve.GetCount(), truth.frequencies.GetCount());
    ManyStartJob job;
    job.search = SearchFrom(truth, curve, CMatrix::Column({ 150, 300, 350 }));
    job.starts = 3;
    job.seed = 7;
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    ASSERT_TRUE(WriteManyStartJobFile(jobPath, job, nullptr));
    ChannelRun run = RunOnChannel(2, jobPath, result);
    ASSERT_EQ(run.code, RunnerExitNumber(RunnerExit::Success));
    EXPECT_EQ(run.end, CProgressReceiver::Status::Closed);
    // Start, set-up with K, one step 14 per start ended (value: starts ended), end, run end.
    const std::vector<int> steps = run.Steps();
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + 5),
        (std::vector<int> { 0, 6, 14, 14, 14 }));
    EXPECT_TRUE(steps[5] == 1000 || steps[5] == 1001) << steps[5];
    EXPECT_EQ(steps[6], 11);
    EXPECT_EQ(run.records[1].stepValue, 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(run.records[size_t(2 + k)].stepValue, k + 1);

    ManyStartResult r;
    std::string error;
    ASSERT_TRUE(ReadManyStartResultFile(result, r, &error)) << error;
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.finalCurvesMissing, 0);
    ExpectColumn(r.finalVs, 3);
    ExpectColumn(r.frequencies, 32);
    ExpectColumn(r.apparentCurve, 32);
    EXPECT_EQ(r.band.GetRows(), 3);
    EXPECT_EQ(r.band.GetCols(), 5);
    EXPECT_EQ(r.starts.GetRows(), 3);
    EXPECT_EQ(r.ensemble.GetCols(), 3);
    EXPECT_GE(r.ensemble.GetRows(), 1);
    // The curve is the truth's own: the best model fits it well within 5 % deviations, and
    // no start's best is better than the one kept.
    EXPECT_LT(r.normalisedMisfit, 1.0);
    for (int k = 0; k < 3; ++k)
        EXPECT_LE(r.normalisedMisfit, r.starts(k, 2) + 1e-12) << k;
    // Vs30 of the kept model, by the travel time through 4 m, 6 m and 20 m of half-space.
    const double vs30 = 30.0 / (4.0 / r.finalVs(0) + 6.0 / r.finalVs(1) + 20.0 / r.finalVs(2));
    EXPECT_NEAR(r.vs30, vs30, 1e-9 * vs30);
    EXPECT_LE(r.vs30P10, r.vs30P90);
    // Longest wavelength: the curve's point at 8 Hz.
    EXPECT_NEAR(r.depthOfInvestigation, 0.5 * curve(0) / 8.0, 1e-9);
    for (const std::string &p : { jobPath, result })
        std::remove(p.c_str());
}

TEST(RunnerManyStart, TerminatingRunnerKeepsTheBestModelFoundSoFar)
{
    const ForwardJob truth = SmallForwardJob();
    ManyStartJob job;
    job.search = SearchFrom(truth, SmallProfileCurve(), CMatrix::Column({ 150, 300, 350 }));
    job.search.iterations = 10;
    job.starts = 200;
    const std::string jobPath = TempPath("job"), result = TempPath("result");
    ASSERT_TRUE(WriteManyStartJobFile(jobPath, job, nullptr));
    ChannelRun run = RunOnChannel(
        2, jobPath, result,
        [](const EngineProgress &r) {
            return r.kind == EngineProgressKindStep && r.stepNumber == 14 && r.stepValue == 1;
        },
        true);
    ASSERT_EQ(run.code, RunnerExitNumber(RunnerExit::Success));
    ManyStartResult r;
    std::string error;
    ASSERT_TRUE(ReadManyStartResultFile(result, r, &error)) << error;
    EXPECT_EQ(r.code, -1);
    ExpectColumn(r.finalVs, 3);
    EXPECT_LT(r.normalisedMisfit, 1e99);
    ASSERT_EQ(r.starts.GetRows(), 200);
    // Far from every start ran: the last ones evaluated nothing.
    EXPECT_EQ(r.starts(199, 3), 0.0);
    EXPECT_EQ(run.Steps().back(), 11);
    for (const std::string &p : { jobPath, result })
        std::remove(p.c_str());
}
