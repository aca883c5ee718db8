// The profile page's chapter of the report as plain items: heading, labelled rows, sub-headings,
// sentences and the captions of the two charts. The report writer lays them out.
#ifndef VELA_APP_PROFILE_PROFILEREPORT_H
#define VELA_APP_PROFILE_PROFILEREPORT_H

#include "app/spectrum/DispersionAnalysis.h"

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
/// `uncertaintyLevel` is the uncertainty shown (0 none, 1 to 3).
std::vector<ProfileReportItem> ProfileReport(
    const DispersionAnalysis &analysis, bool searchRun, int uncertaintyLevel);

#endif // VELA_APP_PROFILE_PROFILEREPORT_H
