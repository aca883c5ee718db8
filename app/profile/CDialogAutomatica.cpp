#include "app/profile/CDialogAutomatica.h"

#include "app/chart/CChartWidget.h"
#include "app/chart/CLineSeries.h"
#include "app/profile/CGUIProfiloIniziale.h"
#include "app/profile/ProfileRun.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

// Remaining times above this are shown in hours and minutes.
constexpr long ShortRemainingSeconds = 900;

const char *const LogColors[] = { "#000000", "#c00000", "#0000c0" };

} // namespace

CDialogAutomatica::CDialogAutomatica(CGUIProfiloIniziale *page, QWidget *parent, int starts)
    : QDialog(parent)
    , m_page(page)
    , m_starts(std::max(1, starts))
{
    setWindowTitle(tr("Automatic search"));
    setObjectName(QStringLiteral("CDialogAutomatica"));
    m_log = new QTextEdit(this);
    m_log->setReadOnly(true);
    m_log->setObjectName(QStringLiteral("searchLog"));
    m_conditions = new QLabel(this);
    m_conditions->setWordWrap(true);
    m_elapsed = new QLabel(this);
    m_remaining = new QLabel(this);
    m_lastIteration = new QLabel(this);
    m_bestError = new QLabel(this);
    for (QLabel *line : { m_elapsed, m_remaining, m_lastIteration, m_bestError })
        line->setVisible(false);
    m_statusIcon = new QLabel(this);
    m_statusIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(24, 24));
    m_statusText = new QLabel(tr("Search stopped after current iteration"), this);
    m_statusIcon->setVisible(false);
    m_statusText->setVisible(false);
    m_stop = new QPushButton(tr("Stop search"), this);
    m_close = new QPushButton(tr("Close"), this);
    m_stop->setVisible(false);
    m_close->setVisible(false);
    connect(m_stop, &QPushButton::clicked, this, &CDialogAutomatica::OnStop);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    m_chart = new CChartWidget(this);
    CChartRegion &region = m_chart->Region();
    region.SetBottomLabel(tr("Iterations"));
    region.SetLeftLabel(tr("Error [%]"));
    region.SetNumberFormat(ChartAxis::Left, QStringLiteral("%g"));
    region.SetNumberFormat(ChartAxis::Bottom, QStringLiteral("%g"));
    region.SetLegendVisible(false);
    m_chart->setMinimumHeight(180);
    m_chart->setVisible(false);
    m_startsBar = new QProgressBar(this);
    m_startsBar->setObjectName(QStringLiteral("startsProgress"));
    m_startsBar->setRange(0, m_starts);
    m_startsBar->setValue(0);
    m_startsBar->setFormat(tr("%v of %m starts ended"));
    m_startsBar->setVisible(false);

    auto *status = new QGridLayout;
    status->addWidget(m_elapsed, 0, 0);
    status->addWidget(m_remaining, 0, 1);
    status->addWidget(m_lastIteration, 1, 0);
    status->addWidget(m_bestError, 1, 1);
    auto *statusLine = new QHBoxLayout;
    statusLine->addWidget(m_statusIcon);
    statusLine->addWidget(m_statusText, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_log, 2);
    layout->addWidget(m_conditions);
    layout->addLayout(status);
    layout->addWidget(m_startsBar);
    layout->addWidget(m_chart, 2);
    layout->addLayout(statusLine);
    layout->addLayout(buttons);
    resize(640, 560);

    if (DispersionAnalysis *a = Analysis())
        a->m_search.bestMisfit = -1.0;
    m_elapsedTimer.setInterval(ElapsedPeriodMs);
    m_watchTimer.setInterval(WatchPeriodMs);
    connect(&m_elapsedTimer, &QTimer::timeout, this, &CDialogAutomatica::OnElapsed);
    connect(&m_watchTimer, &QTimer::timeout, this, &CDialogAutomatica::OnWatch);

    std::string error;
    if (!m_receiver.Open(&error)) {
        Log(QString::fromStdString(error), Red);
        m_close->setVisible(true);
        m_workerDone = true;
        return;
    }
    m_notifier = new QSocketNotifier(m_receiver.Descriptor(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CDialogAutomatica::OnReadable);

    EngineRunRequest request;
    request.runnerPath = page->RunnerPath().toStdString();
    request.receiver = &m_receiver;
    request.killRequest = &m_kill;
    if (m_starts > 1)
        request.stopRequest = &m_stopKeepingBest;
    if (DispersionAnalysis *a = Analysis())
        a->m_search.jobFinished = false;
    m_worker = std::thread([this, request] {
        m_page->RunSearchJob(request, m_starts);
        if (DispersionAnalysis *a = Analysis())
            a->m_search.jobFinished = true;
        m_workerDone = true;
        if (m_starts > 1)
            QMetaObject::invokeMethod(
                this, [this] { OnManyStartFinished(); }, Qt::QueuedConnection);
    });
    m_watchTimer.start();
}

