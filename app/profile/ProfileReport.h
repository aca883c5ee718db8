// The profile page's chapter of the report as plain items: heading, labelled rows, sub-headings,
// sentences and the captions of the two charts. The report writer lays them out.
#ifndef VELA_APP_PROFILE_PROFILEREPORT_H
#define VELA_APP_PROFILE_PROFILEREPORT_H

#include "app/profile/ProfileRun.h"
#include "app/spectrum/DispersionAnalysis.h"

class CChartRegion;
struct ProfilePageState;

#include <QString>

#include <vector>

/// One item of the chapter, in order.
struct ProfileReportItem
{
    enum class Kind { Heading, Row, SubHeading, Sentence, DispersionChart, ProfileChart };
    Kind kind = Kind::Row;
    QString text; ///< heading, label, sub-heading, sentence or figure caption
    QString value; ///< the value of a labelled row
};

/// The chapter "Field profile" of the collected profile. `searchRun` tells whether the last run
/// was an automatic search (the search's parameters and captions then apply);
/// `uncertaintyLevel` is the uncertainty shown (0 none, 1 to 3, 4 the ensemble band). A valid
/// `ensemble` adds, before the charts, the normalised misfit, the Vs30 range, the depth of
/// investigation and the warnings of the many-start search.
std::vector<ProfileReportItem> ProfileReport(const DispersionAnalysis &analysis, bool searchRun,
    int uncertaintyLevel, const EnsembleSummary *ensemble = nullptr);

class ReportWriter;

/// Writes the chapter through the report writer for a page state as the document keeps it
/// (flags, uncertainty shown, widths and points), the two charts built from the analysis with
/// every series. Needs no window: a page and a command-line run write the same chapter.
void WriteProfileChapter(
    ReportWriter &report, const DispersionAnalysis &analysis, const ProfilePageState &state);

/// The same with the charts as given (the page passes what it shows).
void WriteProfileChapter(ReportWriter &report, const std::vector<ProfileReportItem> &items,
    const CChartRegion &dispersionChart, const CChartRegion &profileChart);

#endif // VELA_APP_PROFILE_PROFILEREPORT_H
