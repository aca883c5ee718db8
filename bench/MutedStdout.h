// Keeps the engine's progress lines out of a benchmark report: while a Muted object lives,
// standard output goes to /dev/null.
#ifndef VELA_BENCH_MUTEDSTDOUT_H
#define VELA_BENCH_MUTEDSTDOUT_H

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

class Muted
{
public:
    Muted()
    {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        const int sink = open("/dev/null", O_WRONLY);
        if (sink >= 0) {
            dup2(sink, STDOUT_FILENO);
            close(sink);
        }
    }
    ~Muted()
    {
        std::fflush(stdout);
        if (m_saved >= 0) {
            dup2(m_saved, STDOUT_FILENO);
            close(m_saved);
        }
    }
    Muted(const Muted &) = delete;
    Muted &operator=(const Muted &) = delete;

private:
    int m_saved = -1;
};

#endif // VELA_BENCH_MUTEDSTDOUT_H
