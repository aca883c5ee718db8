// One run of a job end to end through the shared run function, against the real runner and
// against small stand-in programs for the outcomes the real one cannot be made to give.
#include "jobs/EngineRun.h"
#include "jobs/CRunnerChild.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string Runner = VELA_RUNNER_PATH;

// A soft-over-stiff profile on a short spread; fast at the solver's default refinement.
ForwardJob SmallForwardJob()
{
    ForwardJob j;
    std::vector<double> f;
    for (double v = 8; v <= 40; v += 4)
        f.push_back(v);
    j.frequencies = CMatrix::Column(f);
    j.velocities = CMatrix::Column(std::vector<double>(f.size(), 200.0));
    j.deviations = CMatrix::Column(std::vector<double>(f.size(), 10.0));
    j.thickness = CMatrix::Column({ 4, 6 });
    j.density = CMatrix::Column({ 1.8, 1.9, 2.0 });
    j.vs = CMatrix::Column({ 180, 260, 400 });
    j.poisson = CMatrix::Column({ 0.35, 0.33, 0.3 });
    j.modes = 2;
    j.solverParameter = 75;
    j.offsets = CMatrix::Column({ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 });
    return j;
}

SearchJob SmallSearchJob()
{
    const ForwardJob f = SmallForwardJob();
    SearchJob s;
    s.iterations = 3;
    s.targetMisfit = 0.0;
    s.frequencies = f.frequencies;
    s.velocities = f.velocities;
    s.deviations = f.deviations;
    s.thickness = f.thickness;
    s.density = f.density;
    s.vs = f.vs;
    s.vsMax = f.vs * 2.0;
    s.vsMin = f.vs * 0.5;
    s.poisson = f.poisson;
    s.modes = f.modes;
    s.solverParameter = f.solverParameter;
    s.offsets = f.offsets;
    return s;
}

// Points TMPDIR at a fresh folder for the test's lifetime, so that what a run leaves behind
// can be counted.
class CScratchTmp
{
public:
    CScratchTmp()
    {
        char name[] = "/tmp/vela-enginerun-XXXXXX";
        m_path = ::mkdtemp(name);
        const char *old = std::getenv("TMPDIR");
        m_hadOld = old != nullptr;
        if (old)
            m_old = old;
        ::setenv("TMPDIR", m_path.c_str(), 1);
    }
    ~CScratchTmp()
    {
        if (m_hadOld)
            ::setenv("TMPDIR", m_old.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        for (const std::string &entry : Entries())
            std::remove((m_path + "/" + entry).c_str());
        ::rmdir(m_path.c_str());
    }
    const std::string &Path() const { return m_path; }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        if (DIR *d = ::opendir(m_path.c_str())) {
            while (dirent *e = ::readdir(d)) {
                const std::string n = e->d_name;
                if (n != "." && n != "..")
                    names.push_back(n);
            }
            ::closedir(d);
        }
        return names;
    }
    // A stand-in runner: a shell script with this body, made executable.
    std::string Script(const std::string &name, const std::string &body) const
    {
        const std::string path = m_path + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), 0755);
        return path;
    }

private:
    std::string m_path, m_old;
    bool m_hadOld = false;
};

} // namespace

