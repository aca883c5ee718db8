// The step navigation pane: one button per step, the navigation rules, help and bibliography.
#ifndef VELA_APP_SHELL_CGUISTEPS_H
#define VELA_APP_SHELL_CGUISTEPS_H

#include <QWidget>

#include <map>

class CWinQuiverView;
class QPushButton;

/// Left pane of the main frame (148 pixels wide). Receives the pages' requests and drives the
/// main view by the navigation rules. Every request is handled synchronously.
class CGUISteps : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PaneWidth = 148;
    /// Control identifiers of the buttons that are not steps.
    static constexpr int MapButtonId = 1013;
    static constexpr int HelpButtonId = 1010;
    static constexpr int BibliographyButtonId = 1011;

    explicit CGUISteps(QWidget *parent = nullptr);

    void SetView(CWinQuiverView *view) { m_pView = view; }
    CWinQuiverView *View() const { return m_pView; }

    /// UM_GOTO_STEP from a page or a button: senderStep the requesting step, target the step
    /// to go to (512 added when its page is to be built afresh).
    void OnGotoStep(int senderStep, int target);
    /// UM_RESTORE_STEP while a document opens: makes the step's button available and, for the
    /// page to display, presses it.
    void OnRestoreStep(int stepCode, bool display);
    /// UM_DOC_MODIFIED: passed on to the frame (DocModified).
    void OnDocModified();
    /// UM_WRITE_REPORT: forwarded to the view.
    void OnWriteReport();

    /// What a step button does when pressed: the view shows the step (built afresh when the
    /// last request asked for it), the button is highlighted, the fresh-page flag is cleared.
    void PressStepButton(int stepCode);
    void SetStepEnabled(int stepCode, bool enabled);
    bool IsStepEnabled(int stepCode) const;
    /// The step whose button is highlighted (the step on display), 0 for none.
    int HighlightedStep() const { return m_highlighted; }
    /// The button with a control identifier (steps 1004..1012, 2D map, help, bibliography).
    QPushButton *Button(int controlId) const;
    /// Every step button disabled except Start, which is focused (as at start-up).
    void ResetButtons();

Q_SIGNALS:
    /// UM_DOC_MODIFIED, passed on.
    void DocModified();
    /// The 2D Map button was pressed.
    void MapRequested();

private:
    void Highlight(int stepCode);
    void OpenHelp();
    void OpenBibliography();
    QPushButton *AddButton(int controlId, const QString &caption, bool step);

    CWinQuiverView *m_pView = nullptr;
    bool m_bFreshPage = false;
    int m_highlighted = 0;
    std::map<int, QPushButton *> m_buttons;
};

#endif // VELA_APP_SHELL_CGUISTEPS_H
