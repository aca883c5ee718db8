#include "app/spectrum/CGUIRispostaSperimentale2.h"

#include "app/chart/CChartWidget.h"
#include "app/data/UserNumber.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/SpectrumCharts.h"

#include <QApplication>
#include <QComboBox>
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
    bandLayout->addWidget(new QLabel(tr("Image"), bandGroup), 3, 0);
    m_method = new QComboBox(bandGroup);
    m_method->setObjectName(QStringLiteral("methodCombo"));
    m_method->addItem(tr("f-k spectrum"));
    m_method->addItem(tr("Phase shift"));
    m_method->setToolTip(tr("The phase-shift image sums the traces at their true distance from "
                            "the source; its pick follows the ridge and gives each point bounds"));
    bandLayout->addWidget(m_method, 3, 1);
    bandLayout->addWidget(new QLabel(tr("Velocities [m/s]"), bandGroup), 3, 2);
    auto *range = new QHBoxLayout;
    m_minVelocity = new QLineEdit(bandGroup);
    m_minVelocity->setObjectName(QStringLiteral("minVelocityEdit"));
    m_minVelocity->setMaximumWidth(70);
    m_maxVelocity = new QLineEdit(bandGroup);
    m_maxVelocity->setObjectName(QStringLiteral("maxVelocityEdit"));
    m_maxVelocity->setMaximumWidth(70);
    range->addWidget(m_minVelocity);
    range->addWidget(new QLabel(tr("to"), bandGroup));
    range->addWidget(m_maxVelocity);
    bandLayout->addLayout(range, 3, 3, 1, 2);
    m_minVelocity->setText(m_state.minVelocityText);
    m_maxVelocity->setText(m_state.maxVelocityText);

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
    for (QLineEdit *edit : { m_low, m_high, m_minVelocity, m_maxVelocity })
        connect(edit, &QLineEdit::textEdited, this, &CGUIRispostaSperimentale2::DocModified);
    connect(m_method, &QComboBox::activated, this, &CGUIRispostaSperimentale2::OnMethodChanged);
    for (QLineEdit *edit : { m_minVelocity, m_maxVelocity })
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (m_state.method == SpectrumMethod::PhaseShift) {
                StateFromControls();
                m_state.ComputeImage(Analysis() ? *Analysis() : DispersionAnalysis());
                DrawSpectrum();
            }
        });
    m_minVelocity->setEnabled(false);
    m_maxVelocity->setEnabled(false);
}

CGUIRispostaSperimentale2::~CGUIRispostaSperimentale2() = default;

void CGUIRispostaSperimentale2::StateFromControls()
{
    m_state.lowText = m_low->text();
    m_state.highText = m_high->text();
    m_state.minVelocityText = m_minVelocity->text();
    m_state.maxVelocityText = m_maxVelocity->text();
    m_state.method =
        m_method->currentIndex() == 1 ? SpectrumMethod::PhaseShift : SpectrumMethod::Fk;
}

void CGUIRispostaSperimentale2::OnMethodChanged(int)
{
    StateFromControls();
    const bool phaseShift = m_state.method == SpectrumMethod::PhaseShift;
    m_minVelocity->setEnabled(phaseShift);
    m_maxVelocity->setEnabled(phaseShift);
    // A curve of the other image no longer matches what the page shows.
    m_state.curvePicked = false;
    m_state.curve = PickedCurve();
    m_state.image = PhaseShiftImage();
    if (phaseShift && Analysis() && Analysis()->m_bAnalysed) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QString errors = m_state.ComputeImage(*Analysis());
        QApplication::restoreOverrideCursor();
        if (!errors.isEmpty())
            CMessageBox::Show(this, errors, tr("Error"), MessageRequest::Icon::Error);
    }
    emit DocModified();
    DrawSpectrum();
    DrawCurve();
}

void CGUIRispostaSperimentale2::InitPage()
{
    // A rebuilt page has no curve until one is picked again.
    m_state.curvePicked = false;
    m_state.curve = PickedCurve();
    m_state.image = PhaseShiftImage();
    m_spectrumChart->SetRegion(SpectrumChartRegion(DispersionAnalysis()));
    m_curveChart->SetRegion(PickedCurveChartRegion(m_state));
    m_spectrumChart->Refresh();
    m_curveChart->Refresh();
}

void CGUIRispostaSperimentale2::FirstRefresh()
{
    // The record may be new: the phase-shift image is made again from it.
    if (m_state.method == SpectrumMethod::PhaseShift && Analysis() && Analysis()->m_bAnalysed) {
        StateFromControls();
        m_state.ComputeImage(*Analysis());
    }
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
    const DispersionAnalysis &analysis = Analysis() ? *Analysis() : none;
    if (m_state.method == SpectrumMethod::PhaseShift)
        m_spectrumChart->SetRegion(
            PhaseShiftChartRegion(m_state, analysis.m_active.receiverSpacing));
    else
        m_spectrumChart->SetRegion(SpectrumChartRegion(analysis));
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
    StateFromControls();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString errors = m_state.PickCurve(*analysis);
    QApplication::restoreOverrideCursor();
    if (!errors.isEmpty()) {
        CMessageBox::Show(this, errors, tr("Error"), MessageRequest::Icon::Error);
        return;
    }
    emit DocModified();
    if (m_state.method == SpectrumMethod::PhaseShift)
        DrawSpectrum();
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
    StateFromControls();
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
    m_minVelocity->setText(m_state.minVelocityText);
    m_maxVelocity->setText(m_state.maxVelocityText);
    const bool phaseShift = m_state.method == SpectrumMethod::PhaseShift;
    m_method->setCurrentIndex(phaseShift ? 1 : 0);
    m_minVelocity->setEnabled(phaseShift);
    m_maxVelocity->setEnabled(phaseShift);
    if (phaseShift && Analysis() && Analysis()->m_bAnalysed)
        m_state.ComputeImage(*Analysis());
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
