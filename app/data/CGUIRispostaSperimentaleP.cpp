#include "app/data/CGUIRispostaSperimentaleP.h"

#include "app/chart/CChartWidget.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/PassiveAnalysis.h"

#include <QApplication>
#include <QFileDialog>

#include <algorithm>

namespace {

// The passive page offers every format on its own, without an entry for all of them.
const char *const PassiveTraceFileFilter = QT_TRANSLATE_NOOP("CGUIRispostaSperimentaleP",
    "Text file (*.TXT)|*.txt|Seg2 file (*.SEG2,*.SG2,*.DAT)|*.seg2;*.sg2;*.dat|"
    "Excel file(*.XLS)|*.xls;*.xlsx|SU file(*.SU)|*.su|SEGY file(*.SEGY,*.SGY)|*.segy;*.sgy|"
    "DRM File (*.DRM)|*.drm||");

} // namespace

CGUIRispostaSperimentaleP::CGUIRispostaSperimentaleP(
    QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CGUIRispostaSperimentale1(parent, steps, analysis, TemplateId, PassiveDataSectionTag)
{
    setObjectName(QStringLiteral("CGUIRispostaSperimentaleP"));
    SetFileChooser([this]() {
        return QFileDialog::getOpenFileName(
            this, QString(), QString(), PassiveFileFilters().join(QStringLiteral(";;")));
    });
}

CGUIRispostaSperimentaleP::~CGUIRispostaSperimentaleP() = default;

QStringList CGUIRispostaSperimentaleP::PassiveFileFilters()
{
    return DialogFilters(
        QCoreApplication::translate("CGUIRispostaSperimentaleP", PassiveTraceFileFilter));
}

void CGUIRispostaSperimentaleP::OnPrevious()
{
    const DispersionAnalysis *analysis = Analysis();
    emit GotoStep(StepCode, analysis && analysis->m_bAnalysed ? Step::Spectrum : Step::ActiveData);
}

void CGUIRispostaSperimentaleP::OnHelp() { OpenStepHelp(StepCode); }

void CGUIRispostaSperimentaleP::OnNext()
{
    if (ValidateInput())
        return;
    if (DispersionAnalysis *analysis = Analysis()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const PassiveSpectrum spectrum = AnalysePassiveRecord(*analysis, Traces());
        QApplication::restoreOverrideCursor();
        // A record the transform cannot take is said so here rather than shown as an empty
        // image on the next page.
        if (!spectrum.ok) {
            CMessageBox::Show(this, spectrum.message, tr("Error"), MessageRequest::Icon::Error);
            return;
        }
    }
    emit GotoStep(StepCode, Step::DispersionCurve + FreshPageFlag);
    emit DocModified();
}

QList<QPair<QString, QString>> CGUIRispostaSperimentaleP::PassiveReportRows() const
{
    const DispersionAnalysis *analysis = Analysis();
    if (!analysis || !analysis->m_bPassivePrepared)
        return {};
    QList<QPair<QString, QString>> rows =
        ActiveDataForm::ReportRows(Traces(), analysis->m_passive.reversed);
    const QString spacingLabel = QCoreApplication::translate("ActiveDataForm", "Sensors distance:");
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                   [&](const QPair<QString, QString> &row) { return row.first == spacingLabel; }),
        rows.end());
    return rows;
}

int CGUIRispostaSperimentaleP::WriteReport(ReportWriter &report)
{
    const QList<QPair<QString, QString>> rows = PassiveReportRows();
    if (rows.isEmpty())
        return 0;
    report.BeginSection();
    report.ChapterHeading(tr("Analysis results (P)"));
    // The last row is the sentence on the order of the sensors.
    for (int index = 0; index + 1 < rows.size(); ++index)
        report.LabelledRow(rows[index].first, rows[index].second);
    report.Paragraph(rows.constLast().first);
    report.ChartFigure(TraceChartWidget()->Region(), tr("Experimental traces"));
    report.ChapterEnd();
    return 0;
}
