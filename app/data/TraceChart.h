// What the trace chart of an experimental-data page draws, computed without widgets: one
// wiggle per trace, the outline of the record and of the analysed window, and the view.
#ifndef VELA_APP_DATA_TRACECHART_H
#define VELA_APP_DATA_TRACECHART_H

#include <QString>

#include <vector>

struct TraceSet;

/// Curves in chart units: x in receiver positions (trace c at c + 1), y in seconds.
struct TraceChart
{
    struct Curve
    {
        std::vector<double> x;
        std::vector<double> y;
    };
    std::vector<Curve> wiggles; ///< one per trace
    Curve outline; ///< record frame with the window and the receivers in use
    double xMin = 0.0, xMax = 0.0; ///< view: 0 .. N + 1
    double yMin = 0.0, yMax = 0.0; ///< view: 0 .. time of the last sample [s]
    QString information; ///< "(%d receivers, %d time samples)"
};

/// Builds the chart of a trace set. Removes each trace's mean from the stored traces first (in
/// place, as drawing always has); each wiggle is x = c + 1 + 0.5 * trace / max|trace|, or the
/// straight line x = c + 1 for a trace that is all zero or not a number.
/// @param lastReceiverIndex selection of the receiver list: the window outline reaches
///        N + 1 when it selects the last receiver, otherwise lastReceiverIndex + 1.5.
TraceChart BuildTraceChart(TraceSet &set, int lastReceiverIndex);

/// The information label: "(%d receivers, %d time samples)".
QString TraceInformation(int traces, int samples);

#endif // VELA_APP_DATA_TRACECHART_H
