// Build tool: writes the help documents (one per step and the general one, in English in help/
// and in Italian in help/it) and the bibliography beside the program.
// Usage: vela_make_help_documents PROGRAM_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>
#include <iterator>

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
    "<li><b>Bibliography</b> opens the folder of reference documents; <b>Help</b> (or F1) "
    "opens the help of the step on display.</li></ul>"
    "<p>Keyboard: Ctrl+N new analysis, Ctrl+O open, Ctrl+S save, Ctrl+Shift+S save as, Ctrl+P "
    "report, F1 help; Tab moves through the fields and buttons of a page.</p>"
    "<p>The interface language is chosen in Tools &gt; Language; it applies from the next "
    "start of the program.</p>";

const char *const DataText =
    "<p>Open the record of an active shot: SEG-2, SEG-Y, Seismic Unix, text columns, Excel "
    "sheets or DRM files. Check the receiver spacing [m] and the time step [ms], choose the "
    "receivers to use and the time window, and tick the reverse box when the source is near "
    "the last receiver.</p>"
    "<p>When the file states its time step, receiver positions, source position or trigger "
    "delay, the page proposes them and says so in the line under the file name; check them "
    "before moving on. A file that cannot be read leaves the record already loaded as it "
    "was. The chart shows the traces by receiver number or, with <i>Distance from the "
    "source</i>, in metres with their positive lobes filled; <i>One amplitude scale</i> shows "
    "how the amplitude decays with offset.</p>"
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
    "step, where the curve is picked on it. The page is reached from the experimental data "
    "page with <b>Passive analysis (REMI)</b>.</p>";

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
    "over the top 30 m. A short questionnaire then leads to the seismic soil category under "
    "the code chosen on the page: the Italian building code NTC 2018 (D.M. 17 January 2018), "
    "ASCE 7-22, the Italian building code of 14 January 2008, or O.P.C.M. 3274/2003 with "
    "Eurocode 8.</p>";

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

// The same documents in Italian, written into help/it.
const char *const StartTextIt =
    "<p>VELA guida l'analisi passo per passo. I pulsanti a sinistra mostrano i passi; un "
    "passo diventa disponibile quando i passi precedenti sono completati, e il passo "
    "visualizzato è evidenziato.</p>"
    "<ul><li><b>Analisi dei dati sperimentali</b> parte da un'energizzazione registrata: si "
    "caricano le tracce, se ne calcola lo spettro di dispersione e vi si individua la curva "
    "di dispersione.</li>"
    "<li><b>Inserimento della curva di dispersione</b> parte da una curva di dispersione "
    "digitata o letta da file, senza tracce.</li>"
    "<li><b>Bibliografia</b> apre la cartella dei documenti di riferimento; <b>Aiuto</b> (o "
    "F1) apre la guida del passo visualizzato.</li></ul>"
    "<p>Tastiera: Ctrl+N nuova analisi, Ctrl+O apri, Ctrl+S salva, Ctrl+Maiusc+S salva con "
    "nome, Ctrl+P relazione, F1 guida; Tab percorre i campi e i pulsanti di una pagina.</p>"
    "<p>La lingua dell'interfaccia si sceglie in Strumenti &gt; Lingua; vale dal successivo "
    "avvio del programma.</p>";

const char *const DataTextIt =
    "<p>Aprire la registrazione di un'energizzazione attiva: file SEG-2, SEG-Y, Seismic Unix, "
    "colonne di testo, fogli Excel o DRM. Controllare la distanza tra i ricevitori [m] e il "
    "passo di campionamento [ms], scegliere i ricevitori da usare e la finestra temporale, e "
    "spuntare la casella di inversione quando la sorgente è vicina all'ultimo ricevitore.</p>"
    "<p>Quando il file riporta il passo di campionamento, le posizioni dei ricevitori, la "
    "posizione della sorgente o il ritardo del trigger, la pagina li propone e lo indica "
    "nella riga sotto il nome del file; verificarli prima di proseguire. Un file che non si "
    "riesce a leggere lascia com'era la registrazione già caricata. Il grafico mostra le "
    "tracce per numero di ricevitore oppure, con <i>Distanza dalla sorgente</i>, in metri con "
    "i lobi positivi riempiti; <i>Un'unica scala delle ampiezze</i> mostra come l'ampiezza "
    "decade con la distanza.</p>"
    "<p><b>Avanti</b> controlla i dati, passa all'analisi le tracce nella finestra scelta e "
    "calcola lo spettro di dispersione.</p>";

const char *const SpectrumTextIt =
    "<p>Lo spettro di dispersione mostra l'energia della registrazione in funzione della "
    "frequenza [Hz] e della velocità di fase [m/s]. Limitare la banda di frequenza alla parte "
    "in cui il modo fondamentale è netto, quindi individuare la curva di dispersione lungo il "
    "massimo dell'energia. La curva individuata passa al passo della curva di "
    "dispersione.</p>";

