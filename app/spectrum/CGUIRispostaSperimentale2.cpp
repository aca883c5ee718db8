#include "app/spectrum/CGUIRispostaSperimentale2.h"

#include "app/chart/CChartWidget.h"
#include "app/data/UserNumber.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/SpectrumCharts.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CGUIRispostaSperimentale2::CGUIRispostaSperimentale2(
    QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CChildDialog(TemplateId, parent, steps, analysis)
{
    setObjectName(QStringLiteral("CGUIRispostaSperimentale2"));

    m_spectrumChart = new CChartWidget(this, SpectrumChartId);
    m_spectrumChart->setObjectName(QStringLiteral("spectrumChart"));
    m_spectrumChart->setMinimumSize(320, 300);
    m_curveChart = new CChartWidget(this, CurveChartId);
    m_curveChart->setObjectName(QStringLiteral("curveChart"));
    m_curveChart->setMinimumSize(320, 300);

    auto *bandGroup = new QGroupBox(tr("Bandwidth"), this);
    auto *bandLayout = new QGridLayout(bandGroup);
    auto *explanation = new QLabel(tr("Give the frequency band in which the dispersion curve is "
                                      "picked: for every frequency the phase velocity of the "
                                      "strongest wave number is taken."),
        bandGroup);
    explanation->setWordWrap(true);
    bandLayout->addWidget(explanation, 0, 0, 1, 6);
    bandLayout->addWidget(new QLabel(tr("Lower limit [Hz]"), bandGroup), 1, 0);
    m_low = new QLineEdit(bandGroup);
    m_low->setObjectName(QStringLiteral("lowerLimitEdit"));
    m_low->setMaximumWidth(90);
    bandLayout->addWidget(m_low, 1, 1);
    bandLayout->addWidget(new QLabel(tr("Upper limit [Hz]"), bandGroup), 1, 2);
    m_high = new QLineEdit(bandGroup);
    m_high->setObjectName(QStringLiteral("upperLimitEdit"));
    m_high->setMaximumWidth(90);
    bandLayout->addWidget(m_high, 1, 3);
    m_pick = new QPushButton(tr("Pick the dispersion curve"), bandGroup);
    m_pick->setObjectName(QStringLiteral("pickButton"));
    bandLayout->addWidget(m_pick, 1, 4);
    bandLayout->setColumnStretch(5, 1);
    m_hint = new QLabel(bandGroup);
    m_hint->setObjectName(QStringLiteral("bandHintLabel"));
    bandLayout->addWidget(m_hint, 2, 0, 1, 6);

    m_previous = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), tr("Previous"), this);
    m_previous->setObjectName(QStringLiteral("previousButton"));
    m_help = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("Help"), this);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_next = new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward), tr("Next"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addStretch(1);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    buttons->addWidget(m_next);

    auto *page = new QGridLayout(this);
    page->addWidget(m_spectrumChart, 0, 0);
    page->addWidget(m_curveChart, 0, 1);
    page->setRowStretch(0, 1);
    page->setColumnStretch(0, 1);
    page->setColumnStretch(1, 1);
    page->addWidget(bandGroup, 1, 0, 1, 2);
    page->addLayout(buttons, 2, 0, 1, 2);

    connect(m_pick, &QPushButton::clicked, this, &CGUIRispostaSperimentale2::OnPick);
    connect(m_previous, &QPushButton::clicked, this, &CGUIRispostaSperimentale2::OnPrevious);
    connect(m_help, &QPushButton::clicked, this, &CGUIRispostaSperimentale2::OnHelp);
    connect(m_next, &QPushButton::clicked, this, &CGUIRispostaSperimentale2::OnNext);
    for (QLineEdit *edit : { m_low, m_high })
        connect(edit, &QLineEdit::textEdited, this, &CGUIRispostaSperimentale2::DocModified);
}

CGUIRispostaSperimentale2::~CGUIRispostaSperimentale2() = default;

void CGUIRispostaSperimentale2::InitPage()
{
    // A rebuilt page has no curve until one is picked again.
    m_state.curvePicked = false;
    m_state.curve = PickedCurve();
    m_spectrumChart->SetRegion(SpectrumChartRegion(DispersionAnalysis()));
    m_curveChart->SetRegion(PickedCurveChartRegion(m_state));
    m_spectrumChart->Refresh();
    m_curveChart->Refresh();
}

