// The receiving end of the progress channel against a sender written here from the wire
// format: header words, record offsets, the one-byte answer and the ends of the stream.
#include "jobs/CProgressReceiver.h"
#include "jobs/CRunnerChild.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void Le32(std::vector<unsigned char> &out, int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

void Le64(std::vector<unsigned char> &out, double v)
{
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

// One notification laid out field by field at the record's offsets, reserved bytes 0xEE
// so that a decoder reading a reserved slot shows up.
std::vector<unsigned char> Notification(int32_t kind, int32_t step, int32_t value)
{
    std::vector<unsigned char> m;
    Le32(m, 1);
    Le32(m, 80);
    Le32(m, 0);
    Le32(m, kind); // 0
    m.insert(m.end(), 4, 0xEE); // 4
    Le64(m, 0.25); // 8 second misfit
    Le32(m, 3); // 16 iteration
    m.insert(m.end(), 4, 0xEE); // 20
    Le64(m, 0.05); // 24 target
    Le32(m, 2); // 32 trial
    Le32(m, 10); // 36 iterations requested
    Le64(m, 0.5); // 40 first misfit
    Le64(m, 0.125); // 48 current misfit
    Le32(m, value); // 56
    Le32(m, step); // 60
    Le32(m, 4); // 64 end reason
    m.insert(m.end(), 4, 0xEE); // 68
    Le64(m, 0.0625); // 72 latest trial misfit
    return m;
}

// Writes raw bytes as the engine would, then (optionally) waits for the one-byte answer.
struct FakeSender
{
    int fd;
    bool Send(const std::vector<unsigned char> &bytes, bool waitAnswer = true)
    {
        if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) != ssize_t(bytes.size()))
            return false;
        if (!waitAnswer)
            return true;
        unsigned char answer;
        return ::read(fd, &answer, 1) == 1;
    }
};

} // namespace

TEST(ProgressRecordCodec, DecodesEveryFieldAtItsOffsetAndSkipsReservedBytes)
{
    std::vector<unsigned char> m = Notification(1063, 9, 17);
    EngineProgress r = DecodeProgressRecord(m.data() + 12);
    EXPECT_EQ(r.kind, 1063);
    EXPECT_EQ(r.secondMisfit, 0.25);
    EXPECT_EQ(r.iterationCounter, 3);
    EXPECT_EQ(r.targetMisfit, 0.05);
    EXPECT_EQ(r.trialCounter, 2);
    EXPECT_EQ(r.iterationsRequested, 10);
    EXPECT_EQ(r.firstMisfit, 0.5);
    EXPECT_EQ(r.currentMisfit, 0.125);
    EXPECT_EQ(r.stepValue, 17);
    EXPECT_EQ(r.stepNumber, 9);
    EXPECT_EQ(r.endReason, 4);
    EXPECT_EQ(r.latestTrialMisfit, 0.0625);

    unsigned char again[80];
    EncodeProgressRecord(r, again);
    std::vector<unsigned char> expected(m.begin() + 12, m.end());
    for (int off : { 4, 20, 68 })
        std::memset(expected.data() + off, 0, 4);
    EXPECT_EQ(std::vector<unsigned char>(again, again + 80), expected);
}

TEST(ProgressReceiver, SenderWaitsForTheAnswerUntilTheCallbackHasReturned)
{
    CProgressReceiver receiver;
    ASSERT_TRUE(receiver.Open());
    ASSERT_GT(receiver.ChildDescriptor(), 2);
    std::atomic<bool> callbackDone { false };
    std::atomic<bool> answeredBeforeCallbackEnded { false };
    std::vector<int> steps;

    std::thread sender([&] {
        FakeSender s { receiver.ChildDescriptor() };
        for (int step : { 0, 6, 7 }) {
            callbackDone = false;
            ASSERT_TRUE(s.Send(Notification(1063, step, step)));
            if (!callbackDone)
                answeredBeforeCallbackEnded = true;
        }
        ASSERT_TRUE(s.Send(Notification(1064, 7, 0)));
    });
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(receiver.ReceiveOne([&](const EngineProgress &r) {
            // The sender must still be blocked here: make it observable by sleeping.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            steps.push_back(r.kind == EngineProgressKindEnd ? -r.endReason : r.stepNumber);
            callbackDone = true;
        }),
            CProgressReceiver::Status::Record);
    }
    sender.join();
    EXPECT_FALSE(answeredBeforeCallbackEnded);
    EXPECT_EQ(steps, (std::vector<int> { 0, 6, 7, -4 }));
    EXPECT_EQ(receiver.Count(), 4);
}

