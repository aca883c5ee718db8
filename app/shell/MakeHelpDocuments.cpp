// Build tool: writes the help documents (one per step and the general one) and the
// bibliography beside the program. Usage: vela_make_help_documents PROGRAM_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

struct HelpDocument
{
    const char *file;
    const char *title;
    const char *body; // HTML
};

const char *const StartText =
    "<p>VELA leads an analysis step by step. The buttons on the left show the steps; a step "
    "becomes available once the steps before it have been completed, and the step on display "
    "is highlighted.</p>"
    "<ul><li><b>Analyse experimental data</b> starts from a recorded shot: the traces are "
    "loaded, transformed into a dispersion spectrum and the dispersion curve is picked on "
    "it.</li>"
    "<li><b>Insert dispersion curve</b> starts from a dispersion curve typed in or read from "
    "a file, without traces.</li>"
    "<li><b>Bibliography</b> opens the folder of reference documents; <b>Help</b> opens the "
    "help of the step on display.</li></ul>"
    "<p>The interface language is chosen in Tools &gt; Language; it applies from the next "
    "start of the program.</p>";

const char *const DataText =
    "<p>Open the record of an active shot: SEG-2, SEG-Y, Seismic Unix, text columns, Excel "
    "sheets or DRM files. Check the receiver spacing [m] and the time step [ms], choose the "
    "receivers to use and the time window, and tick the reverse box when the source is near "
    "the last receiver.</p>"
    "<p><b>Next</b> checks the inputs, hands the windowed traces to the analysis and computes "
    "the dispersion spectrum.</p>";

const char *const SpectrumText =
    "<p>The dispersion spectrum shows the energy of the record over frequency [Hz] and phase "
    "velocity [m/s]. Limit the frequency band to the part where the fundamental mode is "
    "clear, then pick the dispersion curve along the energy maximum. The picked curve is "
    "handed to the dispersion-curve step.</p>";

const char *const PassiveText =
    "<p>Ambient-noise (passive, REMI) records are analysed with a slowness-frequency "
    "transform of the whole array. The resulting spectrum is handed to the dispersion-curve "
    "step, where the curve is picked on it.</p>";

const char *const CurveText =
    "<p>The table holds the experimental dispersion curve: frequency [Hz], phase velocity "
    "[m/s] and a lower and an upper velocity bound per point. Points can be picked on the "
    "spectrum with vertical bars, typed in, pasted, or read from a text or Excel file. "
    "<b>Next</b> checks the table and moves on to the ground profile.</p>";

const char *const ProfileText =
    "<p>Describe a layered ground profile: thickness, density, Poisson's ratio and "
    "shear-wave velocity Vs of each layer over a half-space. <b>Trial and error "
    "solution</b> computes the theoretical modes and the apparent and effective dispersion "
    "curves of the profile and compares them with the experimental curve; <b>Automatic "
    "inversion</b> searches for the Vs values that fit the experimental curve best.</p>";

const char *const ResultsText =
    "<p>The final Vs profile gives Vs30, the travel-time average of the shear-wave velocity "
    "over the top 30 m. A short questionnaire then leads to the seismic soil category (A, B, "
    "C, D, E, S1, S2) under the Italian building code of 14 January 2008 or under O.P.C.M. "
    "3274/2003 with Eurocode 8.</p>";

const char *const BibliographyText =
    "<ul>"
    "<li>Park, C. B., Miller, R. D. and Xia, J. (1999). Multichannel analysis of surface "
    "waves. <i>Geophysics</i>, 64(3), 800-808.</li>"
    "<li>Louie, J. N. (2001). Faster, better: shear-wave velocity to 100 meters depth from "
    "refraction microtremor arrays. <i>Bulletin of the Seismological Society of America</i>, "
    "91(2), 347-364.</li>"
    "<li>Socco, L. V. and Strobbia, C. (2004). Surface-wave method for near-surface "
    "characterization: a tutorial. <i>Near Surface Geophysics</i>, 2(4), 211-221.</li>"
    "<li>Foti, S. et al. (2018). Guidelines for the good practice of surface wave analysis: a "
    "product of the InterPACIFIC project. <i>Bulletin of Earthquake Engineering</i>, 16, "
    "2367-2420.</li>"
    "<li>EN 1998-1 (2004). Eurocode 8: Design of structures for earthquake resistance, "
    "Part 1.</li>"
    "<li>O.P.C.M. 3274 (2003) and D.M. 14 January 2008, Norme tecniche per le "
    "costruzioni.</li>"
    "</ul>";

bool WritePdf(const QString &path, const QString &title, const QString &body)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("VELA"));
    QTextDocument document;
    document.setHtml(QStringLiteral("<h1>%1</h1>%2").arg(title.toHtmlEscaped(), body));
    document.print(&writer);
    return QFileInfo(path).size() > 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("help")) || !folder.mkpath(QStringLiteral("documents"))) {
        std::fprintf(stderr, "cannot create the help folders in %s\n", argv[1]);
        return 1;
    }
    const HelpDocument documents[] = {
        { "SchermataPrincipale.pdf", "VELA - Start", StartText },
        { "SchermataAnalisiDeiDatiSperimentali.pdf", "VELA - Experimental data", DataText },
        { "SchermataCalcoloCurvaDiDispersione.pdf", "VELA - Spectrum", SpectrumText },
        { "SchermataAnalisiPassiva.pdf", "VELA - Passive data (REMI)", PassiveText },
        { "SchermataSelezioneCurvaDiDispersioneSperimentale.pdf", "VELA - Dispersion curve",
            CurveText },
        { "SchermataCalcoloDelProfilo.pdf", "VELA - Ground profile", ProfileText },
        { "SchermataRisultatiFinali.pdf", "VELA - Final results", ResultsText },
    };
    QString all;
    for (const HelpDocument &document : documents) {
        const QString path =
            folder.filePath(QStringLiteral("help/") + QLatin1String(document.file));
        if (!WritePdf(path, QLatin1String(document.title), QLatin1String(document.body))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        all += QStringLiteral("<h2>%1</h2>%2")
                   .arg(QLatin1String(document.title).mid(7), QLatin1String(document.body));
    }
    if (!WritePdf(folder.filePath(QStringLiteral("help/VelaHelp.pdf")),
            QStringLiteral("VELA - Help"), all)
        || !WritePdf(folder.filePath(QStringLiteral("documents/Bibliography.pdf")),
            QStringLiteral("VELA - Bibliography"), QLatin1String(BibliographyText))) {
        std::fprintf(stderr, "cannot write the general help or the bibliography\n");
        return 1;
    }
    return 0;
}
