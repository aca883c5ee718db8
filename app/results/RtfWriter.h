// Sequential writer of Rich Text Format documents: header with font and colour tables,
// sections, paragraphs, tables and pictures, each shaped by a format record the caller edits.
#ifndef VELA_APP_RESULTS_RTFWRITER_H
#define VELA_APP_RESULTS_RTFWRITER_H

#include <QByteArray>
#include <QString>

#include <memory>

class QImage;
class QSaveFile;

/// Result codes of the writer's operations.
enum RtfResult : int {
    RtfOk = 4096,
    RtfCannotCreate = 1,
    RtfHeaderIncomplete = 3,
    RtfDocumentIncomplete = 4,
    RtfSectionIncomplete = 5,
    RtfParagraphIncomplete = 6,
    RtfPictureUndecodable = 7,
};

/// Document settings, written once after the header. Distances in twips.
struct RtfDocumentRecord
{
    int viewKind = 1;
    int viewScale = 100;
    int paperWidth = 12240;
    int paperHeight = 15840;
    int marginLeft = 1800;
    int marginRight = 1800;
    int marginTop = 1440;
    int marginBottom = 1440;
    bool facingPages = false;
    int gutter = 0;
    bool protectAnnotations = false;
};

/// Section settings. breakKind: 0 none, 1 column, 2 page, 3 even page, 4 odd page.
struct RtfSectionRecord
{
    int breakKind = 0;
    bool newSection = false;
    bool defaultSection = true;
    int pageWidth = 12240;
    int pageHeight = 15840;
    int marginLeft = 1800;
    int marginRight = 1800;
    int marginTop = 1440;
    int marginBottom = 1440;
    int gutter = 0;
    int headerDistance = 720;
    int footerDistance = 720;
    bool pageNumbers = false;
    int pageNumberX = 720;
    int pageNumberY = 720;
    bool columns = false;
    int columnCount = 1;
    int columnSpacing = 720;
    bool lineBetweenColumns = false;
};

/// Paragraph settings with the character settings of its text. Distances in twips, font
/// sizes in half-points, colours and fonts are table indexes.
struct RtfParagraphRecord
{
    // Paragraph part.
    int breakKind = 0; ///< 1 page, 2 column, 3 line, anything else nothing
    bool newParagraph = false;
    bool defaultParagraph = true;
    int alignment = 0; ///< 0 left, 1 centre, 2 right, 3 justified
    int firstLineIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool continueAfterTab = false; ///< write only a tab and the text
    bool inTable = false;
    bool tabStop = false;
    int tabPosition = 0;
    int tabKind = 0; ///< 0 left, 1 centre, 2 right, 3 decimal
    int tabLeader = 0; ///< 0 none, 1 dots, 2 middle dots, 3 hyphens, 4 underline, 5 thick, 6 equals
    bool numbering = false;
    int numberingLevel = 11;
    int numberingSpacing = 360;
    unsigned char numberingCharacter = 0x95; ///< the bullet of code page 1252
    bool border = false;
    int borderSide = 0; ///< 1 top, 2 bottom, 3 left, 4 right, 5 box
    int borderType = 0;
    int borderWidth = 0;
    int borderColour = 0;
    int borderSpace = 0;
    bool shading = false;
    int shadingPercent = 0;
    int shadingPattern = 0;
    int patternForeground = 0;
    int patternBackground = 0;
    // Character part.
    int animation = 0;
    bool bold = false;
    bool capitals = false;
    int colour = 0;
    int horizontalScale = 100;
    bool emboss = false;
    int expansion = 0;
    int font = 0;
    int fontSize = 24;
    bool italic = false;
    bool imprint = false;
    int kerning = 0;
    bool outline = false;
    bool smallCapitals = false;
    bool shadow = false;
    bool strike = false;
    bool doubleStrike = false;
    bool subscript = false;
    bool superscript = false;
    int underline = 0;
};

/// Row settings of a table. rowAlignment: 0 left, 1 centre, 2 right. Twips.
struct RtfTableRecord
{
    int rowAlignment = 0;
    int rowHeight = 0;
    int paddingRight = 0;
    int paddingTop = 0;
    int paddingBottom = 0;
    int paddingLeft = 0;
    int rowLeft = 0;
};

/// One border of a cell.
struct RtfCellBorder
{
    bool on = false;
    int style = 0;
    int width = 5;
    int colour = 0;
    int space = 0;
};

