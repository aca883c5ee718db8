// The page of the step "Passive analysis": the experimental-data page for an ambient-noise
// record.
#ifndef VELA_APP_DATA_CGUIRISPOSTASPERIMENTALEP_H
#define VELA_APP_DATA_CGUIRISPOSTASPERIMENTALEP_H

#include "app/data/CGUIRispostaSperimentale1.h"

/// Tag line of the passive page's document section.
inline constexpr const char *PassiveDataSectionTag = "22 RSPP";

/// Passive experimental-data page (step 12): the active page's form, readers, checks, chart,
/// section layout and traces export, with its own file filter (no "all supported files"
/// entry), section tag and report chapter. Next computes the passive spectrum and goes on to
/// the dispersion-curve page, where the image is shown and picked.
class CGUIRispostaSperimentaleP : public CGUIRispostaSperimentale1
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 131;
    static constexpr int StepCode = Step::PassiveData;

    CGUIRispostaSperimentaleP(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);
    ~CGUIRispostaSperimentaleP() override;

    int WriteReport(ReportWriter &report) override;

    /// The rows of the chapter "Analysis results (P)": those of the active page without the
    /// sensors distance, the order sentence last. Empty unless the passive spectrum has been
    /// computed.
    QList<QPair<QString, QString>> PassiveReportRows() const;

    /// The file dialog's filter, in the dialog's own form.
    static QStringList PassiveFileFilters();

public Q_SLOTS:
    void OnPrevious() override;
    void OnHelp() override;
    void OnNext() override;
};

#endif // VELA_APP_DATA_CGUIRISPOSTASPERIMENTALEP_H
