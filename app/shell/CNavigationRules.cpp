#include "app/shell/CNavigationRules.h"

#include "app/shell/UserMessages.h"

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
    case 1:
        DiscardAll(actions, { 5, 10, 12, 15, 20, 30 });
        actions.push_back({ Kind::Show, 1 });
        actions.push_back({ Kind::Focus, 1 });
        break;
    case 5:
        DiscardAll(actions, { 10, 12, 15, 20, 30 });
        actions.push_back({ Kind::Show, 5 });
        actions.push_back({ Kind::EnableButton, 5 });
        actions.push_back({ Kind::Focus, 5 });
        break;
    case 10:
        DiscardAll(actions, { 12, 15, 20, 30 });
        actions.push_back({ Kind::EnableButton, 10 });
        actions.push_back({ Kind::Focus, 10 });
        actions.push_back({ Kind::Show, 10 });
        break;
    case 12:
        DiscardAll(actions, { 15, 20, 30 });
        // Passive data reached from the active page: the active spectrum no longer applies.
        if (senderStep == 5)
            actions.push_back({ Kind::ViewDisableStep, 10 });
        actions.push_back({ Kind::Show, 12 });
        actions.push_back({ Kind::EnableButton, 12 });
        actions.push_back({ Kind::Focus, 12 });
        break;
    case 15:
        DiscardAll(actions, { 30 });
        actions.push_back({ Kind::DisableButton, 20 });
        actions.push_back({ Kind::EnableButton, 15 });
        // The start page's "Insert dispersion curve" begins an analysis without traces.
        if (senderStep == 1) {
            DiscardAll(actions, { 5, 10, 12 });
            actions.push_back({ Kind::ClearAnalysisFlags, 0 });
        }
        actions.push_back({ Kind::Show, 15 });
        break;
    case 20:
        DiscardAll(actions, { 30 });
        actions.push_back({ Kind::EnableButton, 20 });
        actions.push_back({ Kind::Focus, 20 });
        actions.push_back({ Kind::Show, 20 });
        break;
    case 30:
        actions.push_back({ Kind::EnableButton, 30 });
        actions.push_back({ Kind::Focus, 30 });
        actions.push_back({ Kind::Show, 30 });
        break;
    default:
        actions.push_back({ Kind::UnknownStep, targetStep });
        break;
    }
    return actions;
}
