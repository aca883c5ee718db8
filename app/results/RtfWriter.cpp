#include "app/results/RtfWriter.h"

#include "app/results/RtfMetafile.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>

namespace {

const char *const DefaultFonts[] = {
    "{\\f0\\froman\\fcharset0\\cpg1252 Times New Roman}",
    "{\\f1\\fswiss\\fcharset0\\cpg1252 Arial}",
    "{\\f2\\fmodern\\fcharset0\\cpg1252 Courier New}",
    "{\\f3\\fscript\\fcharset0\\cpg1252 Cursive}",
    "{\\f4\\fdecor\\fcharset0\\cpg1252 Old English}",
    "{\\f5\\ftech\\fcharset0\\cpg1252 Symbol}",
    "{\\f6\\fbidi\\fcharset0\\cpg1252 Miriam}",
};

const int DefaultColours[][3] = {
    { 0, 0, 0 },
    { 255, 0, 0 },
    { 0, 255, 0 },
    { 0, 0, 255 },
    { 255, 255, 0 },
    { 255, 0, 255 },
    { 0, 255, 255 },
    { 255, 255, 255 },
    { 128, 0, 0 },
    { 0, 128, 0 },
    { 0, 0, 128 },
    { 128, 128, 0 },
    { 128, 0, 128 },
    { 0, 128, 128 },
    { 128, 128, 128 },
};

const char *const UnderlineWords[] = { "\\ulnone", "\\ul", "\\uld", "\\uldash", "\\uldashd",
    "\\uldashdd", "\\uldb", "\\ulhwave", "\\ulldash", "\\ulth", "\\ulthd", "\\ulthdash",
    "\\ulthdashd", "\\ulthdashdd", "\\ulthldash", "\\ululdbwave", "\\ulw", "\\ulwave" };

const char *const BorderStyleWords[] = { "\\brdrs", "\\brdrth", "\\brdrsh", "\\brdrdb", "\\brdrdot",
    "\\brdrdash", "\\brdrhair", "\\brdrinset", "\\brdrdashsm", "\\brdrdashd", "\\brdrdashdd",
    "\\brdroutset", "\\brdrtriple", "\\brdrwavy", "\\brdrwavydb", "\\brdrdashdotstr",
    "\\brdremboss", "\\brdrengrave" };

const char *const PatternWords[] = { "", "\\bghoriz", "\\bgvert", "\\bgfdiag", "\\bgbdiag",
    "\\bgcross", "\\bgdcross", "\\bgdkhoriz", "\\bgdkvert", "\\bgdkfdiag", "\\bgdkbdiag",
    "\\bgdkcross", "\\bgdkdcross" };

const char *const CellPatternWords[] = { "", "\\clbghoriz", "\\clbgvert", "\\clbgfdiag",
    "\\clbgbdiag", "\\clbgcross", "\\clbgdcross", "\\clbgdkhoriz", "\\clbgdkvert", "\\clbgdkfdiag",
    "\\clbgdkbdiag", "\\clbgdkcross", "\\clbgdkdcross" };

// The word of a table entry, nothing for a value outside the table.
template <std::size_t N> QByteArray Word(const char *const (&table)[N], int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? QByteArray(table[index])
                                                             : QByteArray();
}

QByteArray Number(int value) { return QByteArray::number(value); }

QByteArray Flag(bool on, const char *onWord, const char *offWord)
{
    return QByteArray(on ? onWord : offWord);
}

QByteArray ColourEntry(const QByteArray &red, const QByteArray &green, const QByteArray &blue)
{
    return "\\red" + red + "\\green" + green + "\\blue" + blue + ";";
}

QByteArray DefaultFontTable()
{
    QByteArray table;
    for (const char *font : DefaultFonts)
        table += font;
    return table;
}

QByteArray DefaultColourTable()
{
    QByteArray table;
    for (const auto &colour : DefaultColours)
        table += ColourEntry(Number(colour[0]), Number(colour[1]), Number(colour[2]));
    return table;
}

QStringList ListItems(const QString &list)
{
    return list.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QByteArray CellBorder(const RtfCellBorder &border, const char *word)
{
    if (!border.on)
        return QByteArray();
    return QByteArray(word) + Word(BorderStyleWords, border.style) + "\\brdrw"
        + Number(border.width) + "\\brsp" + Number(border.space) + "\\brdrcf"
        + Number(border.colour);
}

// Natural size of a picture in hundredths of a millimetre, from the resolution it carries;
// 96 dots per inch when it carries none.
int NaturalSize(int pixels, int dotsPerMeter)
{
    if (dotsPerMeter <= 0)
        return static_cast<int>((static_cast<long long>(pixels) * 2540 + 48) / 96);
    return static_cast<int>(
        (static_cast<long long>(pixels) * 100000 + dotsPerMeter / 2) / dotsPerMeter);
}

// Screen pixels of a size in hundredths of a millimetre, multiplied before the rounded division.
int ScreenPixels(int size, int dotsPerInch)
{
    return static_cast<int>((static_cast<long long>(size) * dotsPerInch + 1270) / 2540);
}

// No screen is asked: pictures are laid out at 96 dots per inch, the usual desktop resolution.
constexpr int ScreenDotsPerInch = 96;

// Code page 1252 in 0x80..0x9F; 0 where the page has no character. 0xA0..0xFF are Latin-1.
const char16_t Windows1252High[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

} // namespace

RtfWriter::RtfWriter() = default;

RtfWriter::~RtfWriter() { Abandon(); }

int RtfWriter::CodePage1252(char16_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return character;
    for (int index = 0; index < 32; ++index) {
        if (Windows1252High[index] == character)
            return 0x80 + index;
    }
    return -1;
}

QByteArray RtfWriter::EncodeText(const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(text.size());
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == u'\n') {
            out += "\\line ";
        } else if (c == u'\r') {
            // A line end is "\n" alone; a carriage return adds nothing.
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (const int byte = CodePage1252(c); byte >= 0) {
            out += "\\'";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            // Readers take the "?" for those that cannot show the character; values above
            // 32767 are written negative, as the word's number is a signed 16-bit value.
            out += "\\u" + Number(static_cast<int16_t>(c)) + "?";
        }
    }
    return out;
}

bool RtfWriter::Write(const QByteArray &piece)
{
    if (!m_file)
        return false;
    // The document is a text file of CR LF line ends.
    QByteArray bytes = piece;
    bytes.replace("\n", "\r\n");
    const bool written = m_file->write(bytes) == bytes.size();
    if (!written)
        m_complete = false;
    return written;
}

void RtfWriter::Abandon()
{
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
    m_picture.reset();
}

int RtfWriter::RtfOpen(const QString &path, const QString &fontList, const QString &colourList)
{
    Abandon();
    m_document = RtfDocumentRecord();
    m_section = RtfSectionRecord();
    m_paragraph = RtfParagraphRecord();
    m_table = RtfTableRecord();
    m_cell = RtfCellRecord();
    m_paragraphText.clear();
    m_complete = true;

    m_fontTable = DefaultFontTable();
    const QStringList fonts = ListItems(fontList);
    if (!fonts.isEmpty()) {
        m_fontTable.clear();
        for (int index = 0; index < fonts.size(); ++index)
            m_fontTable += "{\\f" + Number(index) + "\\fnil\\fcharset0\\cpg1252 "
                + EncodeText(fonts[index]) + "}";
    }
    m_colourTable = DefaultColourTable();
    const QStringList colours = ListItems(colourList);
    if (!colours.isEmpty()) {
        m_colourTable.clear();
        for (int index = 0; index + 2 < colours.size(); index += 3)
            m_colourTable += ColourEntry(colours[index].trimmed().toLatin1(),
                colours[index + 1].trimmed().toLatin1(), colours[index + 2].trimmed().toLatin1());
    }

    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_file.reset();
        return RtfCannotCreate;
    }
    const QByteArray header = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl" + m_fontTable
        + "}{\\colortbl" + m_colourTable + "}{\\*\\generator rtflib ver. 1.0;}"
        + "\n{\\info{\\author VELA}}";
    if (!Write(header)) {
        Abandon();
        return RtfHeaderIncomplete;
    }
    const RtfDocumentRecord &d = m_document;
    QByteArray document = "\\viewkind" + Number(d.viewKind) + "\\viewscale" + Number(d.viewScale)
        + "\\paperw" + Number(d.paperWidth) + "\\paperh" + Number(d.paperHeight) + "\\margl"
        + Number(d.marginLeft) + "\\margr" + Number(d.marginRight) + "\\margt" + Number(d.marginTop)
        + "\\margb" + Number(d.marginBottom) + "\\gutter" + Number(d.gutter);
    if (d.facingPages)
        document += "\\facingp";
    if (d.protectAnnotations)
        document += "\\annotprot";
    if (!Write(document)) {
        Abandon();
        return RtfDocumentIncomplete;
    }
    // A failed section write is noticed by RtfClose, not here.
    WriteSectionFormat();
    return RtfOk;
}