CDialogAutomatica::~CDialogAutomatica()
{
    m_kill = true;
    JoinWorker();
}

DispersionAnalysis *CDialogAutomatica::Analysis() const { return m_page->Analysis(); }

void CDialogAutomatica::JoinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CDialogAutomatica::reject()
{
    // The dialog never leaves a search running behind it.
    if (!m_workerDone) {
        m_kill = true;
        if (DispersionAnalysis *a = Analysis())
            a->m_search.stopFlag = true;
    }
    JoinWorker();
    QDialog::reject();
}

void CDialogAutomatica::OnReadable()
{
    const CProgressReceiver::Status status =
        m_receiver.ReceiveOne([this](const EngineProgress &r) { OnRecord(r); });
    if (status != CProgressReceiver::Status::Record) {
        m_notifier->setEnabled(false);
        m_channelEnded = true;
    }
}

void CDialogAutomatica::Log(const QString &text, LogColor color)
{
    if (m_logClosed)
        return;
    QTextCursor cursor(m_log->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(QColor(QString::fromLatin1(LogColors[color])));
    if (!m_log->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text, format);
    ++m_logLines;
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
}

QString CDialogAutomatica::LogText() const { return m_log->toPlainText(); }

void CDialogAutomatica::OnRecord(const EngineProgress &record)
{
    if (DispersionAnalysis *a = Analysis())
        TakeProgress(*a, record);
    if (m_starts > 1) {
        if (record.kind == EngineProgressKindStep)
            OnManyStartStep(record.stepNumber, record.stepValue);
        return;
    }
    if (record.kind == EngineProgressKindStep)
        OnStep(record.stepNumber, record.stepValue);
    else if (record.kind == EngineProgressKindEnd)
        OnEnd(record.endReason, record.stepValue);
}

void CDialogAutomatica::OnStep(int step, int value)
{
    DispersionAnalysis *a = Analysis();
    const SearchProgress progress = a ? a->m_search : SearchProgress();
    const double target = a ? a->m_profile.targetMisfit : 0.0;
    switch (static_cast<EngineStep>(step)) {
    case EngineStep::SearchStart:
        m_stop->setVisible(true);
        m_firstTrialTime = 0;
        m_conditions->setText(progress.iterationsRequested == 1
                ? tr("Conditions to stop the search: error <=%1% or at least 1 iteration or "
                     "convergence reached")
                      .arg(QString::asprintf("%.2g", 100.0 * target))
                : tr("Conditions to stop the search: error <=%1% or maximum number %2 of "
                     "iterations or convergence reached")
                      .arg(QString::asprintf("%.2g", 100.0 * target))
                      .arg(progress.iterationsRequested));
        m_startTime = Now();
        Log(tr("Starting automatic search..."));
        m_stepZeroValue = value;
        m_elapsedTimer.start();
        break;
    case EngineStep::BeforeSolver:
        Log(tr("     Preliminar operations..."));
        break;
    case EngineStep::BeforeEffectiveCurve:
        Log(tr("     Operation 4..."));
        break;
    case EngineStep::BeforeApparentCurve:
        Log(tr("     Operation 3..."));
        break;
    case EngineStep::BeforeEigenfunctions:
        Log(tr("     Operation 1..."));
        break;
    case EngineStep::BeforeIntegrals:
        Log(tr("     Operation 2..."));
        break;
    case EngineStep::SearchSetUpDone:
        Log(tr("Starting optimization..."));
        break;
    case EngineStep::IterationStart:
        Log(tr("Starting iteration") + QString::asprintf(" %d", progress.iterationCounter + 1));
        break;
    case EngineStep::BeforeTrial:
        Log(tr("Starting sub step") + QString::asprintf(" %d", value + 1));
        m_lastIteration->setText(tr("Last iteration: %1, last sub step: %2")
                                     .arg(progress.iterationCounter + 1)
                                     .arg(progress.trialCounter + 1));
        m_lastIteration->setVisible(true);
        break;
    case EngineStep::TrialMisfitDone: {
        if (m_firstTrialTime == 0)
            m_firstTrialTime = Now();
        m_bestError->setText(progress.bestMisfit == -1.0
                ? QString()
                : tr("Best error: %1%").arg(static_cast<int>(progress.bestMisfit * 100)));
        m_bestError->setVisible(true);
        Log(tr("End sub step") + QString::asprintf(" %d", progress.trialCounter + 1));
        Log(tr("   Error at current step:%1%")
                .arg(static_cast<int>(progress.latestTrialMisfit * 100)));
        m_errorHistory.push_back(progress.latestTrialMisfit * 100);
        DrawErrorHistory(0.0);
        const long trialSeconds = static_cast<long>((m_firstTrialTime - m_startTime) / 1000);
        m_remaining->setText(RemainingText(trialSeconds, progress.iterationsRequested,
            progress.iterationCounter, progress.trialCounter));
        m_remaining->setVisible(true);
        break;
    }
    case EngineStep::OptimizationEnd:
        Log(tr("End of optimization"));
        break;
    case EngineStep::RunEnd:
        Log(tr("End of automatic search"));
        m_stop->setEnabled(false);
        m_close->setVisible(true);
        m_statusText->setVisible(false);
        m_statusIcon->setVisible(false);
        m_remaining->setText(tr("Remaining time: search terminated"));
        EndTimers();
        break;
    case EngineStep::BeforeFinalForward:
        Log(tr("Refining solution"));
        break;
    case EngineStep::AfterFinalForward:
        Log(tr("End of solution refinement"));
        m_stop->setEnabled(false);
        break;
    case EngineStep::IterationEnd:
        Log(tr("End of iteration") + QString::asprintf(" %d", progress.iterationCounter + 1));
        break;
    }
}

void CDialogAutomatica::OnEnd(int reason, int)
{
    const QString terminated = tr("Remaining time: search terminated");
    switch (static_cast<EngineEndReason>(reason)) {
    case EngineEndReason::TargetReached:
        Log(tr("===Profile found within given error ==="), Red);
        break;
    case EngineEndReason::IterationsDone:
        Log(tr("===Profile found after given maximum number of iterations==="), Red);
        break;
    case EngineEndReason::StoppedByUser:
        Log(tr("===Search stopped by user==="), Red);
        m_logClosed = true;
        break;
    case EngineEndReason::LastTrialFailed:
        Log(tr("Search stopped : failure in search of modes"), Red);
        m_statusText->setText(tr("Search stopped : failure in search of modes"));
        m_statusText->setVisible(true);
        m_statusIcon->setVisible(true);
        break;
    case EngineEndReason::NoImprovement:
        Log(tr("Local minimum found"), Red);
        break;
    case EngineEndReason::NoFinalModel:
        EndTimers();
        ShowFailure();
        break;
    default:
        return;
    }
    m_remaining->setText(terminated);
    m_remaining->setVisible(true);
}

void CDialogAutomatica::ShowFailure()
{
    Log(tr("Failure searching optimal profile"), Red);
    m_stop->setEnabled(false);
    m_close->setVisible(true);
    m_statusText->setText(tr("The search was canceled due to an unknown problem"));
    m_statusText->setVisible(true);
    m_statusIcon->setVisible(true);
    m_logClosed = true;
    m_remaining->setText(tr("Remaining time: search terminated"));
    m_remaining->setVisible(true);
}

void CDialogAutomatica::EndTimers()
{
    m_elapsedTimer.stop();
    m_watchTimer.stop();
}

void CDialogAutomatica::OnManyStartStep(int step, int value)
{
    switch (static_cast<EngineStep>(step)) {
    case EngineStep::SearchStart:
        m_stop->setVisible(true);
        m_startTime = Now();
        m_elapsedTimer.start();
        Log(tr("Starting automatic search from %1 starts...").arg(m_starts));
        m_startsBar->setVisible(true);
        break;
    case EngineStep::IterationEnd: {
        // In the many-start search this step closes a start: its value counts the starts ended
        // and the current misfit is the best normalised misfit so far.
        const DispersionAnalysis *a = Analysis();
        const double best = a ? a->m_search.currentMisfit : 0.0;
        m_startsBar->setValue(std::min(value, m_starts));
        Log(tr("Start %1 of %2 ended; best normalised error so far: %3")
                .arg(value)
                .arg(m_starts)
                .arg(QString::asprintf("%.3g", best)));
        m_bestError->setText(tr("Best normalised error: %1").arg(QString::asprintf("%.3g", best)));
        m_bestError->setVisible(true);
        m_errorHistory.push_back(best);
        CChartRegion &region = m_chart->Region();
        region.SetBottomLabel(tr("Starts ended"));
        region.SetLeftLabel(tr("Best normalised error"));
        DrawErrorHistory(1.0);
        break;
    }
    default:
        break;
    }
}

void CDialogAutomatica::DrawErrorHistory(double firstX)
{
    std::vector<double> x, y(m_errorHistory);
    for (std::size_t i = 0; i < y.size(); ++i)
        x.push_back(firstX + double(i));
    CChartRegion &region = m_chart->Region();
    region.Clear();
    auto line = std::make_unique<CLineSeries>();
    line->SetName(QStringLiteral("Error"));
    line->SetDescription(tr("Error"));
    line->SetData(std::move(x), std::move(y));
    line->SetLineColor({ 0.8f, 0.1f, 0.1f, 1.0f });
    line->SetMarker(ChartMarker::Circle, 5);
    region.Add(std::move(line));
    m_chart->Refresh();
    m_chart->ZoomAll();
    m_chart->setVisible(true);
}

void CDialogAutomatica::OnManyStartFinished()
{
    if (m_manyFinished)
        return;
    // Notifications still waiting in the channel come before the end.
    while (!m_channelEnded) {
        const CProgressReceiver::Status status =
            m_receiver.ReceiveOne([this](const EngineProgress &r) { OnRecord(r); });
        if (status != CProgressReceiver::Status::Record) {
            m_channelEnded = true;
            if (m_notifier)
                m_notifier->setEnabled(false);
        }
    }
    m_manyFinished = true;
    EndTimers();
    OnElapsed();
    m_stop->setEnabled(false);
    m_stop->setVisible(false);
    m_close->setVisible(true);
    m_remaining->setText(tr("Remaining time: search terminated"));
    m_remaining->setVisible(true);
    const EnsembleSummary &e = m_page->Ensemble();
    if (!e.valid) {
        if (m_kill || m_stopKeepingBest) {
            m_logClosed = false;
            Log(tr("===Search stopped by user==="), Red);
        } else {
            ShowFailure();
        }
        return;
    }
    if (!e.stopped)
        m_startsBar->setValue(m_starts);
    Log(e.stopped ? tr("===Search stopped by user: the best profile found so far is kept===")
                  : tr("===Best profile of %1 starts found===").arg(m_starts),
        Red);
    for (const QString &line : EnsembleText(e).split(QStringLiteral("\r\n")))
        Log(line, line.startsWith(tr("Warning")) ? Red : Blue);
    Log(tr("End of automatic search"));
}

void CDialogAutomatica::OnWatch()
{
    // The search job ends with runner; a normal run has stopped this timer at its last step.
    if (!m_workerDone)
        return;
    if (m_starts > 1) {
        OnManyStartFinished();
        return;
    }
    EndTimers();
    ShowFailure();
}

void CDialogAutomatica::OnElapsed()
{
    if (m_startTime == 0)
        return;
    m_elapsed->setText(ElapsedText(static_cast<long>((Now() - m_startTime) / 1000)));
    m_elapsed->setVisible(true);
}

void CDialogAutomatica::OnStop()
{
    if (m_starts > 1) {
        // The starts under way end at their next check; runner then writes the best model.
        m_stopKeepingBest = true;
        m_stop->setEnabled(false);
        Log(tr("Stopping: the starts under way end and the best profile so far is kept"), Red);
        return;
    }
    if (DispersionAnalysis *a = Analysis())
        a->m_search.stopFlag = true;
    m_stop->setVisible(false);
    m_kill = true;
    OnEnd(EndReasonNumber(EngineEndReason::StoppedByUser), 0);
    OnStep(StepNumber(EngineStep::RunEnd), 0);
}

QString CDialogAutomatica::RemainingText(
    long trialSeconds, int iterationsRequested, int iterationCounter, int trialCounter)
{
    const long remaining =
        trialSeconds * ((iterationsRequested - iterationCounter + 1) * 5L - trialCounter);
    if (remaining > ShortRemainingSeconds)
        return tr("Remaining time: %1 H:%2 m")
            .arg(remaining / 3600)
            .arg(QString::asprintf("%02ld", (remaining / 60) % 60));
    return tr("Remaining time: less than 15 minutes");
}

QString CDialogAutomatica::ElapsedText(long s)
{
    return tr("Elapsed time: %1 H:%2 m:%3 s")
        .arg(s / 3600)
        .arg(QString::asprintf("%02ld", (s / 60) % 60))
        .arg(QString::asprintf("%02ld", s % 60));
}
