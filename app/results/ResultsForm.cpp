#include "app/results/ResultsForm.h"

#include "app/controls/CGridModel.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <cmath>
#include <string>

namespace {

QString Number(double value) { return QString::number(value, 'g', 6); }

std::string Utf8(const QString &text) { return text.toUtf8().toStdString(); }
QString FromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.c_str(), int(text.size()));
}

// The yes/no words of the tables in either language ("No", "NO"): anything else counts as yes.
bool IsYesWord(const QString &text)
{
    return text.trimmed().compare(QLatin1String("no"), Qt::CaseInsensitive) != 0;
}

// Vp of a layer from Vs and Poisson's ratio; 0 when the ratio allows none.
double CompressionalVelocity(double vs, double poisson)
{
    if (!(poisson < 0.5) || !(poisson > -1.0))
        return 0.0;
    return vs * std::sqrt((2.0 - 2.0 * poisson) / (1.0 - 2.0 * poisson));
}

} // namespace

void ResultsForm::FillSummary(CGridModel &table, const std::vector<LayerRecord> &layers)
{
    table.SetRowCount(0);
    table.SetColumnCount(SummaryColumnCount);
    table.SetRowCount(int(layers.size()) + 1);
    table.SetFixedRowCount(1);
    table.SetFixedColumnCount(1);
    LabelSummary(table);
    const QString yes = tr("Yes");
    const QString no = tr("No");
    for (int index = 0; index < int(layers.size()); ++index) {
        const LayerRecord &layer = layers[index];
        const bool halfSpace = index + 1 == int(layers.size());
        const int row = index + 1;
        const double vs = layer.finalVsText.trimmed().isEmpty() ? layer.vs : layer.finalVs;
        const double vp = CompressionalVelocity(vs, layer.poisson);
        const QString texts[SummaryColumnCount] = { QString::number(index + 1), layer.description,
            halfSpace ? QStringLiteral("oo") : Number(layer.thickness),
            halfSpace ? QStringLiteral("oo")
                      : (layer.depthText.isEmpty() ? Number(layer.depth) : layer.depthText),
            Number(layer.density), layer.waterTable ? yes : no, Number(layer.poisson), Number(vs),
            layer.vsFixed ? yes : no, vp > 0.0 ? Number(std::round(vp)) : QString(),
            layer.alluvial ? yes : no };
        for (int column = 0; column < SummaryColumnCount; ++column) {
            table.SetItemText(row, column, texts[column]);
            table.SetCellReadOnly(row, column, true);
        }
    }
}

void ResultsForm::LabelSummary(CGridModel &table)
{
    const QString headers[SummaryColumnCount] = { tr("Geotechnical unit"), tr("Description"),
        tr("h [m]"), tr("z [m]"), tr("Density [kg/m^3]"), tr("Water table"), tr("Poisson"),
        tr("Vs [m/s]"), tr("Vs fixed"), tr("Vp [m/s]"), tr("Alluvional") };
    for (int column = 0; column < SummaryColumnCount && column < table.GetColumnCount(); ++column)
        table.SetItemText(0, column, headers[column]);
}

std::vector<SoilLayer> ResultsForm::LayersOfSummary(const CGridModel &table)
{
    std::vector<SoilLayer> layers;
    for (int row = 1; row < table.GetRowCount(); ++row) {
        SoilLayer layer;
        bool ok = false;
        layer.thickness = table.GetItemText(row, ThicknessColumn).toDouble(&ok);
        if (!ok)
            layer.thickness = 0.0; // the half-space's "oo"
        layer.vs = table.GetItemText(row, VsColumn).toDouble();
        layer.alluvial = IsYesWord(table.GetItemText(row, AlluvialColumn));
        layers.push_back(layer);
    }
    if (!layers.empty())
        layers.back().thickness = 0.0;
    return layers;
}

QString ResultsForm::EnsembleLine(double vs30P10, double vs30P90, double depthOfInvestigation)
{
    if (depthOfInvestigation <= 0)
        return QString();
    QString line = tr("Vs30 of the models that fit the data (10-90%): %1 - %2 m/s; depth of "
                      "investigation: %3 m")
                       .arg(QString::asprintf("%.0f", vs30P10), QString::asprintf("%.0f", vs30P90),
                           QString::asprintf("%.1f", depthOfInvestigation));
    if (depthOfInvestigation < 30.0)
        line += QStringLiteral(" ")
            + tr("(warning: Vs30 depends on depths below the depth of investigation)");
    return line;
}