void CGUIRispostaSperimentale2::FirstRefresh()
{
    DrawSpectrum();
    DrawCurve();
}

void CGUIRispostaSperimentale2::ShowBandHint()
{
    const DispersionAnalysis *analysis = Analysis();
    if (!analysis || !analysis->m_bAnalysed) {
        m_hint->setText(tr("No spectrum: read the traces on the experimental data page first."));
        return;
    }
    const ShotRecord &rec = analysis->m_active;
    const double step = rec.frequencyAxis.GetRows() > 1 ? rec.frequencyAxis(1) : 0.0;
    m_hint->setText(tr("Frequency step %1 Hz, highest frequency %2 Hz")
                        .arg(FormatUserNumber(step), FormatUserNumber(SpectrumMaxFrequency(rec))));
}

void CGUIRispostaSperimentale2::DrawSpectrum()
{
    ShowBandHint();
    static const DispersionAnalysis none;
    m_spectrumChart->SetRegion(SpectrumChartRegion(Analysis() ? *Analysis() : none));
    m_spectrumChart->Refresh();
    m_spectrumChart->ZoomAll();
}

void CGUIRispostaSperimentale2::DrawCurve()
{
    m_curveChart->SetRegion(PickedCurveChartRegion(m_state));
    m_curveChart->Refresh();
    m_curveChart->ZoomAll();
}

void CGUIRispostaSperimentale2::OnPick()
{
    DispersionAnalysis *analysis = Analysis();
    if (!analysis)
        return;
    m_state.lowText = m_low->text();
    m_state.highText = m_high->text();
    const QString errors = m_state.PickCurve(*analysis);
    if (!errors.isEmpty()) {
        CMessageBox::Show(this, errors, tr("Error"), MessageRequest::Icon::Error);
        return;
    }
    emit DocModified();
    DrawCurve();
}

void CGUIRispostaSperimentale2::OnPrevious() { emit GotoStep(StepCode, Step::ActiveData); }

void CGUIRispostaSperimentale2::OnHelp() { OpenStepHelp(StepCode); }

void CGUIRispostaSperimentale2::OnNext()
{
    emit GotoStep(StepCode, Step::DispersionCurve + FreshPageFlag);
    emit DocModified();
}

int CGUIRispostaSperimentale2::SaveSection(CMatrixArchive &ar, int)
{
    m_state.lowText = m_low->text();
    m_state.highText = m_high->text();
    static const DispersionAnalysis none;
    m_state.StoreSection(ar, Analysis() ? *Analysis() : none);
    return 0;
}

int CGUIRispostaSperimentale2::LoadSection(CMatrixArchive &ar, int)
{
    DispersionAnalysis scratch;
    m_state.LoadSection(ar, Analysis() ? *Analysis() : scratch);
    m_low->setText(m_state.lowText);
    m_high->setText(m_state.highText);
    DrawSpectrum();
    DrawCurve();
    return 0;
}

QList<QPair<QString, QString>> CGUIRispostaSperimentale2::ReportRows() const
{
    SpectrumPageState state = m_state;
    state.lowText = m_low->text();
    state.highText = m_high->text();
    static const DispersionAnalysis none;
    return SpectrumReportRows(Analysis() ? *Analysis() : none, state);
}

int CGUIRispostaSperimentale2::WriteReport(ReportWriter &report)
{
    m_state.lowText = m_low->text();
    m_state.highText = m_high->text();
    static const DispersionAnalysis none;
    WriteSpectrumChapter(report, Analysis() ? *Analysis() : none, m_state);
    return 0;
}

int CGUIRispostaSperimentale2::OnExportText(CChartWidget *chart, const QString &path)
{
    // A file that cannot be written ends the export without a message.
    const DispersionAnalysis *analysis = Analysis();
    if (chart == m_curveChart && m_state.curvePicked)
        WritePickedCurveText(path, m_state.curve.frequencies, m_state.curve.velocities);
    else if (chart == m_spectrumChart && analysis && analysis->m_bAnalysed)
        WriteSpectrumText(path, analysis->m_active);
    return 0;
}
