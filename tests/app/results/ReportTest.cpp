// The report as a reader sees it: the operations' headings, rows, captions and counters, the
// data page's chapter from a real record with its chart figure, the messages of success and
// failure, and the report in Italian.
#include "ReportRtfText.h"

#include "app/data/CGUIRispostaSperimentale1.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/results/ReportDriver.h"
#include "app/results/ReportWriter.h"
#include "app/shell/CWinQuiverView.h"
#include "app/spectrum/DispersionAnalysis.h"

#include "app/chart/CChartRegion.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtEndian>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RtfShownDocument Shown(const QString &path)
{
    QByteArray bytes = ReadAll(path);
    EXPECT_FALSE(bytes.isEmpty()) << path.toStdString();
    const RtfShownDocument document = ReadRtf(bytes);
    EXPECT_TRUE(document.wellFormed);
    return document;
}

// The DIB of a picture's metafile: width, height and pixel bytes after the 40-byte header.
struct Dib
{
    int width = 0;
    int height = 0;
    QByteArray pixels;
};

Dib DibOf(const QByteArray &pictureHex)
{
    const QByteArray metafile = QByteArray::fromHex(pictureHex);
    Dib dib;
    int at = 18;
    while (at + 6 <= metafile.size()) {
        const quint32 words = qFromLittleEndian<quint32>(metafile.constData() + at);
        const quint16 function = qFromLittleEndian<quint16>(metafile.constData() + at + 4);
        if (words < 3)
            break;
        if (function == 0x0F43) {
            const char *header = metafile.constData() + at + 28;
            dib.width = qFromLittleEndian<qint32>(header + 4);
            dib.height = qFromLittleEndian<qint32>(header + 8);
            dib.pixels = metafile.mid(at + 68, static_cast<int>(words) * 2 - 68);
        }
        at += static_cast<int>(words) * 2;
    }
    return dib;
}

// Draws any region as a flat picture of the size asked, and remembers where it put it.
struct FakeExporter
{
    QStringList paths;
    bool fail = false;
    bool operator()(const CChartRegion &, const QString &path, int width, int height)
    {
        paths.append(path);
        if (fail)
            return false;
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(10, 200, 30));
        return image.save(path, "BMP");
    }
};

class ReportTest : public ::testing::Test
{
protected:
    QString PathOf(const QString &name) const { return m_dir.filePath(name); }

    // The bundled record, copied under a name with braces, a backslash and an accent.
    QString AwkwardRecord() const
    {
        const QString path = PathOf(QString::fromUtf8("rilievo {1}\\velocit\u00e0 \u20ac.sg2"));
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2"), path));
        return path;
    }

    QTemporaryDir m_dir;
    CMessageBoxCapture m_boxes;
};

