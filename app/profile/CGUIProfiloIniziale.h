// The page of the step "Ground profile": the layer table, the run parameters, trial and error,
// the automatic inversion, and the dispersion and profile charts.
#ifndef VELA_APP_PROFILE_CGUIPROFILOINIZIALE_H
#define VELA_APP_PROFILE_CGUIPROFILOINIZIALE_H

#include "app/page/CChildDialog.h"
#include "app/profile/ProfileReport.h"
#include "app/profile/ProfileRun.h"
#include "app/profile/ProfileSection.h"

#include <functional>

class CChartWidget;
class CGridCtrl;
class CProfileTable;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

/// Ground-profile page (step 20): a thin adapter over CProfileTable (the table's rules) and
/// ProfileRun (the engine runs); it copies its controls into the analysis and draws the results.
class CGUIProfiloIniziale : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 160;
    static constexpr int StepCode = Step::GroundProfile;
    /// Identifiers of the two charts, as in export requests.
    static constexpr int DispersionChartId = 1060;
    static constexpr int ProfileChartId = 1061;

    CGUIProfiloIniziale(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);
    ~CGUIProfiloIniziale() override;

    void InitPage() override;
    bool ValidateInput() override;
    int SaveSection(CMatrixArchive &ar, int version) override;
    int LoadSection(CMatrixArchive &ar, int version) override;
    int OnExportText(CChartWidget *chart, const QString &path) override;
    /// The chapter "Field profile": ReportItems() with the two charts as figures.
    int WriteReport(ReportWriter &report) override;

    /// The chapter of the report: the collected profile, with the captions for the last run
    /// and the uncertainty shown; the charts are DispersionChart() and ProfileChart().
    std::vector<ProfileReportItem> ReportItems() const;

    /// Copies the table and the controls into the analysis.
    void CollectProfile();
    /// The forward job on this thread, with the wait cursor: 0 success, 1 failure.
    int RunForwardJob();
    /// The search job, called from the dialog's worker thread; the outcome is in the flags.
    /// With more than one start, the many-start search: its findings go to Ensemble().
    int RunSearchJob(const EngineRunRequest &request, int starts = 1);
    /// Starts the next automatic search makes (the starts list: 1, 10 or 40).
    int SearchStarts() const;
    QComboBox *StartsList() const { return m_starts; }
    QComboBox *UncertaintyList() const { return m_uncertainty; }
    /// The last many-start search's findings (not valid after a single-start search or a
    /// trial and error run).
    const EnsembleSummary &Ensemble() const { return m_ensemble; }
    /// The runner program (tests point it at a stand-in).
    void SetRunnerPath(const QString &path) { m_runnerPath = path; }
    const QString &RunnerPath() const { return m_runnerPath; }
    /// Replaces the automatic-search dialog (tests): called instead of showing it.
    void SetSearchDialogRunner(std::function<void()> run) { m_runSearchDialog = std::move(run); }

    const ProfileValidity &Validity() const { return m_validity; }
    CProfileTable *Table() const { return m_table; }
    CGridCtrl *Grid() const { return m_grid; }
    QString MisfitLabelText() const;
    CChartWidget *DispersionChart() const { return m_dispersionChart; }
    CChartWidget *ProfileChart() const { return m_profileChart; }
    QPushButton *NextButton() const { return m_next; }

    void OnTrialAndError();
    void OnAutomaticInversion();
    void OnNew();
    void OnOpen(const QString &path = QString());
    void OnSave(const QString &path = QString());

private:
    void OnPrevious();
    void OnHelp();
    void OnNext();
    void OnLayerCountChanged(int index);
    void RedrawCharts();
    void StateToControls(const ProfilePageState &state);
    ProfilePageState ControlsToState() const;
    void Modified();
    void KeepEnsemble();

    CGridCtrl *m_grid = nullptr;
    CProfileTable *m_table = nullptr;
    QComboBox *m_layers = nullptr;
    QLineEdit *m_spacing = nullptr;
    QLineEdit *m_depth = nullptr;
    QComboBox *m_receivers = nullptr;
    QComboBox *m_modes = nullptr;
    QComboBox *m_iterations = nullptr;
    QComboBox *m_maxError = nullptr;
    QComboBox *m_solver = nullptr;
    QCheckBox *m_strong = nullptr;
    QComboBox *m_uncertainty = nullptr;
    QComboBox *m_starts = nullptr;
    QCheckBox *m_showExperimental = nullptr;
    QCheckBox *m_showModes = nullptr;
    QCheckBox *m_showApparent = nullptr;
    QCheckBox *m_showEffective = nullptr;
    QLabel *m_misfit = nullptr;
    QPushButton *m_next = nullptr;
    CChartWidget *m_dispersionChart = nullptr;
    CChartWidget *m_profileChart = nullptr;
    ProfileValidity m_validity;
    EnsembleSummary m_ensemble;
    bool m_finalCurvesMissing = false; ///< the last one-start search kept its model without curves
    QString m_runnerPath;
    std::function<void()> m_runSearchDialog;
    bool m_filling = false;
};

#endif // VELA_APP_PROFILE_CGUIPROFILOINIZIALE_H
