#include "app/shell/CWinQuiverView.h"

#include "app/page/CChildDialog.h"
#include "app/page/CMessageBox.h"
#include "app/results/ReportDriver.h"
#include "app/shell/CGUISteps.h"
#include "app/shell/PageFactory.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

namespace {

// The view's pages as the document file sees them.
class ViewSlots : public CDocumentSlots
{
public:
    ViewSlots(CWinQuiverView &view, CGUISteps *steps)
        : m_view(view)
        , m_steps(steps)
    {
    }
    int DisplayedSlot() const override
    {
        return m_view.m_nCurrentPage < 0 ? 1 : m_view.m_nCurrentPage;
    }
    bool HasPage(int slot) const override { return m_view.Page(slot) != nullptr; }
    void SaveSlot(int slot, CMatrixArchive &ar, int version) override
    {
        m_view.Page(slot)->SerializeSection(ar, version);
    }
    void RestoreAbsent(int slot) override
    {
        const int step = CStepTable::StepOfSlot(slot);
        if (slot != 0 && m_steps)
            m_steps->SetStepEnabled(step, false);
        m_view.OnDiscardStep(step);
    }
    void RestorePresent(int slot, CMatrixArchive &ar, int version, bool displayed) override
    {
        CChildDialog *page = m_view.RecreatePageForDocument(slot);
        if (page == nullptr)
            CMatrixArchive::ThrowBadClass();
        page->SerializeSection(ar, version);
        // The blank page takes part in no step signalling.
        if (slot != 0 && m_steps)
            m_steps->OnRestoreStep(CStepTable::StepOfSlot(slot), displayed);
    }

private:
    CWinQuiverView &m_view;
    CGUISteps *m_steps;
};

} // namespace

#include <QScrollArea>
#include <QStackedLayout>
#include <QVBoxLayout>

