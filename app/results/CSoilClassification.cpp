#include "app/results/CSoilClassification.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The order in which the rows are asked: a later answer never survives a change of an
// earlier one. The bed rock (row 7) is confirmed before the last question (row 6).
constexpr std::array<int, 7> AskingOrder { 1, 2, 3, 4, 5, 7, 6 };

int PositionInOrder(int row)
{
    const auto found = std::find(AskingOrder.begin(), AskingOrder.end(), row);
    return found == AskingOrder.end() ? -1 : int(found - AskingOrder.begin());
}

int HalfSpace(const std::vector<SoilLayer> &layers) { return int(layers.size()) - 1; }

} // namespace

double AverageVs(const std::vector<SoilLayer> &layers, int first, double offset, double depth)
{
    if (layers.empty() || !(depth > 0.0))
        return 0.0;
    const int half = HalfSpace(layers);
    int layer = std::clamp(first, 0, half);
    double covered = 0.0; // D, the depth averaged so far
    double time = 0.0; // T, the vertical travel time so far

    if (offset > 0.0) {
        // Walk down to the layer that holds the reference depth; only its part below that
        // depth counts. A reference depth below every layer leaves the half-space alone.
        double running = 0.0;
        for (; layer < half; ++layer) {
            running += layers[layer].thickness;
            if (running >= offset) {
                const double part = std::min(running - offset, depth);
                if (part > 0.0) {
                    if (!(layers[layer].vs > 0.0))
                        return 0.0;
                    covered = part;
                    time = part / layers[layer].vs;
                }
                ++layer;
                break;
            }
        }
        if (covered >= depth)
            return depth / time;
    }

    for (; covered < depth && layer < half; ++layer) {
        const double thickness = std::max(0.0, layers[layer].thickness);
        if (thickness == 0.0)
            continue;
        if (!(layers[layer].vs > 0.0))
            return 0.0;
        if (depth - covered > thickness) {
            time += thickness / layers[layer].vs;
            covered += thickness;
        } else {
            time += (depth - covered) / layers[layer].vs;
            covered = depth;
        }
    }
    if (covered < depth) {
        const double halfSpaceVs = layers[half].vs;
        if (!(halfSpaceVs > 0.0))
            return 0.0;
        if (time == 0.0)
            return halfSpaceVs;
        time += (depth - covered) / halfSpaceVs;
    }
    return depth / time;
}

double ComputeVs30(const std::vector<SoilLayer> &layers, int first, double offset)
{
    return AverageVs(layers, first, offset, 30.0);
}

int FirstBedrockLayer(const std::vector<SoilLayer> &layers)
{
    for (int layer = 0; layer < int(layers.size()); ++layer) {
        if (layers[layer].vs >= BedrockVelocity)
            return layer;
    }
    return -1;
}

double LayerTopDepth(const std::vector<SoilLayer> &layers, int index)
{
    if (index < 0 || index >= int(layers.size()))
        return std::numeric_limits<double>::infinity();
    double depth = 0.0;
    for (int layer = 0; layer < index; ++layer)
        depth += std::max(0.0, layers[layer].thickness);
    return depth;
}

EquivalentVelocity ComputeVsEq(const std::vector<SoilLayer> &layers, double offset, int substrate)
{
    EquivalentVelocity result;
    const double reference = std::max(0.0, offset);
    result.substrateDepth = std::max(0.0, LayerTopDepth(layers, substrate) - reference);
    if (result.substrateDepth > 30.0) {
        result.h = 30.0;
        result.vsEq = AverageVs(layers, 0, reference, 30.0);
    } else if (result.substrateDepth == 0.0) {
        // Rock at the reference plane: nothing lies above it to average.
        result.h = 0.0;
        result.vsEq = layers[substrate].vs;
    } else {
        result.h = result.substrateDepth;
        result.vsEq = AverageVs(layers, 0, reference, result.h);
    }
    return result;
}

