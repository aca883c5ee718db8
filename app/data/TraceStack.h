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

struct TraceSet;

/// Adds a further record of the same geometry into the page's trace set: each of its traces,
/// less its mean (the set's traces had theirs removed on reading), goes onto the column of the
/// same receiver (mirrored when the set is reversed). Refused as StackTraceRead refuses, with
/// the set unchanged, also when the set holds no record; a record without a time step takes
/// the set's.
bool StackIntoTraceSet(TraceSet &set, const TraceReadResult &next, QString *message = nullptr);

#endif // VELA_APP_DATA_TRACESTACK_H
