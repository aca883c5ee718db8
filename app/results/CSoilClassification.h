// Vs30, the equivalent velocities of the codes in force and the questionnaire that assigns the
// seismic soil category of a site: the computation behind the results page and vela-cli.
#ifndef VELA_APP_RESULTS_CSOILCLASSIFICATION_H
#define VELA_APP_RESULTS_CSOILCLASSIFICATION_H

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

/// The set of definitions a site is classified under. The numbers are those the document
/// stores.
enum class SoilCode {
    Opcm2003 = 0, ///< O.P.C.M. n. 3274/2003 with Eurocode 8 (the "old" definitions)
    Dm2008 = 1, ///< DM 14 January 2008 (the "new" definitions, the default)
    Ntc2018 = 2, ///< NTC 2018, D.M. 17 January 2018, section 3.2.2
    Asce722 = 3, ///< ASCE 7-22, Table 20.2-1
};

/// One layer of the final profile as the classification sees it; the half-space comes last
/// and its thickness is ignored.
struct SoilLayer
{
    double thickness = 0.0; ///< [m]
    double vs = 0.0; ///< final shear-wave velocity [m/s]
    bool alluvial = false;
};

/// Velocity below which a layer is not taken for bed rock or substrate [m/s].
constexpr double BedrockVelocity = 800.0;
/// Depth over which ASCE 7-22 averages Vs: 100 ft [m].
constexpr double AsceAverageDepth = 30.48;

/// Travel-time average of Vs over `depth` metres, starting at layer `first` and below the
/// reference depth `offset` [m] (counted from the top of layer `first`). A profile that ends
/// above that depth is continued by its half-space; when nothing but the half-space lies
/// below the reference depth, the result is the half-space's Vs. Returns 0 for an empty
/// profile or a velocity that is not positive where one is needed.
double AverageVs(const std::vector<SoilLayer> &layers, int first, double offset, double depth);

/// Vs30 by the program's long-standing rule: AverageVs over 30 m.
double ComputeVs30(const std::vector<SoilLayer> &layers, int first, double offset);

/// Index of the first layer (half-space included) whose Vs reaches BedrockVelocity, or -1.
int FirstBedrockLayer(const std::vector<SoilLayer> &layers);

/// Depth of the top of a layer below the ground surface [m]; for index -1 (no bed rock) or
/// an index past the end, +infinity.
double LayerTopDepth(const std::vector<SoilLayer> &layers, int index);

/// The equivalent shear-wave velocity of NTC 2018 with its depth.
struct EquivalentVelocity
{
    double vsEq = 0.0; ///< Vs,eq [m/s]
    double h = 0.0; ///< H [m]: substrate depth below the reference plane, at most 30
    double substrateDepth = 0.0; ///< the same, not capped (+infinity without a substrate)
};

/// Vs,eq = H / sum(h_i / Vs_i) over the layers between the reference plane `offset` [m] and
/// the substrate (layer `substrate`, -1 for none); H = 30 m when the substrate is deeper or
/// absent. With the substrate at or above the reference plane H is 0 and Vs,eq the
/// substrate's own Vs.
EquivalentVelocity ComputeVsEq(const std::vector<SoilLayer> &layers, double offset, int substrate);

/// NTC 2018 category of a Vs,eq [m/s] and a substrate depth below the reference plane [m];
/// empty when the code requires a site-specific response analysis (Vs,eq below 100 m/s).
QString NtcCategory(double vsEq, double substrateDepth);

/// ASCE 7-22 site class of the 100 ft average [m/s]: A, B, BC, C, CD, D, DE or E, each band
/// including its upper limit.
QString AsceSiteClass(double vs100ft);

/// How a question row is answered.
enum class SoilAnswer { None, Yes, No, DontKnow };

/// The results page's questionnaire as plain state, without widgets. Rows 0..7 are the
/// question rows of the page: 0 the set of definitions, 1 soil nature, 2 liquefaction,
/// 3 and 4 the soft or special layers, 5 the alteration layer, 6 gradual improvement with
/// depth, 7 the bed-rock layer. Every action clears the category shown and resets the rows
/// that follow the answered one (in the order in which they are asked: 1, 2, 3, 4, 5, 7, 6),
/// then applies its effect.
class CSoilClassification
{
public:
    static constexpr int RowCount = 8;

    /// The profile to classify (the half-space last). Does not reset anything: call Init().
    void SetProfile(const std::vector<SoilLayer> &layers) { m_layers = layers; }
    const std::vector<SoilLayer> &Profile() const { return m_layers; }

