#include "app/shell/PageFactory.h"

#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/results/CGUIRisultati.h"
#include "app/shell/CChildFormTest.h"
#include "app/shell/CGUIMain.h"
#include "app/shell/CPlaceholderPage.h"

CChildDialog *CreatePage(
    int stepCode, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
{
    switch (stepCode) {
    case 995:
        return new CChildFormTest(parent, steps);
    case 1:
        return new CGUIMain(parent, steps);
    case 5:
        return new CGUIRispostaSperimentale1(parent, steps, analysis);
    case 10: // CGUIRispostaSperimentale2
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case 12: // CGUIRispostaSperimentaleP
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case 15: // CGUICurvaDispersione
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case 20: // CGUIProfiloIniziale
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case 30:
        return new CGUIRisultati(parent, steps, analysis);
    default:
        return nullptr;
    }
}