TEST(ProgressReceiver, ReportsHowTheStreamEnded)
{
    struct Case
    {
        const char *name;
        std::vector<unsigned char> bytes;
        CProgressReceiver::Status status;
    };
    std::vector<unsigned char> badId = Notification(1063, 1, 0);
    badId[0] = 2;
    std::vector<unsigned char> badCount = Notification(1063, 1, 0);
    badCount[4] = 79;
    std::vector<unsigned char> cut = Notification(1063, 1, 0);
    cut.resize(50);
    std::vector<unsigned char> cutHeader = Notification(1063, 1, 0);
    cutHeader.resize(7);
    const Case cases[] = {
        { "nothing sent", {}, CProgressReceiver::Status::Closed },
        { "identifier other than 1", badId, CProgressReceiver::Status::ProtocolError },
        { "byte count other than 80", badCount, CProgressReceiver::Status::ProtocolError },
        { "record cut short", cut, CProgressReceiver::Status::ProtocolError },
        { "header cut short", cutHeader, CProgressReceiver::Status::ProtocolError },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CProgressReceiver receiver;
        ASSERT_TRUE(receiver.Open());
        FakeSender s { receiver.ChildDescriptor() };
        if (!c.bytes.empty()) {
            ASSERT_TRUE(s.Send(c.bytes, false));
        }
        receiver.CloseChildDescriptor();
        int calls = 0;
        EXPECT_EQ(receiver.ReceiveAll([&](const EngineProgress &) { ++calls; }), c.status);
        EXPECT_EQ(calls, 0);
    }
}

TEST(ProgressReceiver, ADamagedNotificationReleasesTheWaitingSender)
{
    std::vector<unsigned char> badId = Notification(1063, 1, 0);
    badId[0] = 2;
    std::vector<unsigned char> cut = Notification(1063, 1, 0);
    cut.resize(50);
    for (const auto &bytes : { badId, cut }) {
        CProgressReceiver receiver;
        ASSERT_TRUE(receiver.Open());
        const int sender = receiver.ChildDescriptor();
        ASSERT_EQ(::send(sender, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
        if (bytes.size() < 92)
            ::shutdown(sender, SHUT_WR); // the sender's side of a notification cut short
        EXPECT_EQ(receiver.ReceiveOne(nullptr), CProgressReceiver::Status::ProtocolError);
        // The engine waits for an answer that will never come: it must see the end of the
        // channel rather than block (the poll only guards the test against hanging).
        pollfd p { sender, POLLIN, 0 };
        ASSERT_EQ(::poll(&p, 1, 10000), 1);
        unsigned char answer = 0;
        EXPECT_EQ(::read(sender, &answer, 1), 0);
    }
}

TEST(ProgressReceiver, AnswerToASenderThatHasGoneDoesNotKillTheReceiver)
{
    CProgressReceiver receiver;
    ASSERT_TRUE(receiver.Open());
    FakeSender s { receiver.ChildDescriptor() };
    ASSERT_TRUE(s.Send(Notification(1063, 5, 0), false));
    receiver.CloseChildDescriptor(); // the only sender end is gone before the answer
    int calls = 0;
    EXPECT_EQ(receiver.ReceiveOne([&](const EngineProgress &) { ++calls; }),
        CProgressReceiver::Status::Record);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(receiver.ReceiveOne(nullptr), CProgressReceiver::Status::Closed);
}

TEST(RunnerChild, ReportsExitCodesKillAndUnstartablePrograms)
{
    CRunnerChild ok;
    ASSERT_TRUE(ok.Start("/bin/sh", { "-c", "exit 7" }));
    EXPECT_EQ(ok.Wait(), 7);
    EXPECT_EQ(ok.Wait(), 7);

    CRunnerChild slow;
    // exec: an orphaned sleep would hold the test's output open for its 30 s.
    ASSERT_TRUE(slow.Start("/bin/sh", { "-c", "exec sleep 30" }));
    int code = 123;
    EXPECT_FALSE(slow.TryWait(&code));
    slow.Kill();
    EXPECT_EQ(slow.Wait(), CRunnerChild::KilledExitCode);

    CRunnerChild missing;
    std::string error;
    EXPECT_FALSE(missing.Start("/nonexistent/runner", {}, -1, &error));
    EXPECT_NE(error.find("/nonexistent/runner"), std::string::npos);
}

TEST(RunnerChild, OnlyTheNamedDescriptorCrossesIntoTheChild)
{
    CProgressReceiver receiver;
    ASSERT_TRUE(receiver.Open());
    const std::string child = std::to_string(receiver.ChildDescriptor());
    const std::string own = std::to_string(receiver.Descriptor());
    // The child reports which of the two descriptors it can see.
    const std::string script = "r=0; [ -e /proc/self/fd/" + child
        + " ] && r=$((r+1)); [ -e /proc/self/fd/" + own + " ] && r=$((r+2)); exit $r";
    CRunnerChild with;
    ASSERT_TRUE(with.Start("/bin/sh", { "-c", script }, receiver.ChildDescriptor()));
    EXPECT_EQ(with.Wait(), 1);
    CRunnerChild without;
    ASSERT_TRUE(without.Start("/bin/sh", { "-c", script }));
    EXPECT_EQ(without.Wait(), 0);
}
