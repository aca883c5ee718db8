#include "app/shell/PageFactory.h"

#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/data/CGUIRispostaSperimentaleP.h"
#include "app/shell/CChildFormTest.h"
#include "app/shell/CGUIMain.h"
#include "app/shell/CPlaceholderPage.h"

CChildDialog *CreatePage(
    int stepCode, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
{
    switch (stepCode) {
    case Step::Blank:
        return new CChildFormTest(parent, steps);
    case Step::Start:
        return new CGUIMain(parent, steps);
    case Step::ActiveData:
        return new CGUIRispostaSperimentale1(parent, steps, analysis);
    case Step::Spectrum: // CGUIRispostaSperimentale2
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case Step::PassiveData:
        return new CGUIRispostaSperimentaleP(parent, steps, analysis);
    case Step::DispersionCurve: // CGUICurvaDispersione
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case Step::GroundProfile: // CGUIProfiloIniziale
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    case Step::Results: // CGUIRisultati
        return new CPlaceholderPage(stepCode, parent, steps, analysis);
    default:
        return nullptr;
    }
}
