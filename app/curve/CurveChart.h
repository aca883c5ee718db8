// The dispersion-curve page's chart and report chapter as plain data, so that the page, the
// report and vela-cli draw the same thing with or without a window.
#ifndef VELA_APP_CURVE_CURVECHART_H
#define VELA_APP_CURVE_CURVECHART_H

#include "app/chart/CChartRegion.h"

class CCurveTable;
class DispersionAnalysis;
class ReportWriter;

/// "Experimental dispersion curve" in the table's plane: the spectrum resampled onto the plane
/// under the points (when the analysis holds one), the points as error bars from the last
/// check (velocity, or slowness x 1000, with its bounds).
CChartRegion CurveChartRegion(const DispersionAnalysis *analysis, const CCurveTable &table);

/// The chapter "Dispersion curve": the table caption, the table (the grid's column titles and
/// one row per point as "%g") and the chart. The table is checked first.
void WriteCurveChapter(
    ReportWriter &report, const DispersionAnalysis *analysis, CCurveTable &table);

#endif // VELA_APP_CURVE_CURVECHART_H