    /// The page's start: category cleared, reference depth 0, Vs30 from layer 0, every row
    /// reset; the definitions stay. Without a profile no question can be answered.
    void Init();
    /// Row 0 and the codes beside it: switches the definitions; clears the category and resets
    /// the rows. Under O.P.C.M. 3274 the reference depth, whose field is then hidden, goes
    /// back to 0.
    void SetCode(SoilCode code);
    /// The Offset field: the reference depth d [m]; Vs30 recomputed, rows reset.
    void SetOffset(double offset);
    /// Answers row 1..6 (DontKnow only on row 1). Ignored on a disabled row.
    void Answer(int row, SoilAnswer answer);
    /// Row 7: the bed-rock layer, an index into BedrockChoices() (its last entry, "Not
    /// found", means none). Ignored when the row is disabled or the index is out of range.
    void ChooseBedrock(int choice);
    /// Answers every enabled row with the plain answers (natural soil, not liquefiable, no
    /// special layers, no thick alteration layer, properties improving with depth, bed rock
    /// the first layer with Vs >= 800 m/s or "Not found") until a category is reached or
    /// nothing is left to answer.
    void AnswerPlainly();

    /// Number of entries of the bed-rock list: one per layer (the half-space included) and
    /// "Not found" last.
    int BedrockChoiceCount() const { return int(m_layers.size()) + 1; }
    /// The entry of the bed-rock list that names a layer index, "Not found" for -1.
    int ChoiceOfLayer(int layer) const;

    SoilCode Code() const { return m_code; }
    /// True for the definitions that ask questions 3 to 6 (DM 2008 and O.P.C.M. 3274).
    bool UsesQuestionnaire() const;
    double Offset() const { return m_offset; }
    /// Vs30 by the long-standing rule, with the reference depth [m/s].
    double Vs30() const { return m_vs30; }
    /// The average the chosen code uses: Vs30, Vs,eq (NTC 2018) or the 100 ft average
    /// (ASCE 7-22) [m/s].
    double CodeAverage() const;
    /// NTC 2018 Vs,eq with the substrate chosen (or the first layer with Vs >= 800 m/s).
    EquivalentVelocity VsEq() const;
    /// ASCE 7-22 travel-time average over the top 100 ft below the reference plane [m/s].
    double Vs100ft() const;
    /// Depth of the bed rock below the reference depth after the bed-rock classification [m].
    double BedrockDepth() const { return m_bedrockDepth; }

    bool RowEnabled(int row) const;
    SoilAnswer RowAnswer(int row) const;
    /// Selected entry of the bed-rock list, -1 when none.
    int BedrockChoice() const { return m_bedrockChoice; }

    /// The category shown ("A", "S2", "BC", ...), empty when none.
    const QString &Category() const { return m_category; }
    /// The category waiting for a further answer.
    const QString &Tentative() const { return m_tentative; }
    /// True when the answers reached the point where the code requires a site-specific
    /// response analysis instead of a category.
    bool SiteSpecific() const { return m_siteSpecific; }
    /// True once after row 1 was answered "Don't know": the page shows its message.
    bool TakeSoilNatureWarning();

    /// Puts back a state read from a document by answering again, in the asking order, what
    /// was answered: the rows, the tentative category and the category follow from the
    /// answers, so a damaged or hand-edited document cannot leave them inconsistent. Answers
    /// on rows that the earlier answers leave disabled are dropped.
    void Replay(SoilCode code, double offset, const std::array<SoilAnswer, RowCount> &answers,
        int bedrockChoice);

private:
    void ResetRowsAfter(int row);
    void ResetAllRows();
    void ShowCategory(const QString &category);
    void Vs30Classification();
    void BedrockClassification(int layer);
    void CodeInForceClassification();
    bool IsNew() const { return m_code == SoilCode::Dm2008; }

    std::vector<SoilLayer> m_layers;
    SoilCode m_code = SoilCode::Dm2008;
    double m_offset = 0.0;
    double m_vs30 = 0.0;
    double m_bedrockDepth = 0.0;
    QString m_tentative;
    QString m_category;
    bool m_siteSpecific = false;
    bool m_soilNatureWarning = false;
    std::array<bool, RowCount> m_enabled {};
    std::array<SoilAnswer, RowCount> m_answers {};
    int m_bedrockChoice = -1;
};

#endif // VELA_APP_RESULTS_CSOILCLASSIFICATION_H
