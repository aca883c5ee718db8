// Base class of every page of the analysis: a child widget that fills the main view, with the
// operations through which the view saves, restores, reports and initialises the page.
#ifndef VELA_APP_PAGE_CCHILDDIALOG_H
#define VELA_APP_PAGE_CCHILDDIALOG_H

#include "app/chart/CChartOwner.h"
#include "app/page/CStepTable.h"

#include <QWidget>

class CGUISteps;
class CMatrixArchive;
class DispersionAnalysis;
class ReportWriter;

/// A page of one analysis step. Pages never call each other: they send their requests to the
/// step navigation pane through the signals below, which the main view connects directly (so
/// they are delivered synchronously: when `emit GotoStep(...)` returns, the pages concerned have
/// been deleted and created). A page reaches the one analysis object through Analysis().
///
/// Life of a page, driven by the main view: construction (template id, parent, pane, analysis);
/// m_bRestoring set when the page is about to be filled from a document; Create(), which runs
/// OnInitDialog(); OnPageCreated(); sizing and showing, or SerializeSection() when opening.
///
/// Controls are placed with Qt layouts, so they keep their distances to the page's edges when
/// the page is resized.
class CChildDialog : public QWidget, public CChartOwner
{
    Q_OBJECT

public:
    /// @param templateId identifier of the page's form (kept for reference, see TemplateId()).
    /// @param parent the main view (or nullptr in tests).
    /// @param steps the step navigation pane the page sends its requests to; not owned, may be
    ///        nullptr in tests.
    /// @param analysis the application's one analysis object, owned by the main view; not
    ///        owned, may be nullptr for pages that do not use it.
    CChildDialog(
        int templateId, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis = nullptr);
    ~CChildDialog() override;

    /// Creates the page's "window": runs the dialog initialisation once. Non-virtual.
    void Create();

    int TemplateId() const { return m_templateId; }
    DispersionAnalysis *Analysis() const { return m_pAnalysis; }
    CGUISteps *Steps() const { return m_pSteps; }

    /// Calls LoadSection when the archive is loading, SaveSection otherwise. Not overridden.
    /// @param version document format version in force (0 or 1), the same for every page.
    virtual void SerializeSection(CMatrixArchive &ar, int version);
    /// Writes the page's own section at the archive's position. Returns 0; the base writes
    /// nothing.
    virtual int SaveSection(CMatrixArchive &ar, int version);
    /// Reads back what SaveSection wrote and puts it into the page. Returns 0; the base reads
    /// nothing.
    virtual int LoadSection(CMatrixArchive &ar, int version);
    /// Appends the page's chapter to the report being written, through the report operations
    /// (see ReportWriter). Pages without a chapter write nothing. The base writes nothing and
    /// returns 0.
    virtual int WriteReport(ReportWriter &report);
    /// Called once by the main view right after Create(), before sizing, showing or loading.
    virtual void OnPageCreated();
    /// Fills the controls, tables and charts from the data held so far. Called by OnInitDialog.
    virtual void InitPage();
    /// Checks the editable inputs before an action that uses them. When one is invalid: shows its
    /// message (through CMessageBox), focuses the offending field and returns true. Otherwise
    /// returns false and shows nothing. The base returns false.
    virtual bool ValidateInput();

    /// Answers a chart's request to write its data as text (UM_EXPORT_TEXT). The base does
    /// nothing and answers 0.
    int OnExportText(CChartWidget *chart, const QString &path) override;

    /// Opens the help document of a step (beside the program in help/); a missing document is
    /// reported with a message.
    void OpenStepHelp(int stepCode);

    /// true between the construction of a page for a document being opened and the end of its
    /// initialisation.
    bool m_bRestoring = false;
    /// The step navigation pane; not owned.
    CGUISteps *m_pSteps = nullptr;

Q_SIGNALS:
    /// UM_GOTO_STEP to the pane: senderStep is the page's own step code, target the step to go
    /// to, plus FreshPageFlag (512) when that page is to be built afresh (Next adds it, Previous
    /// does not).
    void GotoStep(int senderStep, int target);
    /// UM_DOC_MODIFIED to the pane.
    void DocModified();
    /// UM_WRITE_REPORT to the pane.
    void WriteReportRequest();

protected:
    /// Dialog initialisation: InitPage(), then, when restoring, clears m_bRestoring; otherwise
    /// runs FirstRefresh(). Pages build their controls (with tr() captions) in their constructor.
    virtual void OnInitDialog();
    /// The page's own first refresh, skipped when the page is filled from a document (the
    /// document's LoadSection redraws instead). The base does nothing.
    virtual void FirstRefresh();

private:
    int m_templateId = 0;
    DispersionAnalysis *m_pAnalysis = nullptr;
    bool m_created = false;
};

#endif // VELA_APP_PAGE_CCHILDDIALOG_H
