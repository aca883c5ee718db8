#include "app/shell/CGUISteps.h"

#include "app/page/CDesktopOpen.h"
#include "app/page/CMessageBox.h"
#include "app/page/CStepTable.h"
#include "app/shell/CNavigationRules.h"
#include "app/shell/CWinQuiverView.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CGUISteps::CGUISteps(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CGUISteps"));
    setFixedWidth(PaneWidth);
    // A plain QWidget subclass paints its style-sheet background only when asked to.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "CGUISteps { background: #1f3b57; }"
        "QLabel#paneTitle { color: white; font-size: 20px; font-weight: bold; }"
        "QLabel#paneSubtitle { color: #b9cde0; font-size: 10px; }"
        "QPushButton { color: #14283b; background: #e8eef4; border: 1px solid #9fb3c8;"
        "  border-radius: 4px; padding: 6px 4px; text-align: center; }"
        "QPushButton:hover { background: #ffffff; }"
        "QPushButton:focus { border: 2px solid #f0a030; }"
        "QPushButton:disabled { color: #7f93a8; background: #35506b; border-color: #45607b; }"
        "QPushButton[highlighted=\"true\"] { background: #f0a030; color: #1b1b1b;"
        "  border-color: #c47f10; }"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 10, 8, 10);
    layout->setSpacing(6);
    auto *title = new QLabel(QStringLiteral("VELA"), this);
    title->setObjectName(QStringLiteral("paneTitle"));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto *subtitle = new QLabel(tr("Analysis steps"), this);
    subtitle->setObjectName(QStringLiteral("paneSubtitle"));
    subtitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(subtitle);
    layout->addSpacing(6);

    AddButton(1004, tr("Start"), true);
    AddButton(1005, tr("Experimental data"), true);
    AddButton(1008, tr("Spectrum"), true);
    AddButton(1012, tr("REMI"), true);
    AddButton(1006, tr("Dispersion curve"), true);
    AddButton(1009, tr("Ground profile"), true);
    AddButton(1007, tr("Final results"), true);
    layout->addStretch(1);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: #45607b;"));
    layout->addWidget(line);
    connect(AddButton(MapButtonId, tr("2D Map"), false), &QPushButton::clicked, this,
        &CGUISteps::MapRequested);
    connect(AddButton(HelpButtonId, tr("Help"), false), &QPushButton::clicked, this,
        &CGUISteps::OpenHelp);
    connect(AddButton(BibliographyButtonId, tr("Bibliography"), false), &QPushButton::clicked, this,
        &CGUISteps::OpenBibliography);
    ResetButtons();
}

QPushButton *CGUISteps::AddButton(int controlId, const QString &caption, bool step)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("button%1").arg(controlId));
    button->setProperty("highlighted", false);
    button->setMinimumHeight(30);
    static_cast<QVBoxLayout *>(layout())->addWidget(button);
    m_buttons[controlId] = button;
    if (step) {
        for (int index = 0; index < CStepTable::ButtonStepCount; ++index) {
            const int stepCode = CStepTable::ButtonStep(index);
            if (CStepTable::ButtonIdOfStep(stepCode) == controlId)
                connect(button, &QPushButton::clicked, this,
                    [this, stepCode] { PressStepButton(stepCode); });
        }
    }
    return button;
}

QPushButton *CGUISteps::Button(int controlId) const
{
    const auto found = m_buttons.find(controlId);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CGUISteps::ResetButtons()
{
    for (int index = 0; index < CStepTable::ButtonStepCount; ++index) {
        const int stepCode = CStepTable::ButtonStep(index);
        SetStepEnabled(stepCode, stepCode == Step::Start);
    }
    Button(1004)->setFocus();
}

void CGUISteps::OnGotoStep(int senderStep, int target)
{
    const NavigationTarget request = CNavigationRules::SplitTarget(target);
    const std::vector<NavigationAction> actions =
        CNavigationRules::Decide(senderStep, request.step);
    // An unknown step changes nothing, not even the stored fresh-page flag.
    if (actions.size() == 1 && actions.front().kind == NavigationAction::Kind::UnknownStep) {
        CMessageBox::Show(this, tr("Schermata non ancora implementata"), QString(),
            MessageRequest::Icon::Information);
        return;
    }
    m_bFreshPage = request.freshPage;
    for (const NavigationAction &action : actions) {
        QPushButton *button = Button(CStepTable::ButtonIdOfStep(action.step));
        switch (action.kind) {
        case NavigationAction::Kind::Discard:
            SetStepEnabled(action.step, false);
            if (m_pView)
                m_pView->OnDiscardStep(action.step);
            break;
        case NavigationAction::Kind::EnableButton:
            SetStepEnabled(action.step, true);
            break;
        case NavigationAction::Kind::DisableButton:
            SetStepEnabled(action.step, false);
            break;
        case NavigationAction::Kind::ViewDisableStep:
            if (m_pView)
                m_pView->OnDisableStep(action.step);
            else
                SetStepEnabled(action.step, false);
            break;
        case NavigationAction::Kind::Focus:
            if (button)
                button->setFocus();
            break;
        case NavigationAction::Kind::Show:
            PressStepButton(action.step);
            break;
        case NavigationAction::Kind::ClearAnalysisFlags:
            if (m_pView)
                m_pView->ClearAnalysisFlags();
            break;
        case NavigationAction::Kind::UnknownStep:
            break;
        }
    }
}

void CGUISteps::OnRestoreStep(int stepCode, bool display)
{
    if (QPushButton *button = Button(CStepTable::ButtonIdOfStep(stepCode))) {
        button->setVisible(true);
        button->setEnabled(true);
    }
    if (display)
        PressStepButton(stepCode);
}

void CGUISteps::OnDocModified() { emit DocModified(); }

void CGUISteps::OnWriteReport()
{
    if (m_pView)
        m_pView->OnWriteReport();
}

void CGUISteps::PressStepButton(int stepCode)
{
    const bool fresh = m_bFreshPage;
    m_bFreshPage = false;
    if (m_pView)
        m_pView->OnGotoStep(stepCode, fresh);
    Highlight(stepCode);
}

void CGUISteps::SetStepEnabled(int stepCode, bool enabled)
{
    if (QPushButton *button = Button(CStepTable::ButtonIdOfStep(stepCode)))
        button->setEnabled(enabled);
}

bool CGUISteps::IsStepEnabled(int stepCode) const
{
    const QPushButton *button = Button(CStepTable::ButtonIdOfStep(stepCode));
    return button && button->isEnabled();
}

void CGUISteps::Highlight(int stepCode)
{
    m_highlighted = stepCode;
    for (const auto &[controlId, button] : m_buttons) {
        const bool on = controlId == CStepTable::ButtonIdOfStep(stepCode);
        if (button->property("highlighted").toBool() == on)
            continue;
        button->setProperty("highlighted", on);
        // The style sheet depends on the property: have it looked at again.
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

void CGUISteps::OpenHelp()
{
    CDesktopOpen::OpenStepHelp(this, m_pView ? m_pView->CurrentStep() : 0);
}

void CGUISteps::OpenBibliography()
{
    CDesktopOpen::OpenLocal(this, CDesktopOpen::DocumentsFolder());
}
