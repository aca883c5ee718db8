// Writes a whole analysis report without a document, for looking at it in a word processor
// (not run by ctest):
//
//   ReportSample OUT.rtf [RECORD] [--typed-curve] [--italian]
//   soffice --headless --convert-to pdf --outdir DIR OUT.rtf && pdftoppm -r 60 -png OUT.pdf page
//
// The experimental-data chapter comes from the real data page reading RECORD (a SEG-2 shot;
// the receiver spacing is taken as 3 m). The chapters of the pages not yet in the program
// (spectrum, dispersion curve, ground profile, final results) are written by stand-in pages
// through the same report operations, with made-up but plausible values and charts, so that
// every kind of paragraph, table and figure of a full report appears. --typed-curve leaves out
// the data and spectrum chapters, as an analysis started from a typed-in curve does.
#include "app/chart/CChartRegion.h"
#include "app/chart/CLineSeries.h"
#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/results/ReportDriver.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QApplication>
#include <QLineEdit>
#include <QTranslator>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

// A page whose chapter is whatever the function writes.
class StandInPage : public CChildDialog
{
public:
    explicit StandInPage(std::function<void(ReportWriter &)> chapter)
        : CChildDialog(0, nullptr, nullptr)
        , m_chapter(std::move(chapter))
    {
    }
    int WriteReport(ReportWriter &report) override
    {
        m_chapter(report);
        return 0;
    }

private:
    std::function<void(ReportWriter &)> m_chapter;
};

CChartRegion Chart(const QString &title, const QString &bottom, const QString &left,
    const std::vector<std::pair<std::vector<double>, std::vector<double>>> &lines)
{
    CChartRegion region;
    region.SetTitle(title);
    region.SetBottomLabel(bottom);
    region.SetLeftLabel(left);
    const ChartColor colours[] = { { 0, 0.6f, 0 }, { 0, 0, 1 }, { 1, 0, 0 }, { 0, 0.7f, 0.7f } };
    int index = 0;
    for (const auto &[x, y] : lines) {
        auto series = std::make_unique<CLineSeries>();
        series->SetData(x, y);
        series->SetLineColor(colours[index++ % 4]);
        series->SetLineWidth(2);
        region.Add(std::move(series));
    }
    return region;
}

std::vector<double> Frequencies()
{
    std::vector<double> f;
    for (int i = 0; i < 30; ++i)
        f.push_back(5 + 1.5 * i);
    return f;
}

double CurveVelocity(double f) { return 180 + 220 * std::exp(-(f - 5) / 12); }

void Spectrum(ReportWriter &report)
{
    report.BeginSection();
    report.ChapterHeading(QStringLiteral("Analysis results"));
    report.LabelledRow(QStringLiteral("Final frequency"), QStringLiteral("50Hz"));
    report.LabelledRow(QStringLiteral("Initial frequency"), QStringLiteral("5Hz"));
    report.EmptyParagraph();
    std::vector<double> v;
    for (double f : Frequencies())
        v.push_back(CurveVelocity(f));
    report.ChartFigure(Chart(QStringLiteral("Spectrum f-k"), QStringLiteral("Frequency [Hz]"),
                           QStringLiteral("Velocity [m/s]"), { { Frequencies(), v } }),
        QStringLiteral("Experimental dispersion curve"));
    report.ChapterEnd();
}

void Curve(ReportWriter &report)
{
    report.ChapterHeading(QStringLiteral("Dispersion curve"));
    report.TableCaption(QStringLiteral("Dispersion curve"));
    QList<QStringList> rows;
    std::vector<double> v;
    for (double f : Frequencies()) {
        const double c = CurveVelocity(f);
        v.push_back(c);
        rows.append({ QString::number(f, 'g'), QString::number(c, 'g', 6),
            QString::number(c * 0.95, 'g', 6), QString::number(c * 1.05, 'g', 6) });
    }
    report.Table({ QStringLiteral("Frequency [Hz]"), QStringLiteral("Velocity [m/s]"),
                     QStringLiteral("Min. [m/s]"), QStringLiteral("Max. [m/s]") },
        rows);
    report.ChartFigure(Chart(QStringLiteral("Dispersion curve"), QStringLiteral("Frequency [Hz]"),
                           QStringLiteral("Velocity [m/s]"), { { Frequencies(), v } }),
        QStringLiteral("Dispersion curve"));
    report.ChapterEnd();
}