const char *const PassiveTextIt =
    "<p>Le registrazioni di rumore ambientale (passive, REMI) si analizzano con una "
    "trasformata lentezza-frequenza dell'intero stendimento. Lo spettro ottenuto passa al "
    "passo della curva di dispersione, dove vi si individua la curva. Alla pagina si arriva "
    "dalla pagina dei dati sperimentali con <b>Analisi passiva (REMI)</b>.</p>";

const char *const CurveTextIt =
    "<p>La tabella contiene la curva di dispersione sperimentale: frequenza [Hz], velocità di "
    "fase [m/s] e un limite inferiore e uno superiore della velocità per ogni punto. I punti "
    "si possono individuare sullo spettro con barre verticali, digitare, incollare o leggere "
    "da un file di testo o Excel. <b>Avanti</b> controlla la tabella e passa al profilo del "
    "terreno.</p>";

const char *const ProfileTextIt =
    "<p>Descrivere un profilo del terreno a strati: spessore, densità, coefficiente di "
    "Poisson e velocità delle onde di taglio Vs di ogni strato sopra un semispazio. <b>Soluzione "
    "per tentativi</b> calcola i modi teorici e le curve di dispersione apparente ed "
    "efficace del profilo e le confronta con la curva sperimentale; <b>Inversione "
    "automatica</b> cerca i valori di Vs che meglio riproducono la curva sperimentale.</p>";

const char *const ResultsTextIt =
    "<p>Il profilo finale di Vs fornisce la Vs30, media della velocità delle onde di taglio "
    "nei primi 30 m pesata sui tempi di percorrenza. Un breve questionario conduce quindi "
    "alla categoria di sottosuolo secondo la norma scelta nella pagina: NTC 2018 (D.M. 17 "
    "gennaio 2018), ASCE 7-22, NTC 2008 (D.M. 14 gennaio 2008) oppure O.P.C.M. 3274/2003 con "
    "l'Eurocodice 8.</p>";

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
    const HelpDocument english[] = {
        { "SchermataPrincipale.pdf", "VELA - Start", StartText },
        { "SchermataAnalisiDeiDatiSperimentali.pdf", "VELA - Experimental data", DataText },
        { "SchermataCalcoloCurvaDiDispersione.pdf", "VELA - Spectrum", SpectrumText },
        { "SchermataAnalisiPassiva.pdf", "VELA - Passive data (REMI)", PassiveText },
        { "SchermataSelezioneCurvaDiDispersioneSperimentale.pdf", "VELA - Dispersion curve",
            CurveText },
        { "SchermataCalcoloDelProfilo.pdf", "VELA - Ground profile", ProfileText },
        { "SchermataRisultatiFinali.pdf", "VELA - Final results", ResultsText },
    };
    const HelpDocument italian[] = {
        { "SchermataPrincipale.pdf", "VELA - Avvio", StartTextIt },
        { "SchermataAnalisiDeiDatiSperimentali.pdf", "VELA - Dati sperimentali", DataTextIt },
        { "SchermataCalcoloCurvaDiDispersione.pdf", "VELA - Spettro", SpectrumTextIt },
        { "SchermataAnalisiPassiva.pdf", "VELA - Dati passivi (REMI)", PassiveTextIt },
        { "SchermataSelezioneCurvaDiDispersioneSperimentale.pdf", "VELA - Curva di dispersione",
            CurveTextIt },
        { "SchermataCalcoloDelProfilo.pdf", "VELA - Profilo del terreno", ProfileTextIt },
        { "SchermataRisultatiFinali.pdf", "VELA - Risultati finali", ResultsTextIt },
    };
    // Each language: its step documents and the general help that collects them.
    auto writeLanguage = [&](const QString &subfolder, const HelpDocument *documents, size_t count,
                             const QString &generalTitle) {
        QString all;
        for (size_t i = 0; i < count; ++i) {
            const HelpDocument &document = documents[i];
            const QString path = folder.filePath(subfolder + QLatin1String(document.file));
            const QString title = QString::fromUtf8(document.title);
            const QString body = QString::fromUtf8(document.body);
            if (!WritePdf(path, title, body)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return false;
            }
            all += QStringLiteral("<h2>%1</h2>%2").arg(title.mid(7), body);
        }
        return WritePdf(
            folder.filePath(subfolder + QStringLiteral("VelaHelp.pdf")), generalTitle, all);
    };
    if (!folder.mkpath(QStringLiteral("help/it"))
        || !writeLanguage(
            QStringLiteral("help/"), english, std::size(english), QStringLiteral("VELA - Help"))
        || !writeLanguage(QStringLiteral("help/it/"), italian, std::size(italian),
            QStringLiteral("VELA - Guida"))) {
        std::fprintf(stderr, "cannot write the help documents\n");
        return 1;
    }
    if (!WritePdf(folder.filePath(QStringLiteral("documents/Bibliography.pdf")),
            QStringLiteral("VELA - Bibliography"), QLatin1String(BibliographyText))) {
        std::fprintf(stderr, "cannot write the general help or the bibliography\n");
        return 1;
    }
    return 0;
}