QString NtcCategory(double vsEq, double substrateDepth)
{
    if (substrateDepth <= 3.0 || vsEq >= 800.0)
        return QStringLiteral("A");
    if (vsEq >= 360.0)
        return QStringLiteral("B");
    if (vsEq < 100.0)
        return QString();
    if (substrateDepth <= 30.0)
        return QStringLiteral("E");
    return vsEq >= 180.0 ? QStringLiteral("C") : QStringLiteral("D");
}

QString AsceSiteClass(double vs100ft)
{
    struct Band
    {
        double above;
        const char *siteClass;
    };
    // Lower limits of the bands, each band taking its upper limit.
    static const Band Bands[] = { { 1524.0, "A" }, { 914.4, "B" }, { 640.1, "BC" }, { 442.0, "C" },
        { 304.8, "CD" }, { 213.4, "D" }, { 152.4, "DE" } };
    for (const Band &band : Bands) {
        if (vs100ft > band.above)
            return QString::fromLatin1(band.siteClass);
    }
    return QStringLiteral("E");
}

// ---- the questionnaire ----

void CSoilClassification::Init()
{
    m_offset = 0.0;
    m_vs30 = ComputeVs30(m_layers, 0, 0.0);
    ResetAllRows();
}

void CSoilClassification::SetCode(SoilCode code)
{
    m_code = code;
    if (code == SoilCode::Opcm2003 && m_offset != 0.0) {
        // The Offset field is hidden under these definitions: a depth the user can no longer
        // see must not shape the result.
        m_offset = 0.0;
    }
    m_vs30 = ComputeVs30(m_layers, 0, m_offset);
    ResetAllRows();
}

void CSoilClassification::SetOffset(double offset)
{
    m_offset = std::isfinite(offset) ? offset : 0.0;
    m_vs30 = ComputeVs30(m_layers, 0, m_offset);
    ResetAllRows();
}

bool CSoilClassification::UsesQuestionnaire() const
{
    return m_code == SoilCode::Dm2008 || m_code == SoilCode::Opcm2003;
}

void CSoilClassification::ResetAllRows()
{
    m_answers.fill(SoilAnswer::None);
    m_enabled.fill(false);
    m_enabled[0] = true;
    // The codes in force today ask only about liquefaction and the substrate. Without a
    // profile there is nothing to classify.
    if (!m_layers.empty())
        m_enabled[UsesQuestionnaire() ? 1 : 2] = true;
    m_bedrockChoice = -1;
    m_bedrockDepth = 0.0;
    m_tentative.clear();
    m_category.clear();
    m_siteSpecific = false;
}

void CSoilClassification::ResetRowsAfter(int row)
{
    const int position = PositionInOrder(row);
    for (int later = position + 1; later < int(AskingOrder.size()); ++later) {
        const int laterRow = AskingOrder[later];
        m_answers[laterRow] = SoilAnswer::None;
        m_enabled[laterRow] = false;
        if (laterRow == 7)
            m_bedrockChoice = -1;
    }
}

void CSoilClassification::ShowCategory(const QString &category) { m_category = category; }

