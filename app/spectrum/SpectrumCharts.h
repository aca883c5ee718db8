// The spectrum page's two charts and report rows as plain data, so that the page, the report
// and vela-cli draw the same thing with or without a window.
#ifndef VELA_APP_SPECTRUM_SPECTRUMCHARTS_H
#define VELA_APP_SPECTRUM_SPECTRUMCHARTS_H

#include "app/chart/CChartRegion.h"

#include <QList>
#include <QPair>
#include <QString>

class DispersionAnalysis;
class ReportWriter;
struct SpectrumPageState;

/// "Spectrum f-k": the spectrum image over wave number and frequency (no object when the
/// analysis holds no spectrum).
CChartRegion SpectrumChartRegion(const DispersionAnalysis &analysis);

/// "Experimental dispersion curve": the picked curve, when one has been picked.
CChartRegion PickedCurveChartRegion(const SpectrumPageState &state);

/// Rows of the report chapter "Analysis results": "Final frequency" and "Initial frequency"
/// with the band texts followed by "Hz". Empty unless the analysed flag is set.
QList<QPair<QString, QString>> SpectrumReportRows(
    const DispersionAnalysis &analysis, const SpectrumPageState &state);

/// The chapter "Analysis results": the rows, an empty paragraph and the spectrum chart;
/// nothing unless the analysed flag is set.
void WriteSpectrumChapter(
    ReportWriter &report, const DispersionAnalysis &analysis, const SpectrumPageState &state);

#endif // VELA_APP_SPECTRUM_SPECTRUMCHARTS_H
