// The page of the step "Final results": the final profile, Vs30 and the seismic soil category.
#ifndef VELA_APP_RESULTS_CGUIRISULTATI_H
#define VELA_APP_RESULTS_CGUIRISULTATI_H

#include "app/page/CChildDialog.h"
#include "app/results/CSoilClassification.h"
#include "app/results/ResultsForm.h"

#include <array>

class CGridCtrl;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

/// Results page (step 30): shows the final profile, computes the average velocity of the
/// chosen code and leads the user through the questions to the soil category. The logic is
/// CSoilClassification's; the page shows its state and passes the user's answers on.
class CGUIRisultati : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 160;
    static constexpr int StepCode = 30;

    CGUIRisultati(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);

    int SaveSection(CMatrixArchive &ar, int version) override;
    int LoadSection(CMatrixArchive &ar, int version) override;
    /// The chapter "Final results": the offset and the average as shown, a sentence for each
    /// answered question, the soil type; then the appendix with the categories of the
    /// definitions in force.
    int WriteReport(ReportWriter &report) override;
    void InitPage() override;

    const CSoilClassification &Classification() const { return m_classification; }

public Q_SLOTS:
    void OnPrevious();
    void OnHelp();
    void OnSave();
    void OnExit();

private:
    void OnCodeChosen(SoilCode code);
    void OnOffsetEdited(const QString &text);
    void OnAnswer(int row, SoilAnswer answer);
    void OnBedrockChosen(int index);
    /// Shows the classification's state: questions, answers, enabled rows, the average, the
    /// category table and the highlighted category.
    void Refresh();
    void FillCategoryTable();
    void ShowOffset(bool shown);
    void FitSummary();
    /// The Vs30 range and depth of investigation of the last search from many starts.
    QString EnsembleLine() const;

    CSoilClassification m_classification;
    bool m_codeChosen = false;
    SoilCode m_tableCode = SoilCode::Dm2008;
    bool m_tableFilled = false;

    CGridCtrl *m_summary = nullptr;
    QTableWidget *m_categories = nullptr;
    std::array<QLabel *, CSoilClassification::RowCount> m_questions {};
    std::array<QButtonGroup *, CSoilClassification::RowCount> m_answers {};
    std::array<QRadioButton *, CSoilClassification::RowCount> m_yes {};
    std::array<QRadioButton *, CSoilClassification::RowCount> m_no {};
    QRadioButton *m_dontKnow = nullptr;
    QRadioButton *m_ntc = nullptr;
    QRadioButton *m_asce = nullptr;
    QLabel *m_otherCodes = nullptr;
    QComboBox *m_bedrock = nullptr;
    QLabel *m_offsetLabel = nullptr;
    QLineEdit *m_offset = nullptr;
    QLabel *m_referenceLabel = nullptr;
    QLabel *m_averageLabel = nullptr;
    QLineEdit *m_average = nullptr;
    QLabel *m_depth = nullptr;
    QLabel *m_ensemble = nullptr;
    QLineEdit *m_status = nullptr;
};

#endif // VELA_APP_RESULTS_CGUIRISULTATI_H