void CSoilClassification::Answer(int row, SoilAnswer answer)
{
    if (row < 1 || row > 6 || !m_enabled[row] || answer == SoilAnswer::None
        || (answer == SoilAnswer::DontKnow && row != 1))
        return;
    m_category.clear();
    m_siteSpecific = false;
    ResetRowsAfter(row);
    m_answers[row] = answer;
    if (row <= 5)
        m_tentative.clear();
    const bool yes = answer == SoilAnswer::Yes;

    if (!UsesQuestionnaire()) {
        if (row != 2)
            return;
        if (!yes)
            CodeInForceClassification();
        else if (m_code == SoilCode::Asce722)
            ShowCategory(QStringLiteral("F"));
        else
            m_siteSpecific = true;
        return;
    }

    switch (row) {
    case 1:
        if (answer == SoilAnswer::DontKnow)
            m_soilNatureWarning = true;
        else if (yes)
            m_enabled[2] = true;
        else
            ShowCategory(QStringLiteral("S2"));
        break;
    case 2:
        if (yes)
            ShowCategory(QStringLiteral("S2"));
        else if (m_vs30 > 100.0)
            Vs30Classification();
        else
            m_enabled[3] = true;
        break;
    case 3:
        if (yes && IsNew())
            ShowCategory(QStringLiteral("S1"));
        else if (yes || IsNew())
            m_enabled[4] = true;
        else
            Vs30Classification();
        break;
    case 4:
        if (yes)
            ShowCategory(QStringLiteral("S1"));
        else
            Vs30Classification();
        break;
    case 5:
        if (yes) {
            ShowCategory(QStringLiteral("S2"));
        } else if (IsNew()) {
            m_tentative = QStringLiteral("A");
            m_enabled[7] = true;
        } else {
            ShowCategory(QStringLiteral("A"));
        }
        break;
    case 6:
        ShowCategory(yes ? m_tentative : QStringLiteral("S2"));
        break;
    default:
        break;
    }
}

void CSoilClassification::Vs30Classification()
{
    if (!IsNew()) {
        // Alluvial surface strata 5 to 20 m thick: Vs30 is taken below them, and soft
        // alluvium on rock is category E at once.
        double thickness = 0.0;
        double time = 0.0;
        int lastAlluvial = -1;
        for (int layer = 0; layer < HalfSpace(m_layers); ++layer) {
            if (!m_layers[layer].alluvial)
                continue;
            thickness += m_layers[layer].thickness;
            if (m_layers[layer].vs > 0.0)
                time += m_layers[layer].thickness / m_layers[layer].vs;
            lastAlluvial = layer;
        }
        if (lastAlluvial >= 0 && thickness > 5.0 && thickness < 20.0) {
            const int below = lastAlluvial + 1;
            m_offset = 0.0;
            m_vs30 = ComputeVs30(m_layers, below, 0.0);
            const double alluvialVs = time > 0.0 ? thickness / time : 0.0;
            if (alluvialVs < 360.0 && m_layers[below].vs > 800.0) {
                ShowCategory(QStringLiteral("E"));
                return;
            }
        }
    }

    if (m_vs30 >= 800.0) {
        m_enabled[5] = true;
        m_enabled[7] = false;
        return;
    }
    const QString category = m_vs30 >= 360.0 ? QStringLiteral("B")
        : m_vs30 >= 180.0                    ? QStringLiteral("C")
                                             : QStringLiteral("D");
    if (!IsNew()) {
        ShowCategory(category);
        return;
    }
    m_tentative = category;
    const bool soft = category == QLatin1String("D");
    m_enabled[6] = !soft;
    m_enabled[7] = soft;
}

void CSoilClassification::ChooseBedrock(int choice)
{
    if (!m_enabled[7] || choice < 0 || choice >= BedrockChoiceCount())
        return;
    m_category.clear();
    m_siteSpecific = false;
    ResetRowsAfter(7);
    m_bedrockChoice = choice;
    const int layer = choice == BedrockChoiceCount() - 1 ? -1 : choice;
    if (!UsesQuestionnaire()) {
        CodeInForceClassification();
        return;
    }
    if (IsNew() && m_answers[5] == SoilAnswer::No) {
        // Rock at the surface (Vs30 >= 800 m/s, no thick alteration layer): the bed rock is
        // recorded, the category stays A. Classifying it by depth would turn rock into S2.
        const double top = LayerTopDepth(m_layers, layer);
        m_bedrockDepth = std::isfinite(top) ? std::max(0.0, top - m_offset) : 1000.0;
        m_enabled[6] = true;
        return;
    }
    BedrockClassification(layer);
}