QList<CategoryRow> ResultsForm::CategoryRows(SoilCode code)
{
    const bool old = code == SoilCode::Opcm2003;
    switch (code) {
    case SoilCode::Ntc2018:
        return {
            { QStringLiteral("A"),
                tr("Outcropping rock masses or very stiff soils with\r\nshear-wave velocities "
                   "above 800 m/s, possibly including\r\nat the surface weaker material at "
                   "most 3 m thick"),
                QStringLiteral(">800") },
            { QStringLiteral("B"),
                tr("Soft rocks and deposits of very dense coarse-grained\r\nsoils or very stiff "
                   "fine-grained soils, with mechanical\r\nproperties improving with depth and "
                   "an equivalent\r\nvelocity between 360 m/s and 800 m/s"),
                QStringLiteral("360-800") },
            { QStringLiteral("C"),
                tr("Deposits of medium-dense coarse-grained soils or\r\nmedium-stiff "
                   "fine-grained soils with the substrate\r\ndeeper than 30 m, with mechanical "
                   "properties improving\r\nwith depth and an equivalent velocity "
                   "between\r\n180 m/s and 360 m/s"),
                QStringLiteral("180-360") },
            { QStringLiteral("D"),
                tr("Deposits of loose coarse-grained soils or soft\r\nfine-grained soils with "
                   "the substrate deeper than 30 m,\r\nwith mechanical properties improving "
                   "with depth and\r\nan equivalent velocity between 100 m/s and 180 m/s"),
                QStringLiteral("100-180") },
            { QStringLiteral("E"),
                tr("Soils with the properties and equivalent velocities\r\nof categories C or D "
                   "and the substrate not deeper\r\nthan 30 m"),
                QStringLiteral("100-360") },
        };
    case SoilCode::Asce722:
        return {
            { QStringLiteral("A"), tr("Hard rock"), QStringLiteral(">1524") },
            { QStringLiteral("B"), tr("Medium hard rock"), QStringLiteral("914.4-1524") },
            { QStringLiteral("BC"), tr("Soft rock"), QStringLiteral("640.1-914.4") },
            { QStringLiteral("C"), tr("Very dense sand or hard clay"),
                QStringLiteral("442-640.1") },
            { QStringLiteral("CD"), tr("Dense sand or very stiff clay"),
                QStringLiteral("304.8-442") },
            { QStringLiteral("D"), tr("Medium dense sand or stiff clay"),
                QStringLiteral("213.4-304.8") },
            { QStringLiteral("DE"), tr("Loose sand or medium stiff clay"),
                QStringLiteral("152.4-213.4") },
            { QStringLiteral("E"), tr("Very loose sand or soft clay"), QStringLiteral("<=152.4") },
            { QStringLiteral("F"),
                tr("Soils requiring a site response analysis: liquefiable soils,\r\n"
                   "peat or highly organic clay thicker than 3 m"),
                QString() },
        };
    default:
        break;
    }
    return {
        { QStringLiteral("A"),
            old ? tr("Lithoid formations or very rigid homogenous soils\r\ncharacterized by "
                     "values of Vs30>800m/s, inclusive\r\nof any superficial alteration strata "
                     "with a maximum \r\nthickness of 5m")
                : tr("Rock or other rock-like geologicalformation,\r\nincluding at most 3 m of "
                     "weaker material at the surface"),
            QStringLiteral(">800") },
        { QStringLiteral("B"),
            old ? tr("Deposits of very thickened gravels or sands or very \r\nconsistent clays, "
                     "with a thickness of several tens of \r\nmeters, characterized by a gradual "
                     "improvement of\r\nmechanical properties with depth and by Vs30 "
                     "values\r\nbetween 360m/s and 800m/s")
                : tr("Deposits of very dense sand, gravel, or very stiff clay,\r\nat least 30 m "
                     "in thickness, characterised by a gradual\r\nincrease of mechanical "
                     "properties with depth, Vs30 \r\nbetween 360m/s and 800m/s"),
            QStringLiteral("360-800") },
        { QStringLiteral("C"),
            old ? tr("Deposits of medium thickened gravels or sands or\r\nmedium consistent "
                     "clays, with a thickness varying\r\nfrom several tens to hundreds of "
                     "meters, characterized\r\nby Vs30 values between 180m/s and 360m/s")
                : tr("Deep deposits of dense or medium dense sand, gravel\r\nor stiff clay with "
                     "thickness greater than 30 m, Vs30\r\nbetween 180m/s and 360m/s"),
            QStringLiteral("180-360") },
        { QStringLiteral("D"),
            old ? tr("Deposits of granular matter, from loose to lightly\r\nthickened, or "
                     "cohesive matter, of light to medium\r\nconsistence, characterized by "
                     "values of Vs30 < 180m/s")
                : tr("Deposits of loose-to-medium cohesionless soil (with or\r\nwithout some "
                     "soft cohesive layers), or of predominantly \r\nsoft-to-firm cohesive soil "
                     "with thickness greater than \r\n30 m, Vs30  lower than 180m/s"),
            QStringLiteral("<180") },
        { QStringLiteral("E"),
            old ? tr("Soil profiles made of alluvial surface strata, with Vs\r\nvalues similar to "
                     "the C or D type and with a thickness\r\nbetween 5m and 20m, lying on a "
                     "substratum of more\r\nrigid material with Vs>800m/s")
                : tr("A soil profile consisting of a surface alluvium layer \r\nwith vs values "
                     "of type C or D and thickness lower than\r\n20 m, underlain by stiffer "
                     "material with vs > 800 m/s"),
            QString() },
        { QStringLiteral("S1"),
            old ? tr("Deposits made of, or including, one stratum at least 10m\r\nthick of "
                     "clays/silts of low consistency, with a high level\r\nof plasticity "
                     "(IP>40) and water content, characterized\r\nby values of Vs30<100m/s")
                : tr("Deposits of soils with Vs30<100m/s (or 10 < cu,30 < 20 kPa),\r\nwhich "
                     "include a layer of fine-grained and low consistency\r\nsoil with a "
                     "thickness greater than 8m, or a layer \r\nof peat or highly organic clay "
                     "with a thickness greater than 3m."),
            QStringLiteral("<100") },
        { QStringLiteral("S2"),
            old ? tr("Deposits of soils that are subject to liquefaction,\r\nof sensitive clays "
                     "or of any other soil category that\r\ncannot be classified in the "
                     "previous types")
                : tr("Deposits of liquefiable soils, of sensitive clays,\r\nor any other soil "
                     "profile not included in types A - E or S1"),
            QString() },
    };
}