bool RtfWriter::RtfClose()
{
    if (!m_file)
        return false;
    m_picture.reset();
    Write("\n\\par}");
    bool saved = false;
    if (m_complete)
        saved = m_file->commit();
    else
        m_file->cancelWriting();
    m_file.reset();
    return saved;
}

int RtfWriter::WriteSectionFormat()
{
    const RtfSectionRecord &s = m_section;
    QByteArray flags;
    if (s.newSection)
        flags += "\\sect";
    if (s.defaultSection)
        flags += "\\sectd";
    if (s.pageNumbers)
        flags += "\\pgnx" + Number(s.pageNumberX) + "\\pgny" + Number(s.pageNumberY);
    static const char *const breakWords[] = { "\\sbknone", "\\sbkcol", "\\sbkpage", "\\sbkeven",
        "\\sbkodd" };
    const QByteArray breakPiece = Word(breakWords, s.breakKind);
    QByteArray columnsPiece;
    if (s.columns) {
        columnsPiece = "\\cols" + Number(s.columnCount) + "\\colsx" + Number(s.columnSpacing);
        if (s.lineBetweenColumns)
            columnsPiece += "\\linebetcol";
    }
    const QByteArray piece = "\n" + flags + breakPiece + columnsPiece + "\\pgwsxn"
        + Number(s.pageWidth) + "\\pghsxn" + Number(s.pageHeight) + "\\marglsxn"
        + Number(s.marginLeft) + "\\margrsxn" + Number(s.marginRight) + "\\margtsxn"
        + Number(s.marginTop) + "\\margbsxn" + Number(s.marginBottom) + "\\guttersxn"
        + Number(s.gutter) + "\\headery" + Number(s.headerDistance) + "\\footery"
        + Number(s.footerDistance);
    return Write(piece) ? RtfOk : RtfSectionIncomplete;
}