void CSoilClassification::BedrockClassification(int layer)
{
    double depth = layer < 0 ? m_offset + 1000.0 : LayerTopDepth(m_layers, layer);
    depth = std::max(0.0, depth - m_offset);
    m_bedrockDepth = depth;
    QString category;
    if (depth <= 20.0 && m_vs30 < 360.0) {
        category = QStringLiteral("E");
    } else if (depth < 30.0) {
        m_enabled[7] = false;
        ShowCategory(QStringLiteral("S2"));
        return;
    } else {
        category = m_vs30 >= 360.0 ? QStringLiteral("B")
            : m_vs30 >= 180.0      ? QStringLiteral("C")
                                   : QStringLiteral("D");
    }
    if (IsNew()) {
        // Confirmed, as the other tentative categories are, by the question on gradual
        // improvement with depth.
        m_tentative = category;
        m_enabled[6] = true;
    } else {
        ShowCategory(category);
    }
}

void CSoilClassification::CodeInForceClassification()
{
    if (m_code == SoilCode::Asce722) {
        ShowCategory(AsceSiteClass(Vs100ft()));
        return;
    }
    m_enabled[7] = true;
    if (m_bedrockChoice < 0)
        m_bedrockChoice = ChoiceOfLayer(FirstBedrockLayer(m_layers));
    const EquivalentVelocity equivalent = VsEq();
    m_bedrockDepth = equivalent.substrateDepth;
    const QString category = NtcCategory(equivalent.vsEq, equivalent.substrateDepth);
    if (category.isEmpty())
        m_siteSpecific = true;
    else
        ShowCategory(category);
}

void CSoilClassification::AnswerPlainly()
{
    for (int guard = 0; guard < 2 * RowCount; ++guard) {
        if (!m_category.isEmpty() || m_siteSpecific)
            return;
        int next = -1;
        for (int row : AskingOrder) {
            const bool open = row == 7 ? m_bedrockChoice < 0 : m_answers[row] == SoilAnswer::None;
            if (m_enabled[row] && open) {
                next = row;
                break;
            }
        }
        if (next < 0)
            return;
        if (next == 7)
            ChooseBedrock(ChoiceOfLayer(FirstBedrockLayer(m_layers)));
        else
            Answer(next, next == 1 || next == 6 ? SoilAnswer::Yes : SoilAnswer::No);
    }
}

int CSoilClassification::ChoiceOfLayer(int layer) const
{
    return layer >= 0 && layer < int(m_layers.size()) ? layer : BedrockChoiceCount() - 1;
}

double CSoilClassification::CodeAverage() const
{
    switch (m_code) {
    case SoilCode::Ntc2018:
        return VsEq().vsEq;
    case SoilCode::Asce722:
        return Vs100ft();
    default:
        return m_vs30;
    }
}

EquivalentVelocity CSoilClassification::VsEq() const
{
    int substrate = FirstBedrockLayer(m_layers);
    if (m_bedrockChoice >= 0)
        substrate = m_bedrockChoice == BedrockChoiceCount() - 1 ? -1 : m_bedrockChoice;
    return ComputeVsEq(m_layers, m_offset, substrate);
}

double CSoilClassification::Vs100ft() const
{
    return AverageVs(m_layers, 0, std::max(0.0, m_offset), AsceAverageDepth);
}

bool CSoilClassification::RowEnabled(int row) const
{
    return row >= 0 && row < RowCount && m_enabled[row];
}

SoilAnswer CSoilClassification::RowAnswer(int row) const
{
    return row >= 0 && row < RowCount ? m_answers[row] : SoilAnswer::None;
}

bool CSoilClassification::TakeSoilNatureWarning()
{
    const bool warning = m_soilNatureWarning;
    m_soilNatureWarning = false;
    return warning;
}

void CSoilClassification::Replay(SoilCode code, double offset,
    const std::array<SoilAnswer, RowCount> &answers, int bedrockChoice)
{
    SetCode(code);
    if (code != SoilCode::Opcm2003)
        SetOffset(offset);
    for (int row : AskingOrder) {
        if (row == 7)
            ChooseBedrock(bedrockChoice);
        else
            Answer(row, answers[row]);
    }
    m_soilNatureWarning = false;
}