TEST_F(ReportTest, OperationsNumberChaptersTablesAndFiguresThroughTheDocument)
{
    FakeExporter exporter;
    int drawn = 0;
    ReportWriter report([&](const CChartRegion &region, const QString &path, int w, int h) {
        ++drawn;
        EXPECT_EQ(w, 640);
        EXPECT_EQ(h, 640);
        return exporter(region, path, w, h);
    });
    const QString path = PathOf(QStringLiteral("operations.rtf"));
    ASSERT_EQ(report.Open(path), RtfOk);
    report.ChapterHeading(QStringLiteral("Dispersion curve"));
    report.TableCaption(QStringLiteral("Dispersion curve"));
    report.Table({ "f [Hz]", "v [m/s]", "v min", "v max" },
        { { "5", "310.5", "300", "320" }, { "10", "250", "240", "260" } });
    report.ChartFigure(CChartRegion(), QStringLiteral("Dispersion curve"));
    report.ChapterEnd();
    report.BeginSection();
    report.ChapterHeading(QStringLiteral("Field profile"));
    report.LabelledRow(QStringLiteral("Number of layers (half-space excluded)"), "3");
    report.SubHeading(QStringLiteral("Layer 1: clay"));
    report.LabelledRow(QStringLiteral("h [m]"), "2.5");
    report.Paragraph(QStringLiteral("Vs is fixed"));
    exporter.fail = true;
    report.ChartFigure(CChartRegion(), QStringLiteral("Velocity"));
    report.TableCaption(QStringLiteral("Second"));
    report.LabelledRow(QStringLiteral("Soil type "), "B", true);
    report.ChapterEnd();
    report.BeginSection();
    report.AppendixHeading();
    report.Title(QStringLiteral("Type of ground"));
    report.Paragraph(QStringLiteral("Type A: rock"));
    ASSERT_TRUE(report.Close());
    EXPECT_EQ(report.ChapterCount(), 2);
    EXPECT_EQ(report.TableCount(), 2);
    EXPECT_EQ(report.FigureCount(), 2);

    const RtfShownDocument document = Shown(path);
    const QStringList texts = document.Texts();
    // Each picture file was a fresh temporary bitmap, gone once inserted.
    ASSERT_EQ(exporter.paths.size(), 2);
    EXPECT_NE(exporter.paths[0], exporter.paths[1]);
    for (const QString &picture : exporter.paths) {
        EXPECT_TRUE(picture.startsWith(QDir::tempPath()));
        EXPECT_TRUE(picture.endsWith(QLatin1String(".bmp")));
        EXPECT_FALSE(QFile::exists(picture));
    }
    // One picture only: the second chart could not be drawn and left its caption alone.
    ASSERT_EQ(document.pictureHex.size(), 1);
    const Dib dib = DibOf(document.pictureHex[0]);
    EXPECT_EQ(dib.width, 640);
    EXPECT_EQ(dib.height, 640);
    EXPECT_EQ(dib.pixels.left(3), QByteArray("\x1e\xc8\x0a", 3));
    EXPECT_TRUE(ReadAll(path).contains("\\picscalex50\\picscaley50"));

    const int heading = document.Find(QStringLiteral("1 - Dispersion curve"));
    ASSERT_GE(heading, 0);
    EXPECT_TRUE(document.paragraphs[heading].centred);
    EXPECT_TRUE(document.paragraphs[heading].bold);
    EXPECT_EQ(document.paragraphs[heading].fontSize, 40);
    EXPECT_EQ(texts.mid(heading, 8),
        QStringList(
            { "1 - Dispersion curve", "", "Table 1:Dispersion curve", "f [Hz]|v [m/s]|v min|v max|",
                "5|310.5|300|320|", "10|250|240|260|", "", "Figure 1: Dispersion curve" }));
    const RtfShownParagraph &headerRow = document.paragraphs[heading + 3];
    EXPECT_TRUE(headerRow.bold);
    EXPECT_FALSE(document.paragraphs[heading + 4].bold);
    EXPECT_TRUE(document.paragraphs[heading + 7].centred);
    EXPECT_EQ(document.paragraphs[heading + 7].fontSize, 20);

    const int second = document.Find(QStringLiteral("2 - Field profile"));
    ASSERT_GT(second, heading);
    // The chapter end's page break is the next section's.
    EXPECT_TRUE(document.PageBreakBetween(second - 2, second));
    EXPECT_FALSE(document.PageBreakBetween(heading, second - 2));
    EXPECT_TRUE(ReadAll(path).contains("Figure 1: Dispersion curve\r\n\\sect\\sectd\\sbkpage"));
    EXPECT_EQ(texts.mid(second + 2, 7),
        QStringList({ "Number of layers (half-space excluded)\t3", "Layer 1: clay", "h [m]\t2.5",
            "Vs is fixed", "Figure 2: Velocity", "Table 2:Second", "Soil type \tB" }));
    const RtfShownParagraph &row = document.paragraphs[second + 2];
    EXPECT_FALSE(row.centred);
    EXPECT_FALSE(row.bold);
    EXPECT_EQ(row.fontSize, 24);
    EXPECT_TRUE(document.paragraphs[second + 3].bold);
    EXPECT_EQ(document.paragraphs[second + 3].fontSize, 30);
    EXPECT_FALSE(document.paragraphs[second + 4].centred) << "rows after a sub-heading stand left";
    EXPECT_TRUE(document.paragraphs[second + 8].bold);
    EXPECT_TRUE(ReadAll(path).contains("\\tqr\\tldot\\tx8000"));

    const int appendix = document.Find(QStringLiteral("Appendix"));
    ASSERT_GT(appendix, second);
    EXPECT_TRUE(document.paragraphs[appendix].bold);
    EXPECT_EQ(
        texts.mid(appendix, 3), QStringList({ "Appendix", "Type of ground", "Type A: rock" }));
    EXPECT_FALSE(document.paragraphs[appendix + 2].bold);
}

