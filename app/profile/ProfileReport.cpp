#include "app/profile/ProfileReport.h"

#include "app/profile/CProfileTable.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString Tr(const char *text) { return QCoreApplication::translate("CGUIProfiloIniziale", text); }

using Kind = ProfileReportItem::Kind;

QString ProfileCaption(bool searchRun, int level)
{
    static const char *const trial[] = {
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Numerical Vs profile"),
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Numerical Vs profile; uncertainty 0.1 sigma"),
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Numerical Vs profile; uncertainty 0.5 sigma"),
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Numerical Vs profile; uncertainty 1 sigma"),
    };
    static const char *const search[] = {
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Velocity"),
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Velocity; incertezza 0.1 sigma"),
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Velocity; incertezza 0.5 sigma"),
        QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Velocity; incertezza 1 sigma"),
    };
    if (level == 4)
        return Tr(QT_TRANSLATE_NOOP(
            "CGUIProfiloIniziale", "Velocity; band 10-90% of the models that fit the data"));
    const int i = level >= 0 && level <= 3 ? level : 0;
    return Tr(searchRun ? search[i] : trial[i]);
}

} // namespace

std::vector<ProfileReportItem> ProfileReport(const DispersionAnalysis &analysis, bool searchRun,
    int uncertaintyLevel, const EnsembleSummary *ensemble)
{
    std::vector<ProfileReportItem> items;
    auto add = [&](Kind kind, const QString &text, const QString &value = QString()) {
        items.push_back({ kind, text, value });
    };
    const GroundProfile &p = analysis.m_profile;
    add(Kind::Heading, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Field profile")));
    add(Kind::Row,
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Number of layers (half-space excluded)")),
        QString::asprintf("%d", std::max(0, p.LayerCount() - 1)));
    add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Receivers spacing [m]")),
        QString::asprintf("%g", p.receiverSpacing));
    add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Number of receivers")),
        QString::asprintf("%d", p.receiverCount));
    add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Number of modes")),
        QString::asprintf("%d", p.modeCount));
    if (searchRun) {
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Number of iterations")),
            QString::asprintf("%d", p.iterationCount));
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Maximum error [%]")),
            QString::asprintf("%e", 100.0 * p.targetMisfit));
    }
    add(Kind::Sentence,
        p.strongContrasts ? Tr(QT_TRANSLATE_NOOP(
            "CGUIProfiloIniziale", "Allow strong stiffness contrasts between 2 consecutive layers"))
                          : Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
                              "Strong stiffness contrast between 2 consecutive layers forbidden")));
    for (std::size_t l = 0; l < p.layers.size(); ++l) {
        const LayerRecord &layer = p.layers[l];
        QString title = Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Layer %1")).arg(l + 1);
        if (!layer.description.isEmpty())
            title += QStringLiteral(": ") + layer.description;
        add(Kind::SubHeading, title);
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "h [m]")), layer.thicknessText);
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "z [m]")), layer.depthText);
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Density [kg/m^3]")),
            layer.densityText);
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Poisson")), layer.poissonText);
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs [m/s]")), layer.vsText);
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vp [m/s]")),
            QString::asprintf("%.0f", VpFromVsPoisson(layer.vs, layer.poisson)));
        if (layer.vsFixed) {
            add(Kind::Sentence, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs is fixed")));
        } else {
            add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs min [m/s]")),
                layer.vsMinText);
            add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs max [m/s]")),
                layer.vsMaxText);
        }
        add(Kind::Sentence,
            layer.waterTable
                ? Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "This layer is water table"))
                : Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "This layer is not water table")));
        add(Kind::Sentence,
            layer.alluvial
                ? Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "This layer is alluvional"))
                : Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "This layer is not alluvional")));
        add(Kind::Row, Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Vs fin.[m/s]")),
            layer.finalVsText);
    }
    if (ensemble && ensemble->valid) {
        const QStringList lines =
            EnsembleText(*ensemble).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (const QString &line : lines)
            add(Kind::Sentence, line);
    }
    add(Kind::DispersionChart,
        Tr(QT_TRANSLATE_NOOP("CGUIProfiloIniziale",
            "Numerical velocities - experimental points (green), Rayleigth modes (cyan), apparent "
            "curve (blue), numerical curve (red)")));
    add(Kind::ProfileChart, ProfileCaption(searchRun, uncertaintyLevel));
    return items;
}
