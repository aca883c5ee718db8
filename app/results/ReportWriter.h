// The operations every page uses to write its chapter of the analysis report, over the RTF
// writer: headings, labelled rows, captions with their counters, tables and chart figures.
#ifndef VELA_APP_RESULTS_REPORTWRITER_H
#define VELA_APP_RESULTS_REPORTWRITER_H

#include "app/results/RtfWriter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CChartRegion;

/// One report document. Between operations the paragraph format stands at left aligned,
/// regular, 12 pt (and 40 twips before each paragraph once the first heading is written);
/// every operation changes what it needs, writes, and sets it back. Chapter, table and figure
/// numbers run through the whole document from 1.
///
/// How a page writes its chapter, in its WriteReport(ReportWriter &report):
/// @code
///   report.BeginSection();                      // every chapter but the dispersion curve's
///   report.ChapterHeading(tr("Field profile"));
///   report.LabelledRow(tr("Number of modes"), QString::number(modes));
///   report.Paragraph(tr("This layer is water table"));
///   report.TableCaption(tr("Dispersion curve"));  report.Table(header, rows);
///   report.ChartFigure(chart->Region(), tr("Dispersion curve"));
///   report.ChapterEnd();
/// @endcode
/// Texts are plain (the writer escapes them) and already in the interface language.
class ReportWriter
{
public:
    /// Draws a chart region into a picture file of the given pixel size; false when it could not.
    using ChartExporter = std::function<bool(
        const CChartRegion &region, const QString &path, int widthPx, int heightPx)>;

    static constexpr int ChartSizePx = 640;
    static constexpr int FigureScalePercent = 50;
    static constexpr int LeaderTabPosition = 8000;
    static constexpr int TableCellWidth = 2100;

    /// @param exporter how chart figures are drawn; without one a figure is only its caption.
    explicit ReportWriter(ChartExporter exporter = ChartExporter());

    /// Opens the document with the report's fonts (Times New Roman, Arial) and colours (black,
    /// red, silver, white) and resets the counters. Returns the writer's result (RtfOk when open).
    int Open(const QString &path);
    /// Ends the document; true when it was written completely under its name.
    bool Close();
    /// Gives the document up: nothing is left under its name.
    void Abandon() { m_rtf.RtfAbandon(); }
    bool IsOpen() const { return m_rtf.IsOpen(); }

    /// The title page: title, places for author, site and date, the program's name and
    /// copyright; then a page break.
    void TitlePage(const QString &productName, const QString &copyright);

    /// Starts a new section (every chapter but the dispersion curve's begins with one).
    void BeginSection();
    /// "N - title", centred, bold, 20 pt, then an empty paragraph.
    void ChapterHeading(const QString &title);
    /// The label, dots up to a right-aligned tab at 8000 twips, and the value there. An empty
    /// value leaves the row a label alone.
    void LabelledRow(const QString &label, const QString &value, bool bold = false);
    /// Centred, bold, 15 pt.
    void SubHeading(const QString &text);
    /// A paragraph of text in the standing format (the sentences of the chapters).
    void Paragraph(const QString &text);
    void EmptyParagraph();
    /// Centred, bold, 20 pt, without a number (the title of an appendix's list).
    void Title(const QString &text);
    /// "Table N:text", centred, 10 pt.
    void TableCaption(const QString &text);
    /// "Figure N: text", centred, 10 pt.
    void FigureCaption(const QString &text);
    /// A table with cell borders, cells cellWidth twips wide, the header row in bold.
    void Table(
        const QStringList &header, const QList<QStringList> &rows, int cellWidth = TableCellWidth);
    /// The chart drawn at 640 x 640 pixels into a temporary bitmap, inserted at 50 % and
    /// captioned as a figure; the temporary file is deleted. A chart that cannot be drawn
    /// leaves its caption alone.
    void ChartFigure(const CChartRegion &region, const QString &caption);
    /// "Appendix", centred, bold, 20 pt.
    void AppendixHeading();
    /// A page break. It is written with what comes next: as the page break of a section begun
    /// next, or in the next paragraph (word processors drop a page break that stands next to a
    /// continuous section break). Nothing follows the last chapter's.
    void ChapterEnd();

    int ChapterCount() const { return m_chapters; }
    int TableCount() const { return m_tables; }
    int FigureCount() const { return m_figures; }

    /// The writer, for what the operations above do not cover.
    RtfWriter &Rtf() { return m_rtf; }

private:
    void Write(const QString &text);
    void BreakPendingPage();
    void Heading(const QString &text);
    void Caption(const QString &text);

    RtfWriter m_rtf;
    ChartExporter m_exporter;
    bool m_firstParagraph = true;
    bool m_pageBreakPending = false;
    int m_standingSpaceBefore = 0;
    int m_chapters = 0;
    int m_tables = 0;
    int m_figures = 0;
};

#endif // VELA_APP_RESULTS_REPORTWRITER_H
