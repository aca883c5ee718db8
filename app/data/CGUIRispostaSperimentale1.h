// The page of the step "Experimental data" for an active (shot) acquisition.
#ifndef VELA_APP_DATA_CGUIRISPOSTASPERIMENTALE1_H
#define VELA_APP_DATA_CGUIRISPOSTASPERIMENTALE1_H

#include "app/data/ActiveDataForm.h"
#include "app/data/TraceChart.h"
#include "app/data/TraceSet.h"
#include "app/page/CChildDialog.h"

#include <functional>
#include <optional>

class CChartWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

/// Active experimental-data page (step 5): reads trace files, shows the traces, takes the
/// receiver spacing, time step, receivers and time window, checks them and hands the trace
/// set to the analysis on Next.
class CGUIRispostaSperimentale1 : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 130;
    static constexpr int StepCode = Step::ActiveData;
    /// Identifier of the trace chart (its chart frame), as in export requests.
    static constexpr int ChartId = 1030;

    CGUIRispostaSperimentale1(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);
    ~CGUIRispostaSperimentale1() override;

    int SaveSection(CMatrixArchive &ar, int version) override;
    int LoadSection(CMatrixArchive &ar, int version) override;
    int WriteReport(ReportWriter &report) override;
    void InitPage() override;
    bool ValidateInput() override;
    int OnExportText(CChartWidget *chart, const QString &path) override;

    /// Reads a trace file into the page as the browse button does once a file is chosen:
    /// a fresh read, or appended after the current traces. Shows the page's messages.
    /// Returns whether the traces were read. The shell opens a file given on the command line
    /// with this.
    bool OpenTraceFile(const QString &path, bool append = false);
    /// Adds the record of `path` to the traces trace by trace, for a repeated blow at the same
    /// source position; a record of another geometry is refused with a message and changes
    /// nothing. Returns whether it was stacked.
    bool StackTraceFile(const QString &path);
    /// The page's plain data (tests).
    const ActiveDataForm &Form() const { return m_form; }

    /// The trace set as the page holds it.
    const TraceSet &Traces() const { return m_set; }
    /// The rows of the report chapter "Experimental data" (empty unless the analysis has been
    /// made) and the trace chart's region, for the report.
    QList<QPair<QString, QString>> ReportRows() const;
    CChartWidget *TraceChartWidget() const { return m_chart; }

    /// Replaces the file dialog of the browse button (tests): returns the chosen path, or an
    /// empty text for Cancel.
    void SetFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }
    /// Replaces the sheet-name dialog of Excel files (tests): nothing means Cancel.
    void SetSheetChooser(std::function<std::optional<QString>()> chooser)
    {
        m_chooseSheet = std::move(chooser);
    }
    /// The file dialog's filter, in the dialog's own form.
    static QStringList FileFilters();

public Q_SLOTS:
    void OnBrowse();
    void OnStack();
    // The passive page is this page with its own navigation.
    virtual void OnPrevious();
    /// "Passive analysis (REMI)" (the active page alone): on to the passive data page.
    void OnPassive();
    virtual void OnHelp();
    virtual void OnNext();

protected:
    /// The file dialog's filters of a translated filter list, each pattern also in capitals.
    static QStringList DialogFilters(const QString &filter);
    /// For the passive page: the same form under its own template and section tag.
    CGUIRispostaSperimentale1(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis,
        int templateId, const char *sectionTag);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnReversedClicked();
    void OnLastReceiverActivated(int index);
    void OnTimeStepEdited();
    void OnWindowStartEdited();
    void OnWindowEndEdited();
    void FieldEdited(
        QLineEdit *edit, FieldEdit (ActiveDataForm::*check)(TraceSet &), ActiveDataField field);
    void FormFromControls();
    void ControlsFromForm();
    void EnableParameters(bool enable);
    void DrawChart();
    TraceChartView ChartView() const;
    QLineEdit *EditOf(ActiveDataField field) const;

    TraceSet m_set;
    ActiveDataForm m_form;
    const char *m_sectionTag = ActiveDataSectionTag;
    std::function<QString()> m_chooseFile;
    std::function<std::optional<QString>()> m_chooseSheet;
    bool m_checkingField = false;

    QLineEdit *m_fileName = nullptr;
    QToolButton *m_browse = nullptr;
    QToolButton *m_stack = nullptr;
    QLineEdit *m_sourceOffset = nullptr;
    QLabel *m_information = nullptr;
    QLineEdit *m_spacing = nullptr;
    QCheckBox *m_reversed = nullptr;
    QLineEdit *m_timeStep = nullptr;
    QComboBox *m_firstReceiver = nullptr;
    QComboBox *m_lastReceiver = nullptr;
    QLineEdit *m_windowStart = nullptr;
    QLineEdit *m_windowEnd = nullptr;
    QLineEdit *m_receiversDepth = nullptr;
    QLineEdit *m_sourceDepth = nullptr;
    CChartWidget *m_chart = nullptr;
    QCheckBox *m_metresView = nullptr;
    QCheckBox *m_commonScale = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_help = nullptr;
    QPushButton *m_next = nullptr;
};

#endif // VELA_APP_DATA_CGUIRISPOSTASPERIMENTALE1_H