int RtfWriter::RtfBeginSection()
{
    m_section.newSection = true;
    return WriteSectionFormat();
}

bool RtfWriter::WriteParagraph()
{
    const RtfParagraphRecord &p = m_paragraph;
    if (p.continueAfterTab)
        return Write("\\tab " + EncodeText(m_paragraphText));

    static const char *const breakWords[] = { "", "\\page", "\\column", "\\line" };
    static const char *const alignmentWords[] = { "\\ql", "\\qc", "\\qr", "\\qj" };
    static const char *const tabKindWords[] = { "", "\\tqc", "\\tqr", "\\tqdec" };
    static const char *const leaderWords[] = { "", "\\tldot", "\\tlmdot", "\\tlhyph", "\\tlul",
        "\\tlth", "\\tleq" };
    static const char *const sideWords[] = { "", "\\brdrt", "\\brdrb", "\\brdrl", "\\brdrr",
        "\\box" };

    QByteArray prefix;
    if (p.newParagraph)
        prefix += "\\par";
    if (p.defaultParagraph)
        prefix += "\\pard";
    prefix += p.inTable ? "\\intbl" : "\\plain";
    prefix += Word(breakWords, p.breakKind);
    prefix += Word(alignmentWords, p.alignment);
    if (p.tabStop)
        prefix += Word(tabKindWords, p.tabKind) + Word(leaderWords, p.tabLeader) + "\\tx"
            + Number(p.tabPosition);
    if (p.numbering)
        prefix += "{\\*\\pn\\pnlvl" + Number(p.numberingLevel) + "\\pnsp"
            + Number(p.numberingSpacing) + "\\pntxtb " + QByteArray(1, char(p.numberingCharacter))
            + "}";
    if (p.border)
        prefix += Word(sideWords, p.borderSide) + Word(BorderStyleWords, p.borderType) + "\\brdrw"
            + Number(p.borderWidth) + "\\brsp" + Number(p.borderSpace) + "\\brdrcf"
            + Number(p.borderColour);
    if (p.shading)
        prefix += "\\shading" + Number(p.shadingPercent) + Word(PatternWords, p.shadingPattern)
            + "\\cfpat" + Number(p.patternForeground) + "\\cbpat" + Number(p.patternBackground);

    const QByteArray character = "\\animtext" + Number(p.animation) + "\\expndtw"
        + Number(p.expansion) + "\\kerning" + Number(p.kerning) + "\\charscalex"
        + Number(p.horizontalScale) + "\\f" + Number(p.font) + "\\fs" + Number(p.fontSize) + "\\cf"
        + Number(p.colour) + Flag(p.bold, "\\b", "\\b0") + Flag(p.capitals, "\\caps", "\\caps0")
        + Flag(p.doubleStrike, "\\striked1", "\\striked0") + Flag(p.emboss, "\\embo", "")
        + Flag(p.imprint, "\\impr", "") + Flag(p.italic, "\\i", "\\i0")
        + Flag(p.outline, "\\outl", "\\outl0") + Flag(p.shadow, "\\shad", "\\shad0")
        + Flag(p.smallCapitals, "\\scaps", "\\scaps0") + Flag(p.strike, "\\strike", "\\strike0")
        + Flag(p.subscript, "\\sub", "") + Flag(p.superscript, "\\super", "")
        + Word(UnderlineWords, p.underline);

    return Write("\n" + prefix + "\\fi" + Number(p.firstLineIndent) + "\\li" + Number(p.leftIndent)
        + "\\ri" + Number(p.rightIndent) + "\\sb" + Number(p.spaceBefore) + "\\sa"
        + Number(p.spaceAfter) + "\\sl" + Number(p.lineSpacing) + character + " "
        + EncodeText(m_paragraphText));
}

