// Fork-join loop over independent items (frequencies) for the stages of the forward
// computation that follow the dispersion solver.
#ifndef VELA_ENGINE_FORWARDPARALLEL_H
#define VELA_ENGINE_FORWARDPARALLEL_H

#include <functional>

namespace velamod {

/// Sets the number of threads of the forward stages: 0 (the default) means all hardware
/// threads, 1 runs everything on the caller's thread. Results never depend on it: every
/// item is computed by one thread with the same operations.
void SetForwardThreadCount(int threadCount);

/// While alive, the forward computations started on the constructing thread (the solver's
/// frequency scan and the later stages) run on that thread alone, whatever the thread count.
/// A caller that already keeps every core busy with forward runs of its own (the many-start
/// search) uses it so that the cores are not oversubscribed. Results do not change.
class SerialForwardScope
{
public:
    SerialForwardScope();
    ~SerialForwardScope();
    SerialForwardScope(const SerialForwardScope &) = delete;
    SerialForwardScope &operator=(const SerialForwardScope &) = delete;

private:
    bool m_previous;
};

/// True on a thread inside a SerialForwardScope.
bool ForwardIsSerial();

/// Workers that ParallelFor uses for `count` items: between 1 and `count` (1 when count < 1).
int ParallelWorkerCount(int count);

/// Calls body(index, worker) once for every index in [0, count) on at most `workers` threads
/// (normally ParallelWorkerCount(count), taken once by the caller to size its scratch
/// storage); worker is in [0, workers) and no two calls with the same worker run at the
/// same time, so per-worker scratch needs no lock. The caller's thread takes part.
/// When a call throws, no further index is started and the first exception is rethrown on
/// the caller's thread after every worker has finished.
void ParallelFor(int count, int workers, const std::function<void(int index, int worker)> &body);

} // namespace velamod

#endif // VELA_ENGINE_FORWARDPARALLEL_H
