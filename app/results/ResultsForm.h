// What the results page shows and stores, without widgets: the profile summary table, the
// category table and question texts of each set of definitions, the page's section of the
// document and the rows of its report chapter.
#ifndef VELA_APP_RESULTS_RESULTSFORM_H
#define VELA_APP_RESULTS_RESULTSFORM_H

#include "app/results/CSoilClassification.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>

#include <array>
#include <vector>

class CGridModel;
class CMatrixArchive;
struct LayerRecord;

/// One row of the category table.
struct CategoryRow
{
    QString site; ///< the letter, "A" ... "S2" (or the ASCE class)
    QString description; ///< lines separated by CR LF
    QString velocities; ///< the "Vs30 [m/s]" column
};

/// The page's state as its document section holds it.
struct ResultsPageState
{
    std::array<bool, CSoilClassification::RowCount> enabled {};
    std::array<SoilAnswer, CSoilClassification::RowCount> answers {};
    QString vs30Text; ///< the average field, as shown
    QString soilTypeText; ///< "Soil type X", as shown
    QString category; ///< the letter shown
    QString offsetText; ///< the Offset field, as typed
    SoilCode code = SoilCode::Dm2008;
    /// Whether the definitions were chosen on row 0 (or beside it): until then row 0 shows no
    /// answer and the Offset field stays hidden.
    bool codeChosen = false;
    int bedrockChoice = -1; ///< selection of the bed-rock list
};

/// Texts and section of the results page (the static parts of CGUIRisultati).
class ResultsForm
{
    Q_DECLARE_TR_FUNCTIONS(ResultsForm)

public:
    /// Columns of the profile summary table, in order.
    enum SummaryColumn {
        UnitColumn,
        DescriptionColumn,
        ThicknessColumn,
        DepthColumn,
        DensityColumn,
        WaterTableColumn,
        PoissonColumn,
        VsColumn,
        VsFixedColumn,
        VpColumn,
        AlluvialColumn,
        SummaryColumnCount
    };

    /// Fills the summary table from the profile: one header row, one row per layer (the
    /// half-space last, its thickness and depth "oo"), every cell read-only. Vs is the final
    /// Vs; Vp follows from Vs and Poisson's ratio.
    static void FillSummary(CGridModel &table, const std::vector<LayerRecord> &layers);
    /// Writes the column headers in the language in force (a document keeps the language it
    /// was saved in).
    static void LabelSummary(CGridModel &table);
    /// The profile as the classification needs it, read back from the summary table (so that
    /// a page restored from a document classifies what it shows).
    static std::vector<SoilLayer> LayersOfSummary(const CGridModel &table);

    /// "Vs30 of the models that fit the data (10-90%): a - b m/s; depth of investigation: d m",
    /// with a warning when the depth of investigation is less than 30 m; empty when
    /// `depthOfInvestigation` is 0 (no search from many starts).
    static QString EnsembleLine(double vs30P10, double vs30P90, double depthOfInvestigation);

    /// Rows of the category table under a set of definitions.
    static QList<CategoryRow> CategoryRows(SoilCode code);
    /// The question of a row (0..7) under a set of definitions.
    static QString Question(SoilCode code, int row);
    /// The name of a set of definitions, as the report gives it.
    static QString CodeName(SoilCode code);
    /// The caption of the average field under a set of definitions ("Vs30 [m/s]", ...).
    static QString AverageCaption(SoilCode code);
    /// The status field: "Soil type X", the site-specific note, or empty.
    static QString StatusText(const CSoilClassification &classification);
    /// Entries of the bed-rock list: one per layer, then "Not found".
    static QStringList BedrockEntries(const CGridModel &table);

    /// The page's state as shown for a classification: the average field "%d" (truncated),
    /// the status text, the answers and rows of the classification.
    /// @param offsetText the Offset field as typed.
    /// @param codeChosen whether the definitions were chosen on row 0 or beside it.
    static ResultsPageState StateOf(
        const CSoilClassification &classification, const QString &offsetText, bool codeChosen);
    /// The whole section of a results page that shows `layers` and `classification`, without
    /// a page (the summary table is built from the layers).
    static void WriteSection(CMatrixArchive &ar, const std::vector<LayerRecord> &layers,
        const CSoilClassification &classification, const QString &offsetText, bool codeChosen);

    /// Writes the section: separator, tag "RIS", version 1.0, the summary table, then the
    /// state in the document's order.
    static void WriteSection(
        CMatrixArchive &ar, const CGridModel &table, const ResultsPageState &state);
    /// Reads a section written by WriteSection. Everything is read before `table` and `state`
    /// change; throws CArchiveException (and changes nothing) on bytes that are not a results
    /// section.
    static void ReadSection(CMatrixArchive &ar, CGridModel &table, ResultsPageState &state);

    /// The report's sentence for the answer of a question row (0..7) under a set of
    /// definitions; empty when the row has no answer. Row 0's answer is the set itself (pass
    /// Yes); row 7's sentence names `bedrock`, the entry chosen in the list.
    static QString AnswerSentence(
        SoilCode code, int row, SoilAnswer answer, const QString &bedrock = QString());
};

/// Tag of the page's section in the document.
inline constexpr const char *ResultsSectionTag = "RIS";

#endif // VELA_APP_RESULTS_RESULTSFORM_H
