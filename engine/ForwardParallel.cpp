// Fork-join loop of the forward stages.
#include "engine/ForwardParallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace velamod {

namespace {

std::atomic<int> g_threadCount { 0 };
thread_local bool t_serial = false;

} // namespace

void SetForwardThreadCount(int threadCount) { g_threadCount.store(std::max(0, threadCount)); }

SerialForwardScope::SerialForwardScope()
    : m_previous(t_serial)
{
    t_serial = true;
}

SerialForwardScope::~SerialForwardScope() { t_serial = m_previous; }

bool ForwardIsSerial() { return t_serial; }

int ParallelWorkerCount(int count)
{
    if (count < 1 || t_serial)
        return 1;
    int threads = g_threadCount.load();
    if (threads == 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::max(1, std::min(threads, count));
}

void ParallelFor(int count, int workers, const std::function<void(int index, int worker)> &body)
{
    if (count <= 0)
        return;
    workers = std::max(1, std::min(workers, count));
    if (workers == 1) {
        for (int index = 0; index < count; ++index)
            body(index, 0);
        return;
    }

    // Items are handed out one at a time: their costs differ (higher frequencies carry more
    // modes), and a fixed split would leave one thread idle.
    std::atomic<int> next { 0 };
    std::atomic<bool> failed { false };
    std::exception_ptr firstError;
    std::mutex errorMutex;
    auto run = [&](int worker) {
        for (;;) {
            if (failed.load(std::memory_order_relaxed))
                return;
            const int index = next.fetch_add(1, std::memory_order_relaxed);
            if (index >= count)
                return;
            try {
                body(index, worker);
            } catch (...) {
                std::lock_guard<std::mutex> lock(errorMutex);
                if (!firstError)
                    firstError = std::current_exception();
                failed.store(true, std::memory_order_relaxed);
                return;
            }
        }
    };

    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers - 1));
    try {
        for (int worker = 1; worker < workers; ++worker)
            threads.emplace_back(run, worker);
    } catch (...) {
        // Could not start a thread: the threads already started and this one share the work.
    }
    run(0);
    for (std::thread &thread : threads)
        thread.join();
    if (firstError)
        std::rethrow_exception(firstError);
}

} // namespace velamod
