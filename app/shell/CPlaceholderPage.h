// Stands in for the page of a step that this version of the program does not have yet, so that
// navigation works through every step.
#ifndef VELA_APP_SHELL_CPLACEHOLDERPAGE_H
#define VELA_APP_SHELL_CPLACEHOLDERPAGE_H

#include "app/page/CChildDialog.h"

class CPlaceholderPage : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 199;
    /// @param stepCode the step the page stands for (5, 10, 12, 15, 20 or 30).
    CPlaceholderPage(int stepCode, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);

    int StepCode() const { return m_stepCode; }
    /// The step Previous goes to, and the step Next goes to (0 for none).
    static int PreviousStep(int stepCode);
    static int NextStep(int stepCode);
    /// The translated name of a step.
    static QString StepName(int stepCode);

private:
    int m_stepCode;
};

#endif // VELA_APP_SHELL_CPLACEHOLDERPAGE_H
