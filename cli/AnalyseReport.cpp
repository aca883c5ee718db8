#include "cli/AnalyseReport.h"

#include "app/chart/CChartRegion.h"
#include "app/chart/CChartWidget.h"
#include "app/controls/CGridModel.h"
#include "app/curve/CCurveTable.h"
#include "app/curve/CurveChart.h"
#include "app/data/ActiveDataChapter.h"
#include "app/data/ActiveDataForm.h"
#include "app/data/TraceSet.h"
#include "app/profile/ProfileReport.h"
#include "app/profile/ProfileSection.h"
#include "app/results/CSoilClassification.h"
#include "app/results/ReportDriver.h"
#include "app/results/ReportWriter.h"
#include "app/results/ResultsChapter.h"
#include "app/results/ResultsForm.h"
#include "app/spectrum/SpectrumCharts.h"
#include "app/spectrum/SpectrumPageState.h"

#include <exception>

bool WriteAnalysisReport(const TraceSet &set, const DispersionAnalysis &analysis,
    const SpectrumPageState &spectrum, CCurveTable &curve, const ProfilePageState &profile,
    const CSoilClassification &classification, const QString &path, QString &message)
{
    ReportWriter report(&CChartWidget::ExportRegion);
    if (report.Open(path) != RtfOk) {
        message = path + QStringLiteral(": the report could not be opened");
        return false;
    }
    report.TitlePage(ReportDriver::ProductName(), ReportDriver::LegalCopyright());
    try {
        // The data page as it opens: receivers by number, each trace on its own scale.
        TraceChartView view;
        view.spacing = set.receiverSpacing;
        CChartRegion traces;
        FillTraceChartRegion(traces, set, set.lastReceiver, view);
        WriteActiveDataChapter(
            report, ActiveDataForm::ReportRows(set, analysis.m_active.reversed), traces);
        WriteSpectrumChapter(report, analysis, spectrum);
        WriteCurveChapter(report, &analysis, curve);
        WriteProfileChapter(report, analysis, profile);
        CGridModel summary;
        ResultsForm::FillSummary(summary, analysis.m_profile.layers);
        ResultsChapter::Write(report, classification, QStringLiteral("0"),
            ResultsForm::BedrockEntries(summary), true);
    } catch (const std::exception &error) {
        report.Abandon();
        message = path + QStringLiteral(": the report could not be written: ")
            + QString::fromUtf8(error.what());
        return false;
    }
    if (!report.Close()) {
        message = path + QStringLiteral(": the report could not be written completely");
        return false;
    }
    return true;
}
