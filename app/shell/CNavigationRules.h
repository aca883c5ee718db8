// The navigation rules: what a request to go to a step does to the pages and the step buttons.
#ifndef VELA_APP_SHELL_CNAVIGATIONRULES_H
#define VELA_APP_SHELL_CNAVIGATIONRULES_H

#include <vector>

/// One effect of a navigation request, applied by the step navigation pane in list order.
struct NavigationAction
{
    enum class Kind {
        Discard, ///< disable the step's button and delete its page (UM_DISCARD_STEP)
        EnableButton,
        DisableButton, ///< disable the button only; the page stays
        ViewDisableStep, ///< ask the view to disable the step's button (UM_DISABLE_STEP)
        Focus, ///< give the step's button the keyboard focus
        Show, ///< press the step's button: the view shows the step, the button is highlighted
        ClearAnalysisFlags, ///< clear the analysed and passive-prepared flags of the analysis
        UnknownStep, ///< show "Schermata non ancora implementata"; nothing else happens
    };

    Kind kind;
    int step = 0;

    bool operator==(const NavigationAction &other) const
    {
        return kind == other.kind && step == other.step;
    }
};

/// A navigation request's target, split from the message parameter.
struct NavigationTarget
{
    int step = 0;
    bool freshPage = false;
};

/// Pure rules, no state: the pane keeps the fresh-page flag and the buttons.
class CNavigationRules
{
public:
    /// Splits the target parameter of UM_GOTO_STEP: values of 513 and above carry the
    /// fresh-page flag and the step code 512 below.
    static NavigationTarget SplitTarget(int target);
    /// The effects, in order, of a request from the page of step senderStep (or a button) to go
    /// to targetStep (already split).
    static std::vector<NavigationAction> Decide(int senderStep, int targetStep);
};

#endif // VELA_APP_SHELL_CNAVIGATIONRULES_H
