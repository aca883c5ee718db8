// The one place where the page of each step is constructed.
#ifndef VELA_APP_SHELL_PAGEFACTORY_H
#define VELA_APP_SHELL_PAGEFACTORY_H

class CChildDialog;
class CGUISteps;
class DispersionAnalysis;
class QWidget;

/// Constructs (but does not Create()) the page of a step: 995 blank page, 1 start page, 5 active
/// experimental data, 10 spectrum, 12 passive data, 15 dispersion curve, 20 ground profile,
/// 30 results. Returns nullptr for any other code. The caller owns the page.
CChildDialog *CreatePage(
    int stepCode, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis);

#endif // VELA_APP_SHELL_PAGEFACTORY_H