QString ResultsForm::Question(SoilCode code, int row)
{
    const bool old = code == SoilCode::Opcm2003;
    switch (row) {
    case 0:
        return tr("Do you want to use the new law (DM 14 January 2008)?");
    case 1:
        return tr("Does site type belong to classes A, B, C, D, E o S1 (alluvional soil, gravel, "
                  "sand, silt, clay, rock)?");
    case 2:
        if (code == SoilCode::Asce722)
            return tr("Is the site susceptible to liquefaction, or is there a layer of peat or "
                      "highly organic clay thicker than 3 m?");
        return tr("Is the site susceptible to liquefaction or is there sensitive clay?");
    case 3:
        return old ? tr("Is there a silty or clayey layer thicker than 10 m with high level of "
                        "water content ?")
                   : tr("Is there a layer of fine-grained and low consistency soil with a "
                        "thickness greater than 8m?");
    case 4:
        return old ? tr("Is plasticity index greater than 40% ?")
                   : tr("Is there a layer of peat or highly organic clay with a thickness "
                        "greater than 3m?");
    case 5:
        return old ? tr("Is there an alteration layer thicker than 5m?")
                   : tr("Is there an alteration layer thicker than 3m?");
    case 6:
        return tr("Do the mechanic characteristics of the layers gradually improve with depth?");
    case 7:
        return tr("Please confirm the geotechnic unit of the bed rock");
    default:
        return QString();
    }
}

QString ResultsForm::CodeName(SoilCode code)
{
    switch (code) {
    case SoilCode::Opcm2003:
        return tr("O.P.C.M. n. 3274/2003 with Eurocode 8");
    case SoilCode::Ntc2018:
        return tr("NTC 2018 (D.M. 17 January 2018)");
    case SoilCode::Asce722:
        return tr("ASCE 7-22 (Table 20.2-1)");
    default:
        return tr("DM 14 January 2008");
    }
}

QString ResultsForm::AverageCaption(SoilCode code)
{
    switch (code) {
    case SoilCode::Ntc2018:
        return tr("Vs,eq [m/s]");
    case SoilCode::Asce722:
        return tr("Vs,100ft [m/s]");
    default:
        return tr("Vs30 [m/s]");
    }
}

QString ResultsForm::StatusText(const CSoilClassification &classification)
{
    if (classification.Profile().empty())
        return tr("No final profile yet: the ground profile step gives it");
    if (classification.SiteSpecific())
        return tr("No category: a site-specific seismic response analysis is required");
    if (classification.Category().isEmpty())
        return QString();
    return tr("Soil type ") + classification.Category();
}

