// Stacking of repeated records of one source position: trace-by-trace sums.
#ifndef VELA_APP_DATA_TRACESTACK_H
#define VELA_APP_DATA_TRACESTACK_H

#include "app/data/TraceReaders.h"

#include <QString>

/// Adds `next` into `sum` sample by sample, trace by trace (repeated blows at one source
/// position add up coherently while the noise does not). Both must have the same number of
/// traces, of samples and the same time step; otherwise `sum` is left unchanged, false is
/// returned and `message` (when given) says why. An empty `sum` (not ok) takes `next` as it is.
bool StackTraceRead(TraceReadResult &sum, const TraceReadResult &next, QString *message = nullptr);

#endif // VELA_APP_DATA_TRACESTACK_H
