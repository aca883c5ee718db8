#include "app/shell/CNavigationRules.h"

#include "app/page/CStepTable.h"
#include "app/page/UserMessages.h"

#include <initializer_list>

namespace {

using Kind = NavigationAction::Kind;

void DiscardAll(std::vector<NavigationAction> &actions, std::initializer_list<int> steps)
{
    for (int step : steps)
        actions.push_back({ Kind::Discard, step });
}

} // namespace

NavigationTarget CNavigationRules::SplitTarget(int target)
{
    // 512 itself carries no flag: only values above it name a step built afresh.
    if (target >= FreshPageFlag + 1)
        return { target - FreshPageFlag, true };
    return { target, false };
}

std::vector<NavigationAction> CNavigationRules::Decide(int senderStep, int targetStep)
{
    std::vector<NavigationAction> actions;
    switch (targetStep) {
    case Step::Start:
        DiscardAll(actions,
            { Step::ActiveData, Step::Spectrum, Step::PassiveData, Step::DispersionCurve,
                Step::GroundProfile, Step::Results });
        actions.push_back({ Kind::Show, Step::Start });
        actions.push_back({ Kind::Focus, Step::Start });
        break;
    case Step::ActiveData:
        DiscardAll(actions,
            { Step::Spectrum, Step::PassiveData, Step::DispersionCurve, Step::GroundProfile,
                Step::Results });
        actions.push_back({ Kind::Show, Step::ActiveData });
        actions.push_back({ Kind::EnableButton, Step::ActiveData });
        actions.push_back({ Kind::Focus, Step::ActiveData });
        break;
    case Step::Spectrum:
        DiscardAll(actions,
            { Step::PassiveData, Step::DispersionCurve, Step::GroundProfile, Step::Results });
        actions.push_back({ Kind::EnableButton, Step::Spectrum });
        actions.push_back({ Kind::Focus, Step::Spectrum });
        actions.push_back({ Kind::Show, Step::Spectrum });
        break;
    case Step::PassiveData:
        DiscardAll(actions, { Step::DispersionCurve, Step::GroundProfile, Step::Results });
        // Passive data reached from the active page: the active spectrum no longer applies.
        if (senderStep == Step::ActiveData)
            actions.push_back({ Kind::ViewDisableStep, Step::Spectrum });
        actions.push_back({ Kind::Show, Step::PassiveData });
        actions.push_back({ Kind::EnableButton, Step::PassiveData });
        actions.push_back({ Kind::Focus, Step::PassiveData });
        break;
    case Step::DispersionCurve:
        DiscardAll(actions, { Step::Results });
        actions.push_back({ Kind::DisableButton, Step::GroundProfile });
        actions.push_back({ Kind::EnableButton, Step::DispersionCurve });
        // The start page's "Insert dispersion curve" begins an analysis without traces.
        if (senderStep == Step::Start) {
            DiscardAll(actions, { Step::ActiveData, Step::Spectrum, Step::PassiveData });
            actions.push_back({ Kind::ClearAnalysisFlags, 0 });
        }
        actions.push_back({ Kind::Show, Step::DispersionCurve });
        break;
    case Step::GroundProfile:
        DiscardAll(actions, { Step::Results });
        actions.push_back({ Kind::EnableButton, Step::GroundProfile });
        actions.push_back({ Kind::Focus, Step::GroundProfile });
        actions.push_back({ Kind::Show, Step::GroundProfile });
        break;
    case Step::Results:
        actions.push_back({ Kind::EnableButton, Step::Results });
        actions.push_back({ Kind::Focus, Step::Results });
        actions.push_back({ Kind::Show, Step::Results });
        break;
    default:
        actions.push_back({ Kind::UnknownStep, targetStep });
        break;
    }
    return actions;
}