QStringList ResultsForm::BedrockEntries(const CGridModel &table)
{
    QStringList entries;
    for (int row = 1; row < table.GetRowCount(); ++row) {
        const QString description = table.GetItemText(row, DescriptionColumn).trimmed();
        entries.append(description.isEmpty() ? QString::number(row)
                                             : QStringLiteral("%1 - %2").arg(row).arg(description));
    }
    entries.append(tr("Not found"));
    return entries;
}

ResultsPageState ResultsForm::StateOf(
    const CSoilClassification &classification, const QString &offsetText, bool codeChosen)
{
    ResultsPageState state;
    for (int row = 0; row < CSoilClassification::RowCount; ++row) {
        state.enabled[row] = classification.RowEnabled(row);
        state.answers[row] = classification.RowAnswer(row);
    }
    // Shown truncated to whole m/s, as the field always has.
    state.vs30Text = QString::number(int(classification.CodeAverage()));
    state.soilTypeText = StatusText(classification);
    state.category = classification.Category();
    state.offsetText = offsetText;
    state.code = classification.Code();
    state.codeChosen = codeChosen;
    state.bedrockChoice = classification.BedrockChoice();
    return state;
}

void ResultsForm::WriteSection(CMatrixArchive &ar, const std::vector<LayerRecord> &layers,
    const CSoilClassification &classification, const QString &offsetText, bool codeChosen)
{
    CGridModel table;
    FillSummary(table, layers);
    WriteSection(ar, table, StateOf(classification, offsetText, codeChosen));
}

void ResultsForm::WriteSection(
    CMatrixArchive &ar, const CGridModel &table, const ResultsPageState &state)
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(ResultsSectionTag);
    ar.WriteFloat32(1.0f);
    table.Store(ar);
    for (int row = 1; row <= 5; ++row)
        ar.WriteInt32(state.enabled[row] ? 1 : 0);
    ar.WriteLine(Utf8(state.vs30Text));
    ar.WriteLine(Utf8(state.soilTypeText));
    ar.WriteLine(Utf8(state.category));
    const auto &answers = state.answers;
    auto is = [&](int row, SoilAnswer answer) { return answers[row] == answer ? 1 : 0; };
    for (int row = 1; row <= 4; ++row)
        ar.WriteInt32(is(row, SoilAnswer::Yes));
    for (int row = 1; row <= 4; ++row)
        ar.WriteInt32(is(row, SoilAnswer::No));
    ar.WriteInt32(is(1, SoilAnswer::DontKnow));
    ar.WriteLine(Utf8(state.offsetText));
    ar.WriteInt32(int(state.code));
    ar.WriteInt32(state.codeChosen && state.code == SoilCode::Opcm2003 ? 1 : 0);
    ar.WriteInt32(state.codeChosen && state.code == SoilCode::Dm2008 ? 1 : 0);
    ar.WriteInt32(is(5, SoilAnswer::No));
    ar.WriteInt32(is(5, SoilAnswer::Yes));
    ar.WriteInt32(state.enabled[6] ? 1 : 0);
    ar.WriteInt32(state.bedrockChoice);
    ar.WriteInt32(is(6, SoilAnswer::No));
    ar.WriteInt32(is(6, SoilAnswer::Yes));
    ar.WriteInt32(state.enabled[7] ? 1 : 0);
}

void ResultsForm::ReadSection(CMatrixArchive &ar, CGridModel &table, ResultsPageState &state)
{
    ar.ReadLine(); // the separator
    if (ar.ReadLine() != ResultsSectionTag)
        CMatrixArchive::ThrowBadClass();
    ar.ReadFloat32(); // section version, 1.0 is the only one
    // The table is read once on the side to find its end; it is read into the page only when
    // the whole section has been read.
    const std::size_t tablePosition = ar.GetPosition();
    {
        CGridModel scratch;
        scratch.Load(ar);
    }
    ResultsPageState read;
    read.enabled[0] = true;
    for (int row = 1; row <= 5; ++row)
        read.enabled[row] = ar.ReadInt32() != 0;
    read.vs30Text = FromUtf8(ar.ReadLine());
    read.soilTypeText = FromUtf8(ar.ReadLine());
    read.category = FromUtf8(ar.ReadLine());
    int yes[5] = {}, no[5] = {};
    for (int row = 1; row <= 4; ++row)
        yes[row] = ar.ReadInt32();
    for (int row = 1; row <= 4; ++row)
        no[row] = ar.ReadInt32();
    const int dontKnow = ar.ReadInt32();
    read.offsetText = FromUtf8(ar.ReadLine());
    const int code = ar.ReadInt32();
    if (code < 0 || code > 3)
        CMatrixArchive::ThrowBadClass();
    read.code = SoilCode(code);
    const int row0No = ar.ReadInt32();
    const int row0Yes = ar.ReadInt32();
    // The codes beside row 0 are reached only by choosing them.
    read.codeChosen = row0No != 0 || row0Yes != 0 || code >= int(SoilCode::Ntc2018);
    const int row5No = ar.ReadInt32();
    const int row5Yes = ar.ReadInt32();
    read.enabled[6] = ar.ReadInt32() != 0;
    read.bedrockChoice = ar.ReadInt32();
    const int row6No = ar.ReadInt32();
    const int row6Yes = ar.ReadInt32();
    read.enabled[7] = ar.ReadInt32() != 0;

    auto answer = [](int isYes, int isNo) {
        return isYes ? SoilAnswer::Yes : isNo ? SoilAnswer::No : SoilAnswer::None;
    };
    for (int row = 1; row <= 4; ++row)
        read.answers[row] = answer(yes[row], no[row]);
    if (dontKnow && read.answers[1] == SoilAnswer::None)
        read.answers[1] = SoilAnswer::DontKnow;
    read.answers[5] = answer(row5Yes, row5No);
    read.answers[6] = answer(row6Yes, row6No);

    const std::size_t end = ar.GetPosition();
    ar.SetPosition(tablePosition);
    table.Load(ar);
    ar.SetPosition(end);
    state = read;
}

