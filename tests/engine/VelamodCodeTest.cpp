// Tests of the engine's progress notifications: the 80-byte record through a real socket
// pair, the printed lines without a window, and a peer that goes away.
#include "engine/VelamodCode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

namespace {

template <typename T> T Read(const std::vector<unsigned char> &bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The host's side: a socket pair whose far end reads whole notifications and answers each.
class SocketHost
{
public:
    SocketHost()
    {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) == 0) {
            m_engineEnd = ends[0];
            m_hostEnd = ends[1];
        }
    }
    ~SocketHost()
    {
        CloseHostEnd();
        if (m_engineEnd >= 0)
            ::close(m_engineEnd);
    }
    int EngineEnd() const { return m_engineEnd; }
    void CloseHostEnd()
    {
        if (m_hostEnd >= 0)
            ::close(m_hostEnd);
        m_hostEnd = -1;
    }

    // Reads `count` notifications on a thread while `send` runs, answering each one.
    template <typename Send> std::vector<std::vector<unsigned char>> Receive(int count, Send send)
    {
        std::vector<std::vector<unsigned char>> messages;
        std::thread reader([&]() {
            for (int i = 0; i < count; ++i) {
                std::vector<unsigned char> message(NotificationMessageBytes);
                std::size_t got = 0;
                while (got < message.size()) {
                    const ssize_t n =
                        ::recv(m_hostEnd, message.data() + got, message.size() - got, 0);
                    if (n <= 0)
                        return;
                    got += static_cast<std::size_t>(n);
                }
                messages.push_back(message);
                const unsigned char answer = 1;
                if (::send(m_hostEnd, &answer, 1, MSG_NOSIGNAL) != 1)
                    return;
            }
        });
        send();
        reader.join();
        return messages;
    }

private:
    int m_engineEnd = -1;
    int m_hostEnd = -1;
};

struct HostVariables
{
    bool stop = false;
    int spareA = 0, spareB = 0;
    double first = 0.25, second = 0.5, current = 0.125, target = 0.0625;
};

void Attach(VelamodCode &engine, HostVariables &v, NotificationWindow window)
{
    engine.SetPointer(&v.stop, &v.spareA, &v.second, &v.first, &v.current, &v.target, &v.spareB,
        nullptr, nullptr, window);
}

TEST(EngineNotifications, StepAndEndRecordsAreSentByteExactThroughTheSocket)
{
    SocketHost host;
    ASSERT_GE(host.EngineEnd(), 0);
    VelamodCode engine;
    HostVariables v;
    Attach(engine, v, host.EngineEnd());

    const auto messages = host.Receive(2, [&]() {
        engine.SegnalaStep(7, 3);
        v.first = 9.5; // the end record carries the variables' values of its own time
        engine.SegnalaFine(4);
    });
    ASSERT_EQ(messages.size(), 2u);
    for (const auto &m : messages) {
        ASSERT_EQ(m.size(), 92u);
        EXPECT_EQ(Read<std::int32_t>(m, 0), 1) << "identifier";
        EXPECT_EQ(Read<std::int32_t>(m, 4), 80) << "byte count";
        EXPECT_EQ(Read<std::int32_t>(m, 8), 0) << "no address crosses the process boundary";
    }
    const std::size_t r = sizeof(CopyDataHeader);
    const auto &step = messages[0];
    EXPECT_EQ(Read<std::int32_t>(step, r + 0), 1063);
    EXPECT_EQ(Read<double>(step, r + 8), 0.5) << "second misfit";
    EXPECT_EQ(Read<std::int32_t>(step, r + 16), 0) << "iteration counter";
    EXPECT_EQ(Read<double>(step, r + 24), 0.0625) << "target misfit";
    EXPECT_EQ(Read<std::int32_t>(step, r + 32), 0) << "trial counter";
    EXPECT_EQ(Read<std::int32_t>(step, r + 36), 0) << "iterations requested";
    EXPECT_EQ(Read<double>(step, r + 40), 0.25) << "first misfit";
    EXPECT_EQ(Read<double>(step, r + 48), 0.125) << "current misfit";
    EXPECT_EQ(Read<std::int32_t>(step, r + 56), 3) << "step value";
    EXPECT_EQ(Read<std::int32_t>(step, r + 60), 7) << "step number";
    EXPECT_EQ(Read<double>(step, r + 72), 0.0) << "latest trial misfit";

    const auto &end = messages[1];
    EXPECT_EQ(Read<std::int32_t>(end, r + 0), 1064);
    EXPECT_EQ(Read<double>(end, r + 40), 9.5);
    EXPECT_EQ(Read<std::int32_t>(end, r + 60), 7) << "step number left as it was";
    EXPECT_EQ(Read<std::int32_t>(end, r + 56), 3) << "step value left as it was";
    EXPECT_EQ(Read<std::int32_t>(end, r + 64), 4) << "end reason";
    for (const std::size_t reserved : { 4u, 20u, 68u })
        EXPECT_EQ(Read<std::int32_t>(end, r + reserved), 0) << "reserved bytes at " << reserved;
}

TEST(EngineNotifications, WithoutAWindowTheStepsArePrinted)
{
    VelamodCode engine;
    HostVariables v;
    Attach(engine, v, NoNotificationWindow);
    testing::internal::CaptureStdout();
    engine.SegnalaStep(0, 0);
    engine.SegnalaStep(14, 2);
    engine.SegnalaFine(1);
    EXPECT_EQ(
        testing::internal::GetCapturedStdout(), "SegnalaStep 0\nSegnalaStep 14\nSegnalaFine 1 \n");
}

TEST(EngineNotifications, AClosedPeerStopsTheNotificationsWithoutHarm)
{
    SocketHost host;
    ASSERT_GE(host.EngineEnd(), 0);
    VelamodCode engine;
    HostVariables v;
    Attach(engine, v, host.EngineEnd());
    host.CloseHostEnd();
    // Without MSG_NOSIGNAL the first send would raise SIGPIPE and end the process; without
    // noticing the closed peer the engine would wait for an answer for ever.
    for (int step = 0; step < 5; ++step)
        engine.SegnalaStep(step, step);
    engine.SegnalaFine(0);
    SUCCEED();
}

TEST(EngineNotifications, ASenderGetsFalseFromAChannelThatIsNotASocketPeer)
{
    EngineProgress record {};
    EXPECT_FALSE(velamod::SendProgressNotification(-1, record));
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    EXPECT_FALSE(velamod::SendProgressNotification(pipeEnds[1], record));
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

} // namespace
