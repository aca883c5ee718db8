// The main view: owns the pages of the eight slots and shows one of them at a time.
#ifndef VELA_APP_SHELL_CWINQUIVERVIEW_H
#define VELA_APP_SHELL_CWINQUIVERVIEW_H

#include "app/page/CStepTable.h"
#include "app/shell/CDocumentFile.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class CChildDialog;
class CGUISteps;
class CMatrixArchive;
class DispersionAnalysis;
class QScrollArea;
class QStackedLayout;

/// Right pane of the main frame. Owns the pages and the application's one DispersionAnalysis,
/// which the pages reach through CChildDialog::Analysis().
class CWinQuiverView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MinimumWidth = 600;
    static constexpr int MinimumHeight = 400;

    explicit CWinQuiverView(QWidget *parent = nullptr);
    ~CWinQuiverView() override;

    /// UM_SET_STEPS_PANE: the pane that receives the pages' requests.
    void OnSetStepsPane(CGUISteps *steps);
    /// UM_GOTO_STEP to the view: shows the page of a step, creating it when its slot is empty
    /// or freshPage is set. Unknown step codes are ignored.
    void OnGotoStep(int stepCode, bool freshPage);
    /// UM_DISABLE_STEP: disables the step's button in the pane.
    void OnDisableStep(int stepCode);
    /// UM_DISCARD_STEP: deletes the step's page and empties its slot; nothing for other codes.
    void OnDiscardStep(int stepCode);
    /// UM_WRITE_REPORT, forwarded by the pane: asks for the file and writes the report of every
    /// page there is, in slot order. Returns whether a report was written.
    bool OnWriteReport();
    /// Replaces the report's save dialog (tests): returns the chosen path, empty for Cancel.
    void SetReportFileChooser(std::function<QString()> chooser)
    {
        m_chooseReportFile = std::move(chooser);
    }
    /// Clears the analysed and passive-prepared flags of the analysis (a curve typed in from the
    /// start page has no traces behind it).
    void ClearAnalysisFlags();

    /// Deletes every page (a new document); the pane is not changed.
    void DiscardAllPages();
    /// Replaces the analysis with an empty one (a new document, once every page is discarded).
    void ResetAnalysis();
    /// For a document being opened: deletes the slot's page and builds it anew with
    /// m_bRestoring set (so it skips its first refresh), hidden and sized to the view, ready for
    /// its SerializeSection. Returns nullptr for a slot outside 0..7.
    CChildDialog *RecreatePageForDocument(int slot);
    /// Makes an existing page the page on display (the stored page of an opened document).
    void ShowPage(int slot);

    /// Writes the document: the header and every slot's frame with its page's section.
    void WriteDocument(CMatrixArchive &ar);
    /// Reads a document into the view: every page is discarded and the analysis emptied
    /// first, then each stored slot's page is rebuilt from its section and its step button
    /// enabled; the stored page on display is shown (the start page when there is none).
    /// Throws CArchiveException on a damaged document, with the pages read so far in place.
    CDocumentFile::ReadResult ReadDocument(CMatrixArchive &ar);

    /// The page in a slot (0..7), or nullptr.
    CChildDialog *Page(int slot) const;
    /// The page of a step code, or nullptr.
    CChildDialog *PageOfStep(int stepCode) const;
    CChildDialog *CurrentPage() const { return m_pCurrentPage; }
    /// Step code of the page on display, 0 when none.
    int CurrentStep() const;
    DispersionAnalysis &Analysis() { return *m_analysis; }

    /// Slot index of the page on display, -1 when none.
    int m_nCurrentPage = -1;

    /// The scroll area the pages sit in (they scroll when the view is smaller than a page).
    QScrollArea *PageScrollArea() const { return m_scroll; }

private:
    CChildDialog *BuildPage(int slot, bool restoring);
    void DeletePage(int slot);

    std::array<CChildDialog *, CStepTable::SlotCount> m_pages {};
    CChildDialog *m_pCurrentPage = nullptr;
    CGUISteps *m_pSteps = nullptr;
    std::unique_ptr<DispersionAnalysis> m_analysis;
    std::function<QString()> m_chooseReportFile;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_pageHost = nullptr;
    QStackedLayout *m_pageStack = nullptr;
};

#endif // VELA_APP_SHELL_CWINQUIVERVIEW_H