TEST_F(ReportTest, ChapterWithoutItsOwnSectionStartsOnANewPageAndTheLastEndAddsNoPage)
{
    ReportWriter report;
    const QString path = PathOf(QStringLiteral("pages.rtf"));
    ASSERT_EQ(report.Open(path), RtfOk);
    report.TitlePage(QStringLiteral("VELA"), QStringLiteral("(C)"));
    report.ChapterHeading(QStringLiteral("Dispersion curve"));
    report.Paragraph(QStringLiteral("points"));
    report.ChapterEnd();
    ASSERT_TRUE(report.Close());
    const RtfShownDocument document = Shown(path);
    const int heading = document.Find(QStringLiteral("1 - Dispersion curve"));
    ASSERT_GT(heading, 0);
    EXPECT_TRUE(document.paragraphs[heading].pageBreak);
    EXPECT_FALSE(document.PageBreakBetween(0, heading - 1));
    EXPECT_EQ(document.Texts().mid(heading + 1), QStringList({ "", "points" }));
    EXPECT_EQ(ReadAll(path).count("\\page"), 1);
}

class ReportDataPageTest : public ReportTest
{
protected:
    void SetUp() override
    {
        m_page = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &m_analysis);
        m_page->Create();
    }
    QList<CChildDialog *> Slots()
    {
        QList<CChildDialog *> pages(8, nullptr);
        pages[2] = m_page.get();
        return pages;
    }

    DispersionAnalysis m_analysis;
    std::unique_ptr<CGUIRispostaSperimentale1> m_page;
};