void Profile(ReportWriter &report)
{
    report.BeginSection();
    report.ChapterHeading(QStringLiteral("Field profile"));
    report.LabelledRow(QStringLiteral("Number of layers (half-space excluded)"), "2");
    report.LabelledRow(QStringLiteral("Receivers spacing [m]"), "3");
    report.LabelledRow(QStringLiteral("Number of receivers"), "24");
    report.LabelledRow(QStringLiteral("Number of modes"), "5");
    report.Paragraph(
        QStringLiteral("Strong stiffness contrast between 2 consecutive layers forbidden"));
    const char *descriptions[] = { "{sabbia} limosa, velocità bassa", "", "" };
    const double vs[] = { 180, 320, 600 };
    for (int layer = 0; layer < 3; ++layer) {
        QString title = QStringLiteral("Layer %1").arg(layer + 1);
        if (*descriptions[layer])
            title += QStringLiteral(": ") + QString::fromUtf8(descriptions[layer]);
        report.SubHeading(title);
        report.LabelledRow(QStringLiteral("h [m]"), layer < 2 ? "5" : "0");
        report.LabelledRow(QStringLiteral("z [m]"), QString::number(5 * layer));
        report.LabelledRow(QStringLiteral("Density [kg/m^3]"), "1800");
        report.LabelledRow(QStringLiteral("Poisson"), "0.35");
        report.LabelledRow(QStringLiteral("Vs [m/s]"), QString::number(vs[layer]));
        report.LabelledRow(QStringLiteral("Vp [m/s]"), QString::number(vs[layer] * 2.08, 'f', 0));
        report.LabelledRow(QStringLiteral("Vs min [m/s]"), QString::number(vs[layer] / 2));
        report.LabelledRow(QStringLiteral("Vs max [m/s]"), QString::number(vs[layer] * 2));
        report.Paragraph(QStringLiteral("This layer is not water table"));
        report.Paragraph(QStringLiteral("This layer is alluvional"));
        report.LabelledRow(QStringLiteral("Vs fin.[m/s]"), QString::number(vs[layer] * 1.04));
    }
    std::vector<double> v;
    std::vector<double> apparent;
    for (double f : Frequencies()) {
        v.push_back(CurveVelocity(f));
        apparent.push_back(CurveVelocity(f) * 0.98);
    }
    report.ChartFigure(Chart(QStringLiteral("Dispersion"), QStringLiteral("Frequency [Hz]"),
                           QStringLiteral("Velocity [m/s]"),
                           { { Frequencies(), v }, { Frequencies(), apparent } }),
        QStringLiteral("Numerical velocities - experimental points (green), Rayleigth modes "
                       "(cyan), apparent curve (blue), numerical curve (red)"));
    report.ChartFigure(
        Chart(QStringLiteral("Vs profile"), QStringLiteral("Vs [m/s]"), QStringLiteral("Depth [m]"),
            { { { 187, 187, 333, 333, 624, 624 }, { 0, 5, 5, 10, 10, 20 } } }),
        QStringLiteral("Numerical Vs profile"));
    report.ChapterEnd();
}

void Results(ReportWriter &report)
{
    report.BeginSection();
    report.ChapterHeading(QStringLiteral("Final results"));
    report.LabelledRow(QStringLiteral("Reference plane z=0 [m]"), "0");
    report.LabelledRow(QStringLiteral("Vs30 [m/s]"), "341.6");
    report.Paragraph(
        QStringLiteral("You are using the definitions included in DM 14 gennaio 2008"));
    report.Paragraph(QStringLiteral("The site does belongs to classes A, B, C, D, E or S1 "
                                    "(alluvional soil, gravel, sand, silt, clay, rock)."));
    report.Paragraph(QStringLiteral("Plasticity index lower than 40%."));
    report.LabelledRow(QStringLiteral("Soil type "), "C", true);
    report.ChapterEnd();
    report.BeginSection();
    report.AppendixHeading();
    report.Title(QStringLiteral("Type of ground"));
    report.EmptyParagraph();
    for (const char *type : { "A", "B", "C", "D", "E", "S1", "S2" }) {
        report.Paragraph(QStringLiteral("Type %1: description of ground type %1 under the "
                                        "definitions in force, long enough to run over more "
                                        "than one line of the page.")
                             .arg(QLatin1String(type)));
        report.EmptyParagraph();
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QStringList positional;
    for (const QString &argument : arguments) {
        if (!argument.startsWith(QLatin1String("--")))
            positional.append(argument);
    }
    if (positional.isEmpty()) {
        std::fprintf(stderr, "usage: ReportSample OUT.rtf [RECORD] [--typed-curve] [--italian]\n");
        return 2;
    }
    QTranslator italian;
    if (arguments.contains(QStringLiteral("--italian")) && italian.load(":/i18n/vela_it.qm"))
        QCoreApplication::installTranslator(&italian);
    const bool typedCurve = arguments.contains(QStringLiteral("--typed-curve"));

    CMessageBoxCapture boxes;
    DispersionAnalysis analysis;
    QList<CChildDialog *> pages(8, nullptr);
    std::vector<std::unique_ptr<CChildDialog>> owned;
    if (!typedCurve) {
        auto data = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &analysis);
        data->Create();
        if (positional.size() < 2 || !data->OpenTraceFile(positional[1])) {
            std::fprintf(stderr, "a readable trace file is needed without --typed-curve\n");
            return 2;
        }
        data->findChild<QLineEdit *>(QStringLiteral("spacingEdit"))->setText("3");
        data->OnNext();
        analysis.m_bAnalysed = analysis.m_bPrepared;
        pages[2] = data.get();
        owned.push_back(std::move(data));
        owned.push_back(std::make_unique<StandInPage>(Spectrum));
        pages[3] = owned.back().get();
    }
    owned.push_back(std::make_unique<StandInPage>(Curve));
    pages[5] = owned.back().get();
    owned.push_back(std::make_unique<StandInPage>(Profile));
    pages[6] = owned.back().get();
    owned.push_back(std::make_unique<StandInPage>(Results));
    pages[7] = owned.back().get();

    const bool written = ReportDriver::Write(nullptr, positional[0], pages);
    for (const MessageRequest &box : boxes.requests)
        std::fprintf(stderr, "%s\n", qPrintable(box.text));
    return written ? 0 : 1;
}
