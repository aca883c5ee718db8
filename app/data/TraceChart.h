// What the trace chart of an experimental-data page draws, computed without widgets: one
// wiggle per trace, the filled positive lobes in the metre view, the outline of the record and
// of the analysed window, and the view.
#ifndef VELA_APP_DATA_TRACECHART_H
#define VELA_APP_DATA_TRACECHART_H

#include <QString>

#include <vector>

struct TraceSet;

/// How the traces are laid out. A view setting of the page, not part of the document.
struct TraceChartView
{
    /// Horizontal axis in metres from the source (traces at sourceOffset + c x spacing, positive
    /// lobes filled); otherwise receivers by number (trace c at c + 1).
    bool metres = false;
    /// One amplitude scale for the whole record, so that decay with offset shows; otherwise
    /// every trace is scaled to its own largest value.
    bool commonScale = false;
    double spacing = 1.0; ///< [m], metre view only; values <= 0 count as 1
    double sourceOffset = 0.0; ///< [m] from the source to the first receiver, metre view only
};

/// Curves in chart units: x in receiver numbers or metres, y in seconds.
struct TraceChart
{
    struct Curve
    {
        std::vector<double> x;
        std::vector<double> y;
    };
    std::vector<Curve> wiggles; ///< one per trace
    std::vector<Curve> fills; ///< metre view: one closed outline of positive lobes per trace
    Curve outline; ///< record frame with the window and the receivers in use
    double xMin = 0.0, xMax = 0.0; ///< view: the frame's left and right edges
    double yMin = 0.0, yMax = 0.0; ///< view: 0 .. time of the last sample [s]
    QString information; ///< "(%d receivers, %d time samples)"
};

/// Builds the chart of a trace set; the set is not changed. Each trace is drawn without its
/// mean, divided by its own largest absolute value (or the record's, with commonScale) and
/// placed at its position p: x = p + 0.5 x step x amplitude, where step is 1 receiver or the
/// spacing. A trace that is all zero or not a number is the straight line x = p.
/// @param lastReceiverIndex selection of the receiver list: the window outline reaches the
///        frame's right edge when it selects the last receiver, otherwise half a step past it.
TraceChart BuildTraceChart(
    const TraceSet &set, int lastReceiverIndex, const TraceChartView &view = TraceChartView());

/// The information label: "(%d receivers, %d time samples)".
QString TraceInformation(int traces, int samples);

#endif // VELA_APP_DATA_TRACECHART_H