TEST_F(ReportDataPageTest, AnalysedRecordGivesTheExperimentalDataChapterWithItsTraceFigure)
{
    const QString record = AwkwardRecord();
    ASSERT_TRUE(m_page->OpenTraceFile(record));
    m_page->findChild<QLineEdit *>(QStringLiteral("spacingEdit"))->setText(QStringLiteral("2,5"));
    m_page->findChild<QCheckBox *>(QStringLiteral("reversedCheck"))->setChecked(true);
    m_page->OnNext();
    ASSERT_TRUE(m_analysis.m_bPrepared);
    // What the spectrum step marks once it has been computed.
    m_analysis.m_bAnalysed = true;
    const QString path = PathOf(QStringLiteral("report {data}.rtf"));
    m_boxes.requests.clear();
    ASSERT_TRUE(ReportDriver::Write(nullptr, path, Slots()));

    ASSERT_EQ(m_boxes.requests.size(), 1);
    EXPECT_EQ(m_boxes.requests[0].text,
        QStringLiteral("Data successfully exported in ") + QDir::toNativeSeparators(path));
    EXPECT_EQ(m_boxes.requests[0].caption, QStringLiteral("RTF export"));
    EXPECT_EQ(m_boxes.requests[0].icon, MessageRequest::Icon::Information);

    const RtfShownDocument document = Shown(path);
    const QStringList texts = document.Texts();
    // The title page: 13 empty paragraphs, the title, 14 empty, the three places to fill in.
    EXPECT_EQ(texts.mid(13, 19),
        QStringList({ "VELA Analysis Report", "", "", "", "", "", "", "", "", "", "", "", "", "",
            "", "Author:", "Site:", "Date:", "" }));
    EXPECT_EQ(document.paragraphs[13].fontSize, 72);
    EXPECT_TRUE(document.paragraphs[13].centred);
    const int generated = document.Find(QStringLiteral("Generated by VELA"));
    ASSERT_EQ(generated, 13 + 1 + 14 + 3 + 8);
    EXPECT_EQ(texts[generated + 1], ReportDriver::LegalCopyright());

    const int chapter = document.Find(QStringLiteral("1 - Experimental data"));
    ASSERT_EQ(chapter, generated + 3);
    EXPECT_TRUE(document.PageBreakBetween(generated + 1, chapter))
        << "the title page ends with a page break";
    EXPECT_FALSE(document.PageBreakBetween(0, generated + 1));
    EXPECT_EQ(texts.mid(chapter + 2, 11),
        QStringList({ QStringLiteral("Traces file name\t") + record, "Number of sensors\t24",
            "Sensors distance:\t2.5m", "Number of time samples\t1024",
            "Acquisition timestep\t0.5ms", "Number of sensors used for the analysis\t24",
            "The interval considered for the analysis starts at\t0ms",
            "The interval considered for the analysis ends at\t511.5ms",
            "Sensors are reverted (the last one in the file is the fist one for the analysis)", "",
            "Figure 1: Experimental traces" }));
    EXPECT_EQ(texts.size(), chapter + 13) << "nothing after the last chapter";

    // The figure is the trace chart drawn at 640 x 640: not one flat colour.
    ASSERT_EQ(document.pictureHex.size(), 1);
    const Dib dib = DibOf(document.pictureHex[0]);
    ASSERT_EQ(dib.width, 640);
    ASSERT_EQ(dib.height, 640);
    ASSERT_EQ(dib.pixels.size(), 640 * 640 * 3);
    int differing = 0;
    for (int at = 3; at < dib.pixels.size(); at += 3)
        differing += dib.pixels.mid(at, 3) != dib.pixels.left(3);
    EXPECT_GT(differing, 640 * 10);
}