TEST(EngineRun, ForwardJobThroughRunnerDeliversStagesAndResultAndLeavesNoFiles)
{
    CScratchTmp tmp;
    std::vector<int> steps;
    EngineRunRequest request;
    request.runnerPath = Runner;
    request.progress = [&](const EngineProgress &r) {
        EXPECT_EQ(r.kind, EngineProgressKindStep);
        steps.push_back(r.stepNumber);
    };
    const ForwardJob job = SmallForwardJob();
    ForwardResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.message;
    EXPECT_TRUE(outcome.started);
    EXPECT_TRUE(outcome.resultFound);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(outcome.channel, CProgressReceiver::Status::Closed);
    // The forward computation reports its stages in this order, once.
    EXPECT_EQ(steps,
        (std::vector<int> { StepNumber(EngineStep::BeforeSolver),
            StepNumber(EngineStep::BeforeEigenfunctions), StepNumber(EngineStep::BeforeIntegrals),
            StepNumber(EngineStep::BeforeApparentCurve),
            StepNumber(EngineStep::BeforeEffectiveCurve) }));
    // A manual run keeps the profile; its fundamental mode of a soft-over-stiff profile lies
    // between the top layer's Rayleigh velocity and the half-space's Vs at every frequency.
    ASSERT_EQ(result.finalVs.GetCount(), 3);
    for (int l = 0; l < 3; ++l)
        EXPECT_DOUBLE_EQ(result.finalVs(l), job.vs(l));
    ASSERT_EQ(result.modalVelocities.GetRows(), job.frequencies.GetCount());
    for (int i = 0; i < job.frequencies.GetCount(); ++i) {
        EXPECT_GT(result.modalVelocities(i, 0), 0.87 * 180.0);
        EXPECT_LT(result.modalVelocities(i, 0), 400.0);
    }
    EXPECT_LT(result.apparentMisfit, 1.0);
    EXPECT_TRUE(tmp.Entries().empty()) << tmp.Entries().front();
}

TEST(EngineRun, KillRequestDuringASearchEndsItAsKilledWithoutResult)
{
    CScratchTmp tmp;
    std::atomic<bool> kill { false };
    int afterKill = 0;
    EngineRunRequest request;
    request.runnerPath = Runner;
    request.killRequest = &kill;
    request.progress = [&](const EngineProgress &r) {
        if (kill)
            ++afterKill;
        if (r.kind == EngineProgressKindStep && r.stepNumber == StepNumber(EngineStep::BeforeTrial))
            kill = true;
    };
    SearchResult result;
    const EngineRunOutcome outcome = RunEngineJob(SmallSearchJob(), result, request);
    EXPECT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitCode, RunnerExitNumber(RunnerExit::Killed));
    EXPECT_FALSE(outcome.resultFound);
    EXPECT_EQ(outcome.message, RunnerExitText(RunnerExitNumber(RunnerExit::Killed)));
    EXPECT_EQ(result.finalVs.GetCount(), SearchResult().finalVs.GetCount()) << "nothing read";
    // The kill is sent at once: at most the notification already on its way arrives.
    EXPECT_LE(afterKill, 1);
    EXPECT_TRUE(tmp.Entries().empty());
}

TEST(EngineRun, StopRequestDuringAManyStartSearchKeepsTheBestModelSoFar)
{
    CScratchTmp tmp;
    std::atomic<bool> stop { false };
    int startsReported = 0;
    EngineRunRequest request;
    request.runnerPath = Runner;
    request.stopRequest = &stop;
    request.progress = [&](const EngineProgress &r) {
        if (r.kind == EngineProgressKindStep
            && r.stepNumber == StepNumber(EngineStep::IterationEnd)) {
            ++startsReported;
            stop = true;
        }
    };
    ManyStartJob job;
    job.search = SmallSearchJob();
    job.starts = MaxManyStarts;
    ManyStartResult result;
    const EngineRunOutcome outcome = RunEngineJob(job, result, request);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.message;
    EXPECT_EQ(result.code, -1);
    EXPECT_EQ(result.finalVs.GetCount(), job.search.vs.GetCount());
    EXPECT_LT(result.normalisedMisfit, 1e99);
    // The search stopped long before its thousand starts.
    EXPECT_LT(startsReported, 100);
    EXPECT_EQ(result.starts.GetRows(), MaxManyStarts);
    EXPECT_TRUE(tmp.Entries().empty());
}

TEST(EngineRun, ACallerThatReceivesOnAnotherThreadGetsEveryNotification)
{
    CScratchTmp tmp;
    CProgressReceiver receiver;
    ASSERT_TRUE(receiver.Open());
    std::vector<int> seen;
    CProgressReceiver::Status end = CProgressReceiver::Status::SystemError;
    // The receiving thread plays the window's socket notifier; it ends when runner has gone.
    std::thread window([&] {
        end = receiver.ReceiveAll([&](const EngineProgress &r) {
            seen.push_back(r.kind == EngineProgressKindEnd ? 1000 + r.endReason : r.stepNumber);
        });
    });
    EngineRunRequest request;
    request.runnerPath = Runner;
    request.receiver = &receiver;
    SearchResult result;
    const EngineRunOutcome outcome = RunEngineJob(SmallSearchJob(), result, request);
    window.join();
    ASSERT_TRUE(outcome.Succeeded()) << outcome.message;
    EXPECT_EQ(end, CProgressReceiver::Status::Closed);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), StepNumber(EngineStep::SearchStart));
    EXPECT_EQ(seen.back(), StepNumber(EngineStep::RunEnd));
    EXPECT_EQ(result.finalVs.GetCount(), 3);
    EXPECT_EQ(receiver.ChildDescriptor(), -1) << "the run hands the child end to runner alone";
}

