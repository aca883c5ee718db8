// Application messages exchanged by the pages, the step navigation pane, the main view and
// the charts. The names and numbers are those every part of the program refers to; delivery
// is always synchronous (a direct call or a directly connected signal named after the message),
// never queued.
#ifndef VELA_APP_PAGE_USERMESSAGES_H
#define VELA_APP_PAGE_USERMESSAGES_H

/// Base of the application's message numbers.
constexpr int WM_USER = 0x400;

/// To the pane: wParam the sender's step code, lParam the target step code (+512 for a page
/// built afresh). To the view: wParam the target step code, lParam the fresh-page flag.
/// Signal: CChildDialog::GotoStep, slot: CGUISteps::OnGotoStep, CWinQuiverView::OnGotoStep.
constexpr int UM_GOTO_STEP = WM_USER + 0x001;
/// To the view: wParam the step navigation pane. CWinQuiverView::OnSetStepsPane.
constexpr int UM_SET_STEPS_PANE = WM_USER + 0x002;
/// To the view: wParam a step code whose button is disabled. CWinQuiverView::OnDisableStep.
constexpr int UM_DISABLE_STEP = WM_USER + 0x004;
/// To the view: wParam a step code whose page is deleted. CWinQuiverView::OnDiscardStep.
constexpr int UM_DISCARD_STEP = WM_USER + 0x00A;
/// To the pane while a document opens: wParam a step code, lParam 1 for the page to display.
/// CGUISteps::OnRestoreStep.
constexpr int UM_RESTORE_STEP = WM_USER + 0x09C;
/// To the pane, forwarded to the view: write the report. Signal CChildDialog::WriteReportRequest.
constexpr int UM_WRITE_REPORT = WM_USER + 0x0CC;
/// To the pane: the document was modified. Signal CChildDialog::DocModified.
constexpr int UM_DOC_MODIFIED = WM_USER + 0x136;
/// From a chart to the page that owns it: write the chart's data as text to a path.
/// CChartOwner::OnExportText (the chart and the path), answered with 0.
constexpr int UM_EXPORT_TEXT = 0xBBA;
/// The chart's second data request: every page answers 0 and does nothing, so charts never send it.
constexpr int UM_CHART_DATA_REQUEST = 0xBBB;

/// Added to a target step code of UM_GOTO_STEP when the target page is to be built afresh.
constexpr int FreshPageFlag = 512;

static_assert(UM_GOTO_STEP == 0x401 && UM_SET_STEPS_PANE == 0x402 && UM_DISABLE_STEP == 0x404
        && UM_DISCARD_STEP == 0x40A && UM_RESTORE_STEP == 0x49C && UM_WRITE_REPORT == 0x4CC
        && UM_DOC_MODIFIED == 0x536,
    "application message numbers are fixed");

#endif // VELA_APP_PAGE_USERMESSAGES_H