TEST_F(ReportDataPageTest, RecordNotYetAnalysedWritesNoChapter)
{
    ASSERT_TRUE(m_page->OpenTraceFile(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2")));
    const QString path = PathOf(QStringLiteral("title only.rtf"));
    ASSERT_TRUE(ReportDriver::Write(nullptr, path, Slots()));
    const RtfShownDocument document = Shown(path);
    EXPECT_EQ(document.Find(QStringLiteral("1 - Experimental data")), -1);
    EXPECT_TRUE(document.pictureHex.isEmpty());
    EXPECT_GE(document.Find(QStringLiteral("VELA Analysis Report")), 0);
}

TEST_F(ReportDataPageTest, FailuresAreToldAndLeaveNoReportBehind)
{
    ASSERT_TRUE(m_page->OpenTraceFile(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2")));
    m_analysis.m_bAnalysed = true;

    const QString nowhere = PathOf(QStringLiteral("missing folder/Report.rtf"));
    m_boxes.requests.clear();
    EXPECT_FALSE(ReportDriver::Write(nullptr, nowhere, Slots()));
    ASSERT_EQ(m_boxes.requests.size(), 1);
    EXPECT_EQ(m_boxes.requests[0].text, QStringLiteral("Impossible to open file"));
    EXPECT_EQ(m_boxes.requests[0].caption, QStringLiteral("RTF export"));
    EXPECT_EQ(m_boxes.requests[0].icon, MessageRequest::Icon::Error);

    // A full disk, made by a file size limit: the chart picture does not fit.
    const QString path = PathOf(QStringLiteral("Report.rtf"));
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1024 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    m_boxes.requests.clear();
    const bool written = ReportDriver::Write(nullptr, path, Slots());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    ASSERT_EQ(m_boxes.requests.size(), 1);
    EXPECT_FALSE(m_boxes.requests[0].text.contains(QLatin1String("successfully")));
    EXPECT_TRUE(m_boxes.requests[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(m_boxes.requests[0].icon, MessageRequest::Icon::Error);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList()) << "nothing left over";
}

// A page whose chapter fails half-way, as a matrix error would make it.
class FailingPage : public CChildDialog
{
public:
    FailingPage()
        : CChildDialog(0, nullptr, nullptr)
    {
    }
    int WriteReport(ReportWriter &report) override
    {
        report.ChapterHeading(QStringLiteral("Field profile"));
        throw std::runtime_error("The column number must be equal");
    }
};

TEST_F(ReportDataPageTest, ChapterThatFailsHalfWayAbandonsTheReport)
{
    ASSERT_TRUE(m_page->OpenTraceFile(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2")));
    m_analysis.m_bAnalysed = true;
    FailingPage failing;
    QList<CChildDialog *> pages = Slots();
    pages[6] = &failing;
    const QString path = PathOf(QStringLiteral("Report.rtf"));
    m_boxes.requests.clear();
    EXPECT_FALSE(ReportDriver::Write(nullptr, path, pages));
    ASSERT_EQ(m_boxes.requests.size(), 1);
    EXPECT_EQ(m_boxes.requests[0].text,
        QStringLiteral("The report could not be written: The column number must be equal"));
    EXPECT_EQ(m_boxes.requests[0].icon, MessageRequest::Icon::Error);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(ReportDataPageTest, ViewAsksForTheFileAndCancelWritesNothing)
{
    CWinQuiverView view;
    view.SetReportFileChooser([] { return QString(); });
    m_boxes.requests.clear();
    EXPECT_FALSE(view.OnWriteReport());
    EXPECT_TRUE(m_boxes.requests.isEmpty());

    const QString path = PathOf(QStringLiteral("from the view.rtf"));
    view.SetReportFileChooser([&] { return path; });
    EXPECT_TRUE(view.OnWriteReport());
    ASSERT_EQ(m_boxes.requests.size(), 1);
    EXPECT_TRUE(m_boxes.requests[0].text.startsWith(QLatin1String("Data successfully exported")));
    EXPECT_GE(Shown(path).Find(QStringLiteral("VELA Analysis Report")), 0);
}

TEST_F(ReportDataPageTest, ReportFollowsTheInterfaceLanguage)
{
    QTranslator italian;
    ASSERT_TRUE(italian.load(QStringLiteral(":/i18n/vela_it.qm")));
    QCoreApplication::installTranslator(&italian);
    // Pages take their texts when they are built, as in the program started in Italian.
    m_page = std::make_unique<CGUIRispostaSperimentale1>(nullptr, nullptr, &m_analysis);
    m_page->Create();
    ASSERT_TRUE(m_page->OpenTraceFile(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2")));
    m_analysis.m_bAnalysed = true;
    const QString path = PathOf(QStringLiteral("relazione.rtf"));
    m_boxes.requests.clear();
    const bool written = ReportDriver::Write(nullptr, path, Slots());
    QCoreApplication::removeTranslator(&italian);
    ASSERT_TRUE(written);
    ASSERT_EQ(m_boxes.requests.size(), 1);
    EXPECT_TRUE(m_boxes.requests[0].text.startsWith(QString::fromUtf8("Dati esportati")));

    const RtfShownDocument document = Shown(path);
    EXPECT_GE(document.Find(QString::fromUtf8("Relazione di analisi VELA")), 0);
    EXPECT_GE(document.Find(QString::fromUtf8("1 - Dati sperimentali")), 0);
    EXPECT_GE(document.Find(QString::fromUtf8("Figura 1: Tracce sperimentali")), 0);
    EXPECT_GE(document.Find(QString::fromUtf8("Distanza tra i sensori:\t0m")), 0);
    // Accented letters reach the document as code page 1252 bytes.
    EXPECT_GE(document.Find(QString::fromUtf8("Localit\u00e0:")), 0);
    EXPECT_TRUE(ReadAll(path).contains("Localit\\'e0:"));
}

} // namespace

int main(int argc, char **argv)
{
    // No display is needed: charts are drawn off screen (test discovery runs the program bare).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
