// The automatic-search dialog: runs the search job on a worker thread, shows the engine's
// notifications as a coloured log, counters, time estimates and a misfit chart, and stops it.
#ifndef VELA_APP_PROFILE_CDIALOGAUTOMATICA_H
#define VELA_APP_PROFILE_CDIALOGAUTOMATICA_H

#include "jobs/CProgressReceiver.h"
#include "jobs/EngineProgress.h"

#include <QDialog>
#include <QTimer>

#include <atomic>
#include <thread>
#include <vector>

class CChartWidget;
class CGUIProfiloIniziale;
class DispersionAnalysis;
class QLabel;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTextEdit;

/// Modal dialog "Automatic search". The engine's notifications arrive on this (the user
/// interface) thread through a socket notifier and are answered once handled, so the engine waits
/// while a notification is shown.
class CDialogAutomatica : public QDialog
{
    Q_OBJECT

public:
    /// Log colours.
    enum LogColor { Black = 0, Red = 1, Blue = 2 };
    /// Timer identifiers of the elapsed-time display and of the runner watch, and their periods.
    static constexpr int ElapsedTimerId = 56;
    static constexpr int WatchTimerId = 57;
    static constexpr int ElapsedPeriodMs = 500;
    static constexpr int WatchPeriodMs = 5000;

    /// Starts the search of `page` at once: the written search for one start, the many-start
    /// search otherwise (progress over the starts; Stop keeps the best model so far).
    CDialogAutomatica(CGUIProfiloIniziale *page, QWidget *parent, int starts = 1);
    ~CDialogAutomatica() override;

    /// Handles one notification as it arrives (public for tests).
    void OnRecord(const EngineProgress &record);
    void OnStep(int step, int value);
    void OnEnd(int reason, int value);
    /// The Stop button.
    void OnStop();
    /// Timer 57: a runner that has ended without its last notification ends the search.
    void OnWatch();
    /// Timer 56: the elapsed time.
    void OnElapsed();

    /// The remaining-time line for a first trial of `trialSeconds`, as step 9 writes it.
    static QString RemainingText(
        long trialSeconds, int iterationsRequested, int iterationCounter, int trialCounter);
    /// The elapsed-time line for `seconds`.
    static QString ElapsedText(long seconds);

    QString LogText() const;
    int LogLineCount() const { return m_logLines; }
    bool LogClosed() const { return m_logClosed; }
    bool Finished() const { return m_workerDone; }
    QLabel *StatusText() const { return m_statusText; }
    QLabel *RemainingLabel() const { return m_remaining; }
    QLabel *BestErrorLabel() const { return m_bestError; }
    QPushButton *StopButton() const { return m_stop; }
    QPushButton *CloseButton() const { return m_close; }
    QProgressBar *StartsProgress() const { return m_startsBar; }
    int Starts() const { return m_starts; }
    const std::vector<double> &ErrorHistory() const { return m_errorHistory; }

protected:
    void reject() override;

private:
    void Log(const QString &text, LogColor color = Black);
    /// Draws the error history, its first point at x = firstX (0 for trials, 1 for starts).
    void DrawErrorHistory(double firstX);
    void EndTimers();
    void ShowFailure();
    void OnReadable();
    /// The many-start search's notifications and its end (on this thread, once runner is done).
    void OnManyStartStep(int step, int value);
    void OnManyStartFinished();
    void JoinWorker();
    DispersionAnalysis *Analysis() const;

    CGUIProfiloIniziale *m_page;
    QTextEdit *m_log = nullptr;
    QLabel *m_conditions = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_remaining = nullptr;
    QLabel *m_lastIteration = nullptr;
    QLabel *m_bestError = nullptr;
    QLabel *m_statusIcon = nullptr;
    QLabel *m_statusText = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
    CChartWidget *m_chart = nullptr;
    QProgressBar *m_startsBar = nullptr;
    QTimer m_elapsedTimer;
    QTimer m_watchTimer;
    CProgressReceiver m_receiver;
    QSocketNotifier *m_notifier = nullptr;
    std::thread m_worker;
    std::atomic<bool> m_kill { false };
    std::atomic<bool> m_stopKeepingBest { false };
    int m_starts = 1;
    bool m_channelEnded = false;
    bool m_manyFinished = false;
    std::atomic<bool> m_workerDone { false };
    qint64 m_startTime = 0; ///< ms since the epoch, 0 = not yet
    qint64 m_firstTrialTime = 0;
    int m_stepZeroValue = 0;
    bool m_logClosed = false;
    int m_logLines = 0;
    std::vector<double> m_errorHistory; ///< percentages, one per finished trial
};

#endif // VELA_APP_PROFILE_CDIALOGAUTOMATICA_H
