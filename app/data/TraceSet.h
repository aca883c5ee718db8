// One multichannel seismic record as an experimental-data page holds it: the traces and the
// acquisition parameters that go with them.
#ifndef VELA_APP_DATA_TRACESET_H
#define VELA_APP_DATA_TRACESET_H

#include "app/data/TraceReaders.h"
#include "matrix/CMatrix.h"

#include <QString>

/// The trace set of a page. Fields in the order the page's document section and the hand-over
/// to the analysis use them. Only the owning page writes into it.
///
/// After a successful read: traces is sampleCount x traceCount (element (sample, trace)),
/// sampleAxis is sampleCount x 1 holding 0, 1, 2, ...; window start 0, window end
/// sampleCount x timeStep, reversed false. Amplitudes are kept as decoded; the page removes each
/// trace's mean (RemoveTraceMeans) right after every read and document load, as an explicit
/// step, so that the spectrum, the document and the text export see the same mean-free traces
/// whether or not the chart has been drawn. Drawing changes nothing.
struct TraceSet
{
    bool loaded = false;
    QString fileName; ///< full path of the last file read
    double timeStep = 0.0; ///< sampling interval [ms]
    double receiverSpacing = 0.0; ///< distance between consecutive receivers [m]
    int traceCount = 0;
    int firstReceiver = 0; ///< 0-based, always 0 in practice
    int lastReceiver = 0; ///< 0-based
    int windowSampleCount = 0; ///< whole part of (window end / time step) + 1, set by the check
    int sampleCount = 0;
    double windowStart = 0.0; ///< [ms]
    double windowEnd = 0.0; ///< [ms]
    double receiversDepth = 0.0; ///< [m], kept at 0
    double sourceDepth = 0.0; ///< [m], kept at 0
    bool reversed = false;
    CMatrix traces { 0, 0 };
    CMatrix sampleAxis { 0, 1 };
    /// What the file said about receivers, source and trigger; not part of the document, so
    /// a loaded document has none. The page proposes the spacing and shows the rest.
    TraceGeometry geometry;

    /// Stores a successful read: traces, counts, sample axis, the file's geometry, and the
    /// file's time step when it gave one (otherwise the one in force stays). Window
    /// 0 .. sampleCount x timeStep, reversed false, loaded true. The receiver spacing is left to
    /// the page's field.
    void Replace(const TraceReadResult &read, const QString &path);

    /// Places the columns of a successful read after the current ones. When the read has
    /// another number of samples, nothing changes and false is returned (the caller shows the
    /// merge message); otherwise the set is as after Replace with the new file, except that it
    /// keeps the current columns in front. The geometry keeps what both files agree on: the
    /// spacing when equal, the receivers and source when the new spread continues the current
    /// one from the same source, the delay when equal.
    bool Append(const TraceReadResult &read, const QString &path);

    /// Mirrors the column order in place (column c <-> column N-1-c); twice restores it.
    void Reverse();

    /// Subtracts each trace's mean from its column, in place. A constant offset of the
    /// instrument would otherwise, once the window is padded with zeros, leak into the low
    /// frequencies of the spectrum.
    void RemoveTraceMeans();

    /// Rebuilds sampleAxis as 0 .. sampleCount - 1.
    void RebuildSampleAxis();
};

/// The message shown, with the caption "Error", when an appended file has another number of
/// time samples.
QString TraceMergeMessage();

#endif // VELA_APP_DATA_TRACESET_H