int RtfWriter::RtfAddParagraph(const QString &text, bool newParagraph)
{
    m_paragraphText = text;
    m_paragraph.newParagraph = newParagraph;
    const bool written = WriteParagraph();
    m_paragraphText.clear();
    return written ? RtfOk : RtfParagraphIncomplete;
}

int RtfWriter::RtfEndParagraph() { return Write("\n\\par") ? RtfOk : RtfParagraphIncomplete; }

void RtfWriter::RtfBeginRow()
{
    static const char *const alignmentWords[] = { "\\trql", "\\trqc", "\\trqr" };
    const RtfTableRecord &t = m_table;
    Write("\n\\trowd\\trgaph115" + Word(alignmentWords, t.rowAlignment) + "\\trleft"
        + Number(t.rowLeft) + "\\trrh" + Number(t.rowHeight) + "\\trpaddb" + Number(t.paddingBottom)
        + "\\trpaddfb3\\trpaddl" + Number(t.paddingLeft) + "\\trpaddfl3\\trpaddr"
        + Number(t.paddingRight) + "\\trpaddfr3\\trpaddt" + Number(t.paddingTop) + "\\trpaddft3");
}

void RtfWriter::RtfDefineCell(int rightEdge)
{
    static const char *const verticalWords[] = { "\\clvertalt", "\\clvertalc", "\\clvertalb" };
    static const char *const flowWords[] = { "\\cltxlrtb", "\\cltxtbrl", "\\cltxbtlr",
        "\\cltxlrtbv", "\\cltxtbrlv" };
    const RtfCellRecord &c = m_cell;
    QByteArray shading;
    if (c.shading)
        shading = Word(CellPatternWords, c.shadingPattern) + "\\clshdgn" + Number(c.shadingPercent)
            + "\\clcfpat" + Number(c.patternForeground) + "\\clcbpat" + Number(c.patternBackground);
    Write("\n\\tcelld" + Word(verticalWords, c.verticalAlignment) + Word(flowWords, c.textFlow)
        + CellBorder(c.bottom, "\\clbrdrb") + CellBorder(c.left, "\\clbrdrl")
        + CellBorder(c.right, "\\clbrdrr") + CellBorder(c.top, "\\clbrdrt") + shading + "\\cellx"
        + Number(rightEdge));
}

void RtfWriter::RtfEndCell() { Write("\n\\cell "); }

void RtfWriter::RtfEndRow() { Write("\n\\trgaph115\\row\\pard"); }

int RtfWriter::RtfAddPicture(const QString &path, int scaleXPercent, int scaleYPercent)
{
    if (!path.contains(QLatin1String(".bmp")) && !path.contains(QLatin1String(".jpg"))
        && !path.contains(QLatin1String(".gif"))) {
        Write("\n\\par\\pard *** Error! Wrong image format ***\\par");
        return RtfOk;
    }
    m_picture.reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return RtfPictureUndecodable;
    const QByteArray bytes = file.readAll();
    auto picture = std::make_unique<QImage>();
    if (!picture->loadFromData(bytes) || picture->isNull())
        return RtfPictureUndecodable;
    m_picture = std::move(picture);

    const int width = NaturalSize(m_picture->width(), m_picture->dotsPerMeterX());
    const int height = NaturalSize(m_picture->height(), m_picture->dotsPerMeterY());
    const QByteArray metafile = RtfMetafile::Draw(*m_picture,
        ScreenPixels(width, ScreenDotsPerInch), ScreenPixels(height, ScreenDotsPerInch));

    m_paragraphText.clear();
    WriteParagraph();
    Write("\n{\\pict\\wmetafile8\\picwgoal" + Number(width) + "\\pichgoal" + Number(height)
        + "\\picscalex" + Number(scaleXPercent) + "\\picscaley" + Number(scaleYPercent) + "\n"
        + metafile.toHex() + "}");
    return RtfOk;
}