/// Cell settings, used by the next RtfDefineCell.
struct RtfCellRecord
{
    int verticalAlignment = 1; ///< 0 top, 1 centre, 2 bottom
    int textFlow = 0;
    bool shading = false;
    int shadingPercent = 0;
    int shadingPattern = 0;
    int patternForeground = 0;
    int patternBackground = 0;
    RtfCellBorder left;
    RtfCellBorder right;
    RtfCellBorder top;
    RtfCellBorder bottom;
};

/// Writes one RTF document at a time, piece by piece: nothing is held in memory, every call
/// writes its piece at once. The document goes to a temporary file beside the chosen one that
/// takes the chosen name only when RtfClose finds every piece written, so a document that could
/// not be written completely never appears under that name.
///
/// Texts are plain: the writer escapes "\", "{" and "}" and writes letters outside ASCII in
/// code page 1252 (\'hh) or, where that page has none, as \uN?.
class RtfWriter
{
public:
    RtfWriter();
    ~RtfWriter();
    RtfWriter(const RtfWriter &) = delete;
    RtfWriter &operator=(const RtfWriter &) = delete;

    /// Resets every format record and the tables, applies the lists, creates the file and writes
    /// the header, the document format and the section format.
    /// @param fontList font names separated by ";" replacing the default table; empty keeps it.
    /// @param colourList red;green;blue;... replacing the default table; empty keeps it.
    /// @return RtfOk, RtfCannotCreate, RtfHeaderIncomplete or RtfDocumentIncomplete. A document
    ///         still open is abandoned first.
    int RtfOpen(const QString &path, const QString &fontList = QString(),
        const QString &colourList = QString());
    /// Ends the document and gives it its name. Returns true when the whole document was written
    /// and now lies under the path given to RtfOpen; otherwise nothing is left under that name.
    bool RtfClose();
    /// Gives the open document up without ending it: nothing is left under its name.
    void RtfAbandon() { Abandon(); }
    bool IsOpen() const { return m_file != nullptr; }

    /// Starts a new section with the current section format. RtfOk or RtfSectionIncomplete.
    int RtfBeginSection();
    /// Writes a paragraph with the current paragraph format. RtfOk or RtfParagraphIncomplete.
    int RtfAddParagraph(const QString &text, bool newParagraph);
    /// Ends the paragraph in progress ("\par"), as a table must find it ended: text still open
    /// when a row begins would be read as part of the row's first cell. RtfOk or
    /// RtfParagraphIncomplete.
    int RtfEndParagraph();

    RtfDocumentRecord *RtfDocumentFormat() { return &m_document; }
    RtfSectionRecord *RtfSectionFormat() { return &m_section; }
    RtfParagraphRecord *RtfParagraphFormat() { return &m_paragraph; }
    RtfTableRecord *RtfTableFormat() { return &m_table; }
    RtfCellRecord *RtfCellFormat() { return &m_cell; }

    /// A table: RtfBeginRow, one RtfDefineCell per cell with increasing right edges (twips from
    /// the row's left), then per cell its paragraphs (inTable set) and RtfEndCell, then
    /// RtfEndRow.
    void RtfBeginRow();
    void RtfDefineCell(int rightEdge);
    void RtfEndCell();
    void RtfEndRow();

    /// Inserts a .bmp, .jpg or .gif picture as a Windows metafile at its natural size scaled by
    /// the percentages. Another extension writes a visible error paragraph and returns RtfOk;
    /// a file that cannot be read or decoded returns RtfPictureUndecodable and writes nothing.
    int RtfAddPicture(const QString &path, int scaleXPercent, int scaleYPercent);

    /// The text as it stands in the document: escaped, code page 1252 or \uN?.
    static QByteArray EncodeText(const QString &text);
    /// The byte of code page 1252 for a character, or -1 when that page has none.
    static int CodePage1252(char16_t character);

private:
    bool Write(const QByteArray &piece);
    int WriteSectionFormat();
    bool WriteParagraph();
    void Abandon();

    std::unique_ptr<QSaveFile> m_file;
    bool m_complete = true;
    QByteArray m_fontTable;
    QByteArray m_colourTable;
    RtfDocumentRecord m_document;
    RtfSectionRecord m_section;
    RtfParagraphRecord m_paragraph;
    QString m_paragraphText;
    RtfTableRecord m_table;
    RtfCellRecord m_cell;
    std::unique_ptr<QImage> m_picture;
};

#endif // VELA_APP_RESULTS_RTFWRITER_H
