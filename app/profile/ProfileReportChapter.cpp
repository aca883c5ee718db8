// The profile chapter written through the report writer; kept apart from the plain items so
// that the profile core needs no QtGui.
#include "app/profile/ProfileCharts.h"
#include "app/profile/ProfileReport.h"
#include "app/profile/ProfileSection.h"
#include "app/results/ReportWriter.h"

void WriteProfileChapter(ReportWriter &report, const std::vector<ProfileReportItem> &items,
    const CChartRegion &dispersionChart, const CChartRegion &profileChart)
{
    if (items.empty())
        return;
    report.BeginSection();
    using Kind = ProfileReportItem::Kind;
    for (const ProfileReportItem &item : items) {
        switch (item.kind) {
        case Kind::Heading:
            report.ChapterHeading(item.text);
            break;
        case Kind::Row:
            report.LabelledRow(item.text, item.value);
            break;
        case Kind::SubHeading:
            report.SubHeading(item.text);
            break;
        case Kind::Sentence:
            report.Paragraph(item.text);
            break;
        case Kind::DispersionChart:
            report.ChartFigure(dispersionChart, item.text);
            break;
        case Kind::ProfileChart:
            report.ChartFigure(profileChart, item.text);
            break;
        }
    }
    report.ChapterEnd();
}

void WriteProfileChapter(
    ReportWriter &report, const DispersionAnalysis &analysis, const ProfilePageState &state)
{
    const bool valid = state.forwardValid || state.searchValid;
    WriteProfileChapter(report,
        ProfileReport(analysis, state.searchValid, state.uncertaintyIndex, &state.ensemble),
        BuildDispersionChart(analysis, DispersionLegend(), valid),
        BuildProfileChart(
            analysis, state.widths, state.points, state.uncertaintyIndex, valid, &state.ensemble));
}
