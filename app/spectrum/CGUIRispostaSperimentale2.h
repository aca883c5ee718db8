// The page of the step "Spectrum": the f-k spectrum as an image, the band and the picked curve.
#ifndef VELA_APP_SPECTRUM_CGUIRISPOSTASPERIMENTALE2_H
#define VELA_APP_SPECTRUM_CGUIRISPOSTASPERIMENTALE2_H

#include "app/page/CChildDialog.h"
#include "app/page/CStepTable.h"
#include "app/spectrum/SpectrumPageState.h"

#include <QList>
#include <QPair>

class CChartWidget;
class QLabel;
class QLineEdit;
class QPushButton;

/// Spectrum page (step 10): shows the spectrum the data page computed, takes the band limits,
/// checks them and picks the curve of the strongest wavenumber per frequency.
class CGUIRispostaSperimentale2 : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 131;
    static constexpr int StepCode = Step::Spectrum;
    /// Identifiers of the two charts, as in export requests.
    static constexpr int SpectrumChartId = 1040;
    static constexpr int CurveChartId = 1041;

    CGUIRispostaSperimentale2(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);
    ~CGUIRispostaSperimentale2() override;

    int SaveSection(CMatrixArchive &ar, int version) override;
    int LoadSection(CMatrixArchive &ar, int version) override;
    int WriteReport(ReportWriter &report) override;
    void InitPage() override;
    int OnExportText(CChartWidget *chart, const QString &path) override;

    const SpectrumPageState &State() const { return m_state; }
    /// The rows of the report chapter "Analysis results" (empty unless the analysis has been
    /// made) and the spectrum chart, for the report (a 640 x 640 picture).
    QList<QPair<QString, QString>> ReportRows() const;
    CChartWidget *SpectrumChartWidget() const { return m_spectrumChart; }
    CChartWidget *CurveChartWidget() const { return m_curveChart; }

public Q_SLOTS:
    void OnPick();
    void OnPrevious();
    void OnHelp();
    void OnNext();

protected:
    void FirstRefresh() override;

private:
    void DrawSpectrum();
    void DrawCurve();
    void ShowBandHint();

    SpectrumPageState m_state;
    QLineEdit *m_low = nullptr;
    QLineEdit *m_high = nullptr;
    QLabel *m_hint = nullptr;
    QPushButton *m_pick = nullptr;
    CChartWidget *m_spectrumChart = nullptr;
    CChartWidget *m_curveChart = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_help = nullptr;
    QPushButton *m_next = nullptr;
};

#endif // VELA_APP_SPECTRUM_CGUIRISPOSTASPERIMENTALE2_H