TEST(EngineRun, OutcomesOfRunnersThatFailOrLeaveNothing)
{
    CScratchTmp tmp;
    struct Case
    {
        const char *name;
        std::string runner;
        bool started;
        int exitCode;
        bool resultFound;
        std::string message;
    };
    const Case cases[] = {
        { "runner missing", tmp.Path() + "/no-such-runner", false,
            RunnerExitNumber(RunnerExit::Killed), false, "no-such-runner" },
        { "exit 0 and no result file", tmp.Script("quiet", "exit 0"), true, 0, false,
            "wrote no result file" },
        { "exit 0 and an empty result file", tmp.Script("empty", ": > \"$4\"; exit 0"), true, 0,
            true, "ends early" },
        { "engine failure", tmp.Script("fails", "exit 1"), true,
            RunnerExitNumber(RunnerExit::EngineFailed), false,
            RunnerExitText(RunnerExitNumber(RunnerExit::EngineFailed)) },
        { "code outside the table", tmp.Script("odd", "exit 42"), true, 42, false, "exit code 42" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EngineRunRequest request;
        request.runnerPath = c.runner;
        ForwardResult result;
        const EngineRunOutcome outcome = RunEngineJob(SmallForwardJob(), result, request);
        EXPECT_EQ(outcome.started, c.started);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_EQ(outcome.resultFound, c.resultFound);
        EXPECT_FALSE(outcome.Succeeded());
        EXPECT_NE(outcome.message.find(c.message), std::string::npos) << outcome.message;
        EXPECT_EQ(tmp.Entries().size(), 4u) << "only the four scripts stay";
    }
}

TEST(EngineRun, RunnerReadsTheArgumentsTheRunPassesAndTheJobItWrote)
{
    CScratchTmp tmp;
    // The stand-in checks the command line as runner's contract has it: mode 0, an open
    // socket as handle, a readable job, and a result path in the same private folder.
    const std::string script = tmp.Script("check",
        "[ \"$#\" = 4 ] || exit 11\n"
        "[ \"$1\" = 0 ] || exit 12\n"
        "[ -S /proc/self/fd/$2 ] || exit 13\n"
        "[ -s \"$3\" ] || exit 14\n"
        "[ \"$(dirname \"$3\")\" = \"$(dirname \"$4\")\" ] || exit 15\n"
        "exit 3");
    EngineRunRequest request;
    request.runnerPath = script;
    ForwardResult result;
    const EngineRunOutcome outcome = RunEngineJob(SmallForwardJob(), result, request);
    EXPECT_EQ(outcome.exitCode, RunnerExitNumber(RunnerExit::JobUnreadable)) << outcome.message;
    EXPECT_EQ(outcome.message, RunnerExitText(RunnerExitNumber(RunnerExit::JobUnreadable)));
}

TEST(EngineRun, RunnerIsLookedForBesideTheRunningProgram)
{
    // The tests are built into the folder of runner, as VELA and vela-cli are.
    EXPECT_EQ(RunnerBesideThisProgram(), Runner);
}

TEST(RunnerExitCode, EveryCodeHasItsOwnText)
{
    std::vector<std::string> texts;
    for (int code = -1; code <= 7; ++code) {
        const std::string text = RunnerExitText(code);
        EXPECT_EQ(text.find("exit code"), std::string::npos) << code;
        for (const std::string &other : texts)
            EXPECT_NE(text, other);
        texts.push_back(text);
    }
    EXPECT_EQ(RunnerExitText(8), "runner failed with exit code 8");
}
