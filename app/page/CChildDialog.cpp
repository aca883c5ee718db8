#include "app/page/CChildDialog.h"

#include "app/page/CDesktopOpen.h"
#include "matrix/CMatrixArchive.h"

CChildDialog::CChildDialog(
    int templateId, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : QWidget(parent)
    , m_pSteps(steps)
    , m_templateId(templateId)
    , m_pAnalysis(analysis)
{
    // Pages paint their own background so that the view's colour never shows through.
    setAutoFillBackground(true);
}

CChildDialog::~CChildDialog() = default;

void CChildDialog::Create()
{
    // A page is initialised once; a second call would run its first refresh again.
    if (m_created)
        return;
    m_created = true;
    OnInitDialog();
}

void CChildDialog::SerializeSection(CMatrixArchive &ar, int version)
{
    if (ar.IsLoading())
        LoadSection(ar, version);
    else
        SaveSection(ar, version);
}

int CChildDialog::SaveSection(CMatrixArchive &, int) { return 0; }

int CChildDialog::LoadSection(CMatrixArchive &, int) { return 0; }

int CChildDialog::WriteReport(ReportWriter &) { return 0; }

void CChildDialog::OnPageCreated() { }

void CChildDialog::InitPage() { }

bool CChildDialog::ValidateInput() { return false; }

int CChildDialog::OnExportText(CChartWidget *, const QString &) { return 0; }

void CChildDialog::OpenStepHelp(int stepCode) { CDesktopOpen::OpenStepHelp(this, stepCode); }

void CChildDialog::OnInitDialog()
{
    InitPage();
    if (m_bRestoring)
        m_bRestoring = false;
    else
        FirstRefresh();
}

void CChildDialog::FirstRefresh() { }
