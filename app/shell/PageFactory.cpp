#include "app/shell/PageFactory.h"

#include "app/curve/CGUICurvaDispersione.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/data/CGUIRispostaSperimentaleP.h"
#include "app/profile/CGUIProfiloIniziale.h"
#include "app/results/CGUIRisultati.h"
#include "app/shell/CChildFormTest.h"
#include "app/shell/CGUIMain.h"
#include "app/spectrum/CGUIRispostaSperimentale2.h"

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
    case Step::Spectrum:
        return new CGUIRispostaSperimentale2(parent, steps, analysis);
    case Step::PassiveData:
        return new CGUIRispostaSperimentaleP(parent, steps, analysis);
    case Step::DispersionCurve:
        return new CGUICurvaDispersione(parent, steps, analysis);
    case Step::GroundProfile:
        return new CGUIProfiloIniziale(parent, steps, analysis);
    case Step::Results:
        return new CGUIRisultati(parent, steps, analysis);
    default:
        return nullptr;
    }
}
