#include "app/shell/PageFactory.h"

#include "app/curve/CGUICurvaDispersione.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/shell/CChildFormTest.h"
#include "app/shell/CGUIMain.h"
#include "app/shell/CPlaceholderPage.h"
#include "app/spectrum/CGUIRispostaSperimentale2.h"

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
    case 10:
        return new CGUIRispostaSperimentale2(parent, steps, analysis);
    case 12: // CGUIRispostaSperimentaleP
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case 15:
        return new CGUICurvaDispersione(parent, steps, analysis);
    case 20: // CGUIProfiloIniziale
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case 30: // CGUIRisultati
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    default:
        return nullptr;
    }
}