CWinQuiverView::CWinQuiverView(QWidget *parent)
    : QWidget(parent)
    , m_analysis(std::make_unique<DispersionAnalysis>())
{
    setObjectName(QStringLiteral("CWinQuiverView"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    // Pages lay out at their natural size and scroll on a small screen rather than being cut
    // off: a laptop at 1366 x 768 leaves the view less height than the data page needs.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScrollArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_pageHost = new QWidget;
    m_pageHost->setObjectName(QStringLiteral("pageHost"));
    m_pageStack = new QStackedLayout(m_pageHost);
    m_pageStack->setContentsMargins(0, 0, 0, 0);
    m_scroll->setWidget(m_pageHost);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
}

CWinQuiverView::~CWinQuiverView()
{
    // Pages point at the analysis: they go first.
    for (int slot = 0; slot < CStepTable::SlotCount; ++slot)
        DeletePage(slot);
}

void CWinQuiverView::OnSetStepsPane(CGUISteps *steps) { m_pSteps = steps; }

void CWinQuiverView::OnGotoStep(int stepCode, bool freshPage)
{
    const int slot = CStepTable::SlotOfStep(stepCode);
    if (slot < 0)
        return;
    if (m_pCurrentPage)
        m_pCurrentPage->hide();
    if ((m_pages[slot] == nullptr || freshPage) && BuildPage(slot, false) == nullptr)
        return;
    ShowPage(slot);
}

void CWinQuiverView::ShowPage(int slot)
{
    if (Page(slot) == nullptr)
        return;
    if (m_pCurrentPage && m_pCurrentPage != m_pages[slot])
        m_pCurrentPage->hide();
    CChildDialog *page = m_pages[slot];
    m_pageStack->setCurrentWidget(page);
    page->show();
    page->raise();
    m_pCurrentPage = page;
    m_nCurrentPage = slot;
}

CChildDialog *CWinQuiverView::RecreatePageForDocument(int slot)
{
    if (slot < 0 || slot >= CStepTable::SlotCount)
        return nullptr;
    CChildDialog *page = BuildPage(slot, true);
    if (page)
        page->hide();
    return page;
}

CChildDialog *CWinQuiverView::BuildPage(int slot, bool restoring)
{
    DeletePage(slot);
    CChildDialog *page =
        CreatePage(CStepTable::StepOfSlot(slot), m_pageHost, m_pSteps, m_analysis.get());
    if (page == nullptr)
        return nullptr;
    m_pages[slot] = page;
    m_pageStack->addWidget(page);
    page->m_bRestoring = restoring;
    if (m_pSteps) {
        // Direct connections: a request has been carried out when the page's emit returns.
        connect(
            page, &CChildDialog::GotoStep, m_pSteps, &CGUISteps::OnGotoStep, Qt::DirectConnection);
        connect(page, &CChildDialog::DocModified, m_pSteps, &CGUISteps::OnDocModified,
            Qt::DirectConnection);
        connect(page, &CChildDialog::WriteReportRequest, m_pSteps, &CGUISteps::OnWriteReport,
            Qt::DirectConnection);
    }
    page->Create();
    page->OnPageCreated();
    return page;
}

void CWinQuiverView::OnDisableStep(int stepCode)
{
    if (m_pSteps)
        m_pSteps->SetStepEnabled(stepCode, false);
}

void CWinQuiverView::OnDiscardStep(int stepCode)
{
    const int slot = CStepTable::SlotOfStep(stepCode);
    if (slot >= 0)
        DeletePage(slot);
}

bool CWinQuiverView::OnWriteReport()
{
    const QString path =
        m_chooseReportFile ? m_chooseReportFile() : ReportDriver::ChooseFile(window());
    if (path.isEmpty())
        return false;
    return ReportDriver::Write(
        window(), path, QList<CChildDialog *>(m_pages.begin(), m_pages.end()));
}

void CWinQuiverView::ClearAnalysisFlags()
{
    m_analysis->m_bAnalysed = false;
    m_analysis->m_bPassivePrepared = false;
}

void CWinQuiverView::DiscardAllPages()
{
    for (int slot = 0; slot < CStepTable::SlotCount; ++slot)
        DeletePage(slot);
}

void CWinQuiverView::ResetAnalysis()
{
    // Assigned rather than replaced: pages not yet freed still point at this object.
    *m_analysis = DispersionAnalysis();
}

void CWinQuiverView::WriteDocument(CMatrixArchive &ar)
{
    ViewSlots pages(*this, m_pSteps);
    CDocumentFile::Write(ar, pages);
}

CDocumentFile::ReadResult CWinQuiverView::ReadDocument(CMatrixArchive &ar)
{
    DiscardAllPages();
    ResetAnalysis();
    if (m_pSteps)
        m_pSteps->ResetButtons();
    ViewSlots pages(*this, m_pSteps);
    const CDocumentFile::ReadResult result = CDocumentFile::Read(ar, pages);
    if (m_pSteps) {
        // The start is always within reach, whatever the file says of its page.
        m_pSteps->SetStepEnabled(1, true);
        if (m_pCurrentPage == nullptr)
            m_pSteps->PressStepButton(1);
    }
    return result;
}

CChildDialog *CWinQuiverView::Page(int slot) const
{
    return slot >= 0 && slot < CStepTable::SlotCount ? m_pages[slot] : nullptr;
}

CChildDialog *CWinQuiverView::PageOfStep(int stepCode) const
{
    return Page(CStepTable::SlotOfStep(stepCode));
}

int CWinQuiverView::CurrentStep() const
{
    return m_nCurrentPage < 0 ? 0 : CStepTable::StepOfSlot(m_nCurrentPage);
}

void CWinQuiverView::DeletePage(int slot)
{
    CChildDialog *page = m_pages[slot];
    if (page == nullptr)
        return;
    m_pages[slot] = nullptr;
    if (page == m_pCurrentPage) {
        m_pCurrentPage = nullptr;
        m_nCurrentPage = -1;
    }
    // The page may be the one whose request is being carried out (a page going back to the
    // start discards itself): it leaves the screen and the slot now, and is freed once its
    // request has returned, so that it never runs on after its own deletion.
    page->disconnect(this);
    if (m_pSteps)
        page->disconnect(m_pSteps);
    m_pageStack->removeWidget(page);
    page->hide();
    page->deleteLater();
}