QString ResultsForm::AnswerSentence(
    SoilCode code, int row, SoilAnswer answer, const QString &bedrock)
{
    const bool yes = answer == SoilAnswer::Yes;
    if (row == 0) {
        switch (code) {
        case SoilCode::Opcm2003:
            return tr("You are using the definitions included in O.P.C.M. n. 3274/2003 \"Ex "
                      "Testo Unico sulle costruzioni\" and Eurocodice 8");
        case SoilCode::Ntc2018:
            return tr("You are using the definitions included in NTC 2018 (D.M. 17 gennaio "
                      "2018)");
        case SoilCode::Asce722:
            return tr("You are using the site classes of ASCE 7-22 (Table 20.2-1)");
        default:
            return tr("You are using the definitions included in DM 14 gennaio 2008");
        }
    }
    if (row == 7)
        return bedrock.isEmpty() ? QString()
                                 : tr("The geotechnic unit %1 is the bed rock").arg(bedrock);
    if (answer != SoilAnswer::Yes && answer != SoilAnswer::No)
        return QString();
    const bool old = code == SoilCode::Opcm2003;
    switch (row) {
    case 1:
        return yes ? tr("The site does belongs to classes A, B, C, D, E or S1 (alluvional soil, "
                        "gravel, sand, silt, clay, rock).")
                   : tr("The site does not belong to classes A, B, C, D, E or S1 (alluvional "
                        "soil, gravel, sand, silt, clay, rock).");
    case 2:
        if (code == SoilCode::Asce722)
            return yes ? tr("The site is susceptible to liquefaction, or there is a layer of peat "
                            "or highly organic clay thicker than 3 m.")
                       : tr("The site is not susceptible to liquefaction and there is no layer "
                            "of peat or highly organic clay thicker than 3 m.");
        return yes ? tr("The site is susceptible to liquefaction or there is sensitive clay.")
                   : tr("The site is not susceptible to liquefaction or there is not sensitive "
                        "clay.");
    case 3:
        if (old)
            return yes ? tr("There is a silty or clayey layer thicker than 10 m with high level "
                            "of water content.")
                       : tr("There is not a silty or clayey layer thicker than 10 m with high "
                            "level of water content.");
        return yes ? tr("There is a layer of fine-grained and low consistency soil with a "
                        "thickness greater than 8m.")
                   : tr("There is no layer of fine-grained and low consistency soil with a "
                        "thickness greater than 8m.");
    case 4:
        if (old)
            return yes ? tr("Plasticity index is greater than 40%")
                       : tr("Plasticity index lower than 40%.");
        return yes ? tr("There is a layer of peat or highly organic clay with a thickness "
                        "greater than 3m.")
                   : tr("There is no layer of peat or highly organic clay with a thickness "
                        "greater than 3m.");
    case 5:
        if (old)
            return yes ? tr("There is an alteration layer thicker than 5m")
                       : tr("There is no alteration layer thicker than 5m");
        return yes ? tr("There is an alteration layer thicker than 3m")
                   : tr("There is no alteration layer thicker than 3m");
    case 6:
        return yes ? tr("The mechanic characteristics of the layers gradually improve with depth")
                   : tr("The mechanic characteristics of the layers don't improve improve "
                        "gradually with depth");
    default:
        return QString();
    }
}
