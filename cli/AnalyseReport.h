// The analysis report of vela-cli analyse: what "Save..." writes for the pages of the steps
// taken, each chapter written by its page's plain core, the charts drawn off screen.
#ifndef VELA_CLI_ANALYSEREPORT_H
#define VELA_CLI_ANALYSEREPORT_H

#include <QString>

struct TraceSet;
class DispersionAnalysis;
struct SpectrumPageState;
class CCurveTable;
struct ProfilePageState;
class CSoilClassification;

/// Writes the report into `path`: the title page, then the chapters of the data, spectrum,
/// curve, profile and results pages. False with `message` when it could not be written (a
/// report abandoned half-way leaves nothing under its name). Needs a QApplication (the charts
/// are drawn by the chart widget, without showing it).
bool WriteAnalysisReport(const TraceSet &set, const DispersionAnalysis &analysis,
    const SpectrumPageState &spectrum, CCurveTable &curve, const ProfilePageState &profile,
    const CSoilClassification &classification, const QString &path, QString &message);

#endif // VELA_CLI_ANALYSEREPORT_H
