// The two charts of the profile page built from the analysis: the dispersion chart
// (experimental curve with its bounds, modes, apparent and effective curves) and the profile
// chart (initial and final Vs, uncertainty lines). Plain data for the chart widget and the report.
#ifndef VELA_APP_PROFILE_PROFILECHARTS_H
#define VELA_APP_PROFILE_PROFILECHARTS_H

#include "app/chart/CChartRegion.h"
#include "app/profile/ProfileRun.h"
#include "app/spectrum/DispersionAnalysis.h"

/// Which series of the dispersion chart the legend boxes show.
struct DispersionLegend
{
    bool experimental = true;
    bool modes = true;
    bool apparent = true;
    bool effective = true;
};

/// The dispersion chart: the experimental curve always (when the box is ticked), the computed
/// series only when `resultsValid`.
CChartRegion BuildDispersionChart(
    const DispersionAnalysis &analysis, const DispersionLegend &legend, bool resultsValid);

/// The uncertainty list's entry of the ensemble band (after the three sigma levels).
constexpr int EnsembleBandLevel = 4;

/// The profile chart: the initial Vs always, the final Vs when `resultsValid`, and the two
/// uncertainty lines when `uncertaintyLevel` (1 to 3) is chosen and results are valid; at
/// EnsembleBandLevel the ensemble's 10 % and 90 % lines and its median, when `ensemble` holds
/// one.
CChartRegion BuildProfileChart(const DispersionAnalysis &analysis, const CMatrix &widths,
    const CMatrix &points, int uncertaintyLevel, bool resultsValid,
    const EnsembleSummary *ensemble = nullptr);

#endif // VELA_APP_PROFILE_PROFILECHARTS_H
