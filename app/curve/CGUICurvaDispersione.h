// The page of the step "Dispersion curve": the table of points and the chart they are picked on.
#ifndef VELA_APP_CURVE_CGUICURVADISPERSIONE_H
#define VELA_APP_CURVE_CGUICURVADISPERSIONE_H

#include "app/curve/CCurveTable.h"
#include "app/page/CChildDialog.h"
#include "app/page/CStepTable.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class CChartWidget;
class CGridCtrl;
class QAction;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolBar;

/// Dispersion-curve page (step 15): frequency, phase velocity and its bounds per point, typed,
/// pasted, imported, taken from the spectrum's curve or picked as vertical bars on the spectrum
/// drawn in the frequency-velocity or frequency-slowness plane. Every change is checked
/// silently and handed to the analysis; Next checks with messages.
class CGUICurvaDispersione : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 150;
    static constexpr int StepCode = Step::DispersionCurve;
    /// Identifier of the chart, as in export requests.
    static constexpr int ChartId = 1050;

    CGUICurvaDispersione(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);
    ~CGUICurvaDispersione() override;

    int SaveSection(CMatrixArchive &ar, int version) override;
    int LoadSection(CMatrixArchive &ar, int version) override;
    int WriteReport(ReportWriter &report) override;
    void InitPage() override;
    int OnExportText(CChartWidget *chart, const QString &path) override;

    const CCurveTable &Table() const { return *m_table; }
    CCurveTable &Table() { return *m_table; }
    CChartWidget *ChartWidget() const { return m_chart; }
    CGridCtrl *Grid() const { return m_grid; }
    /// The table of the report chapter "Dispersion curve": one row per point, the four values
    /// as "%g" (the header row is the grid's column titles).
    QList<QStringList> ReportTable() const;

    /// Replace the file dialogs (tests): the open dialog answers a path (empty for Cancel); the
    /// save dialog a path and whether the Excel type was chosen; the sheet dialog a name.
    void SetOpenChooser(std::function<QString()> chooser) { m_chooseOpen = std::move(chooser); }
    void SetSaveChooser(std::function<QPair<QString, bool>()> chooser)
    {
        m_chooseSave = std::move(chooser);
    }
    void SetSheetChooser(std::function<std::optional<QString>()> chooser)
    {
        m_chooseSheet = std::move(chooser);
    }

public Q_SLOTS:
    void OnNewTable();
    void OnImport();
    void OnSaveAs();
    void OnAutomaticPoints();
    void OnBarPicked(int objectId, double frequency, double y1, double y2);
    void OnCursorMoved(double x, double y);
    void OnCursorLeft();
    void OnPlaneChanged();
    void OnPrevious();
    void OnHelp();
    void OnNext();

protected:
    void FirstRefresh() override;

private:
    void OnCellEdited(int row, int column);
    void AfterClipboard();
    void OnPaste();
    /// Silent check, Next's state, chart; `resetView` shows everything afterwards.
    void Redraw(bool resetView);
    void DrawChart();

    std::unique_ptr<CCurveTable> m_table; ///< over the grid's model, made with the grid
    std::function<QString()> m_chooseOpen;
    std::function<QPair<QString, bool>()> m_chooseSave;
    std::function<std::optional<QString>()> m_chooseSheet;

    CGridCtrl *m_grid = nullptr;
    QToolBar *m_toolBar = nullptr;
    QRadioButton *m_planeFv = nullptr;
    QRadioButton *m_planeFp = nullptr;
    QLabel *m_cursor = nullptr;
    CChartWidget *m_chart = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_help = nullptr;
    QPushButton *m_next = nullptr;
};

#endif // VELA_APP_CURVE_CGUICURVADISPERSIONE_H
