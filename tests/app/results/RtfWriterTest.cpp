// The RTF writer: its bytes for the default document, font lists, paragraphs and table rows;
// text escaping against the C library's own code page 1252 converter; pictures decoded back
// from the document's hex into a metafile whose bitmap is the picture's; failed writes.
#include "app/results/RtfWriter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>
#include <functional>
#include <iconv.h>
#include <sys/resource.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The document as written, with its CR LF line ends turned back into "\n" (every line feed
// must have come as CR LF: a bare one fails the test).
QByteArray Document(const QString &path)
{
    QByteArray bytes = ReadAll(path);
    const int lineFeeds = bytes.count('\n');
    const int pairs = bytes.count("\r\n");
    EXPECT_EQ(lineFeeds, pairs) << "every line end is CR LF";
    return bytes.replace("\r\n", "\n");
}

// Braces of groups, skipping escaped ones and \'hh bytes; false on a group closed too early.
bool BracesBalanced(const QByteArray &rtf)
{
    int depth = 0;
    for (int i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\' && i + 1 < rtf.size()) {
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}')
                ++i;
            else if (next == '\'')
                i += 3;
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

const QByteArray DefaultHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl"
                                 "{\\f0\\froman\\fcharset0\\cpg1252 Times New Roman}"
                                 "{\\f1\\fswiss\\fcharset0\\cpg1252 Arial}"
                                 "{\\f2\\fmodern\\fcharset0\\cpg1252 Courier New}"
                                 "{\\f3\\fscript\\fcharset0\\cpg1252 Cursive}"
                                 "{\\f4\\fdecor\\fcharset0\\cpg1252 Old English}"
                                 "{\\f5\\ftech\\fcharset0\\cpg1252 Symbol}"
                                 "{\\f6\\fbidi\\fcharset0\\cpg1252 Miriam}}"
                                 "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;"
                                 "\\red0\\green255\\blue0;\\red0\\green0\\blue255;"
                                 "\\red255\\green255\\blue0;\\red255\\green0\\blue255;"
                                 "\\red0\\green255\\blue255;\\red255\\green255\\blue255;"
                                 "\\red128\\green0\\blue0;\\red0\\green128\\blue0;"
                                 "\\red0\\green0\\blue128;\\red128\\green128\\blue0;"
                                 "\\red128\\green0\\blue128;\\red0\\green128\\blue128;"
                                 "\\red128\\green128\\blue128;}"
                                 "{\\*\\generator rtflib ver. 1.0;}\n{\\info{\\author VELA}}";
const QByteArray DefaultDocument =
    "\\viewkind1\\viewscale100\\paperw12240\\paperh15840\\margl1800\\margr1800\\margt1440"
    "\\margb1440\\gutter0";
const QByteArray DefaultSection = "\n\\sectd\\sbknone\\pgwsxn12240\\pghsxn15840\\marglsxn1800"
                                  "\\margrsxn1800\\margtsxn1440\\margbsxn1440\\guttersxn0"
                                  "\\headery720\\footery720";
const QByteArray DefaultCharacter =
    "\\animtext0\\expndtw0\\kerning0\\charscalex100\\f0\\fs24\\cf0\\b0\\caps0\\striked0\\i0"
    "\\outl0\\shad0\\scaps0\\strike0\\ulnone";

class RtfWriterTest : public ::testing::Test
{
protected:
    QString PathOf(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
    RtfWriter m_rtf;
};

TEST_F(RtfWriterTest, FreshDocumentHasTheDefaultHeaderAndAPlainFirstParagraph)
{
    const QString path = PathOf("fresh.rtf");
    ASSERT_EQ(m_rtf.RtfOpen(path), RtfOk);
    EXPECT_EQ(m_rtf.RtfAddParagraph(QStringLiteral("Hello"), false), RtfOk);
    ASSERT_TRUE(m_rtf.RtfClose());
    EXPECT_EQ(Document(path),
        DefaultHeader + DefaultDocument + DefaultSection
            + "\n\\pard\\plain\\ql\\fi0\\li0\\ri0\\sb0"
              "\\sa0\\sl0"
            + DefaultCharacter + " Hello\n\\par}");
}

TEST_F(RtfWriterTest, ListsReplaceTheDefaultTables)
{
    const QString path = PathOf("lists.rtf");
    ASSERT_EQ(m_rtf.RtfOpen(path, QStringLiteral("Times New Roman;Arial;"),
                  QStringLiteral("0;0;0;255;0;0;192;192;192;255;255;255")),
        RtfOk);
    ASSERT_TRUE(m_rtf.RtfClose());
    EXPECT_TRUE(Document(path).startsWith(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0\\cpg1252 Times New "
        "Roman}{\\f1\\fnil\\fcharset0\\cpg1252 Arial}}{\\colortbl\\red0\\green0\\blue0;"
        "\\red255\\green0\\blue0;\\red192\\green192\\blue192;\\red255\\green255\\blue255;}"
        "{\\*\\generator"));
}

TEST_F(RtfWriterTest, FormatRecordsShapeParagraphsSectionsAndRows)
{
    const QString path = PathOf("formats.rtf");
    ASSERT_EQ(m_rtf.RtfOpen(path), RtfOk);
    RtfParagraphRecord *p = m_rtf.RtfParagraphFormat();
    p->alignment = 1;
    p->bold = true;
    p->fontSize = 40;
    p->spaceBefore = 120;
    p->tabStop = true;
    p->tabKind = 2;
    p->tabLeader = 1;
    p->tabPosition = 8000;
    p->underline = 6;
    p->breakKind = 1;
    ASSERT_EQ(m_rtf.RtfAddParagraph(QStringLiteral("Label"), true), RtfOk);
    p->continueAfterTab = true;
    ASSERT_EQ(m_rtf.RtfAddParagraph(QStringLiteral("12m"), true), RtfOk);
    *p = RtfParagraphRecord();
    m_rtf.RtfSectionFormat()->breakKind = 2;
    m_rtf.RtfSectionFormat()->columns = true;
    m_rtf.RtfSectionFormat()->columnCount = 2;
    m_rtf.RtfSectionFormat()->lineBetweenColumns = true;
    ASSERT_EQ(m_rtf.RtfBeginSection(), RtfOk);

    m_rtf.RtfTableFormat()->rowAlignment = 1;
    m_rtf.RtfTableFormat()->paddingLeft = 50;
    RtfCellRecord *cell = m_rtf.RtfCellFormat();
    cell->left.on = cell->top.on = true;
    cell->top.style = 3;
    cell->shading = true;
    cell->shadingPattern = 5;
    cell->shadingPercent = 20;
    m_rtf.RtfBeginRow();
    m_rtf.RtfDefineCell(2100);
    p->inTable = true;
    m_rtf.RtfAddParagraph(QStringLiteral("f"), false);
    m_rtf.RtfEndCell();
    m_rtf.RtfEndRow();
    ASSERT_TRUE(m_rtf.RtfClose());

    const QByteArray body =
        Document(path).mid(DefaultHeader.size() + DefaultDocument.size() + DefaultSection.size());
    const QByteArray boldCharacter = QByteArray(DefaultCharacter)
                                         .replace("\\fs24", "\\fs40")
                                         .replace("\\b0", "\\b")
                                         .replace("\\ulnone", "\\uldb");
    const QByteArray expected =
        "\n\\par\\pard\\plain\\page\\qc\\tqr\\tldot\\tx8000\\fi0\\li0\\ri0\\sb120\\sa0\\sl0"
        + boldCharacter + " Label"
        + "\\tab 12m"
          "\n\\sect\\sectd\\sbkpage\\cols2\\colsx720\\linebetcol\\pgwsxn12240\\pghsxn15840"
          "\\marglsxn1800\\margrsxn1800\\margtsxn1440\\margbsxn1440\\guttersxn0\\headery720"
          "\\footery720"
          "\n\\trowd\\trgaph115\\trqc\\trleft0\\trrh0\\trpaddb0\\trpaddfb3\\trpaddl50"
          "\\trpaddfl3\\trpaddr0\\trpaddfr3\\trpaddt0\\trpaddft3"
          "\n\\tcelld\\clvertalc\\cltxlrtb\\clbrdrl\\brdrs\\brdrw5\\brsp0\\brdrcf0"
          "\\clbrdrt\\brdrdb\\brdrw5\\brsp0\\brdrcf0\\clbgcross\\clshdgn20\\clcfpat0"
          "\\clcbpat0\\cellx2100"
          "\n\\pard\\intbl\\ql\\fi0\\li0\\ri0\\sb0\\sa0\\sl0"
        + QByteArray(DefaultCharacter) + " f" + "\n\\cell \n\\trgaph115\\row\\pard\n\\par}";
    EXPECT_EQ(body.toStdString(), expected.toStdString());
}

TEST_F(RtfWriterTest, TextIsEscapedAndWrittenInCodePage1252)
{
    // U+0151 (Hungarian o with double acute) has no place in code page 1252; U+FFFD is written
    // as a negative number, the word's number being signed.
    EXPECT_EQ(RtfWriter::EncodeText(QString::fromUtf8("C:\\dati\\{a}\tvelocit\u00e0 5\u20ac "
                                                      "\u0151\uFFFD")),
        QByteArray("C:\\\\dati\\\\\\{a\\}\\tab velocit\\'e0 5\\'80 \\u337?\\u-3?"));

    // Every character of the basic plane against the C library's converter.
    iconv_t converter = iconv_open("CP1252", "UTF-16LE");
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
    int mismatches = 0;
    for (char32_t code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;
        char in[2] = { static_cast<char>(code & 0xFF), static_cast<char>(code >> 8) };
        char out[4] = {};
        char *inPointer = in;
        char *outPointer = out;
        size_t inLeft = 2;
        size_t outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        const bool converted =
            iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1)
            && outLeft == sizeof out - 1;
        const int expected = converted ? static_cast<unsigned char>(out[0]) : -1;
        if (RtfWriter::CodePage1252(static_cast<char16_t>(code)) != expected && ++mismatches < 5)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(code);
    }
    iconv_close(converter);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(RtfWriterTest, FileNamesAndDescriptionsWithBracesKeepTheDocumentWhole)
{
    const QString path = PathOf("braces.rtf");
    ASSERT_EQ(m_rtf.RtfOpen(path, QStringLiteral("Times New Roman;Ar}ial")), RtfOk);
    m_rtf.RtfAddParagraph(QStringLiteral("C:\\rilievi\\}{prova}.sg2"), true);
    m_rtf.RtfAddParagraph(QString::fromUtf8("Strato {argilla} \\ \u00e8 \u2603"), true);
    ASSERT_TRUE(m_rtf.RtfClose());
    const QByteArray rtf = Document(path);
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_TRUE(rtf.contains("C:\\\\rilievi\\\\\\}\\{prova\\}.sg2"));
    EXPECT_TRUE(rtf.contains("Strato \\{argilla\\} \\\\ \\'e8 \\u9731?"));
}

// A 24-bit bottom-up BMP built byte by byte, its pixel rows padded to four bytes.
QByteArray Bitmap24(int width, int height, const std::function<QRgb(int x, int y)> &pixel,
    int dotsPerMeter, QByteArray *pixelArray)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    QByteArray pixels;
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = pixel(x, y);
            row[3 * x] = char(qBlue(rgb));
            row[3 * x + 1] = char(qGreen(rgb));
            row[3 * x + 2] = char(qRed(rgb));
        }
        pixels += row;
    }
    *pixelArray = pixels;
    QByteArray file(54, '\0');
    auto put32 = [&file](int at, quint32 value) { qToLittleEndian(value, file.data() + at); };
    auto put16 = [&file](int at, quint16 value) { qToLittleEndian(value, file.data() + at); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, 54 + pixels.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, 24);
    put32(34, pixels.size());
    put32(38, dotsPerMeter);
    put32(42, dotsPerMeter);
    return file + pixels;
}

// A GIF of a four-colour palette, built byte by byte. Its LZW stream sends a clear code before
// every two pixels, so the code width never grows (a valid, if wasteful, stream).
QByteArray Gif4(
    int width, int height, const QRgb (&palette)[4], const std::function<int(int, int)> &index)
{
    QByteArray gif("GIF89a");
    auto put16 = [&gif](int value) {
        gif += char(value & 0xFF);
        gif += char(value >> 8);
    };
    put16(width);
    put16(height);
    gif += char(0x81); // global palette of 2^(1+1) entries
    gif += char(0);
    gif += char(0);
    for (QRgb colour : palette) {
        gif += char(qRed(colour));
        gif += char(qGreen(colour));
        gif += char(qBlue(colour));
    }
    gif += ',';
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif += char(0);
    gif += char(2); // minimum code size: clear 4, end 5, codes of 3 bits
    QByteArray data;
    quint32 bits = 0;
    int bitCount = 0;
    auto code = [&](int value) {
        bits |= static_cast<quint32>(value) << bitCount;
        bitCount += 3;
        while (bitCount >= 8) {
            data += char(bits & 0xFF);
            bits >>= 8;
            bitCount -= 8;
        }
    };
    int sent = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sent++ % 2 == 0)
                code(4);
            code(index(x, y));
        }
    }
    code(5);
    if (bitCount > 0)
        data += char(bits & 0xFF);
    for (int at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif += char(block.size());
        gif += block;
    }
    gif += char(0);
    gif += ';';
    return gif;
}

struct Metafile
{
    int windowWidth = -1;
    int windowHeight = -1;
    int destinationWidth = -1;
    int destinationHeight = -1;
    int sourceWidth = -1;
    int sourceHeight = -1;
    int bitCount = -1;
    int dibWidth = -1;
    int dibHeight = -1;
    QByteArray dibPixels;
    bool ended = false;
};

// Reads a metafile record by record; every record must fit and the sizes must agree.
Metafile ParseMetafile(const QByteArray &bytes)
{
    Metafile result;
    auto u16 = [&bytes](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    auto u32 = [&bytes](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    EXPECT_GE(bytes.size(), 18);
    if (bytes.size() < 18)
        return result;
    EXPECT_EQ(u16(2), 9);
    EXPECT_EQ(u16(4), 0x0300);
    EXPECT_EQ(u32(6) * 2, static_cast<quint32>(bytes.size()));
    quint32 largest = 0;
    int at = 18;
    while (at + 6 <= bytes.size()) {
        const quint32 words = u32(at);
        const quint16 function = u16(at + 4);
        EXPECT_GE(words, 3u);
        EXPECT_LE(at + static_cast<qint64>(words) * 2, bytes.size());
        if (words < 3 || at + static_cast<qint64>(words) * 2 > bytes.size())
            break;
        largest = std::max(largest, words);
        if (function == 0x020C) {
            result.windowHeight = static_cast<qint16>(u16(at + 6));
            result.windowWidth = static_cast<qint16>(u16(at + 8));
        } else if (function == 0x0F43) {
            EXPECT_EQ(u32(at + 6), 0x00CC0020u);
            result.sourceHeight = u16(at + 12);
            result.sourceWidth = u16(at + 14);
            result.destinationHeight = u16(at + 20);
            result.destinationWidth = u16(at + 22);
            const int dib = at + 28;
            EXPECT_EQ(u32(dib), 40u);
            result.dibWidth = static_cast<int>(u32(dib + 4));
            result.dibHeight = static_cast<int>(u32(dib + 8));
            result.bitCount = u16(dib + 14);
            result.dibPixels = bytes.mid(dib + 40, at + static_cast<int>(words) * 2 - dib - 40);
        } else if (function == 0x0000) {
            result.ended = true;
            EXPECT_EQ(at + 6, bytes.size()) << "nothing after the end record";
        }
        at += static_cast<int>(words) * 2;
    }
    EXPECT_EQ(u32(12), largest);
    return result;
}

// The picture group of a document: its goal and scale words and its metafile bytes.
QByteArray PictureOf(const QByteArray &rtf, QByteArray *words)
{
    const int start = rtf.indexOf("{\\pict\\wmetafile8");
    if (start < 0)
        return QByteArray();
    const int dataStart = rtf.indexOf('\n', start) + 1;
    const int end = rtf.indexOf('}', dataStart);
    *words = rtf.mid(start, dataStart - start);
    const QByteArray hex = rtf.mid(dataStart, end - dataStart);
    EXPECT_EQ(hex, hex.toLower());
    return QByteArray::fromHex(hex);
}

TEST_F(RtfWriterTest, PictureIsAMetafileWhoseBitmapIsTheFilesPixels)
{
    // Odd width: each row carries a byte of padding.
    QByteArray pixelArray;
    const QByteArray bmp = Bitmap24(
        5, 3, [](int x, int y) { return qRgb(40 * x, 100 * y, 7 + x * y); }, 3780, &pixelArray);
    const QString picture = PathOf("chart.bmp");
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bmp);
    file.close();

    const QString path = PathOf("picture.rtf");
    ASSERT_EQ(m_rtf.RtfOpen(path), RtfOk);
    EXPECT_EQ(m_rtf.RtfAddPicture(picture, 50, 50), RtfOk);
    ASSERT_TRUE(m_rtf.RtfClose());
    const QByteArray rtf = Document(path);
    EXPECT_TRUE(BracesBalanced(rtf));

    QByteArray words;
    const Metafile metafile = ParseMetafile(PictureOf(rtf, &words));
    // 5 pixels at 3780 per metre: 132 hundredths of a millimetre.
    EXPECT_EQ(words, "{\\pict\\wmetafile8\\picwgoal132\\pichgoal79\\picscalex50\\picscaley50\n");
    EXPECT_EQ(metafile.windowWidth, 5);
    EXPECT_EQ(metafile.windowHeight, 3);
    EXPECT_EQ(metafile.destinationWidth, 5);
    EXPECT_EQ(metafile.destinationHeight, 3);
    EXPECT_EQ(metafile.sourceWidth, 5);
    EXPECT_EQ(metafile.sourceHeight, 3);
    EXPECT_EQ(metafile.dibWidth, 5);
    EXPECT_EQ(metafile.dibHeight, 3);
    EXPECT_EQ(metafile.bitCount, 24);
    EXPECT_EQ(metafile.dibPixels, pixelArray);
    EXPECT_TRUE(metafile.ended);
    // The picture's paragraph comes first, with the current format and no text.
    EXPECT_TRUE(rtf.contains(DefaultCharacter + " \n{\\pict"));
}

TEST_F(RtfWriterTest, GifAndJpegPicturesAreDecodedAndOtherFormatsRefused)
{
    // Two flat colours: the GIF keeps them exactly, the JPEG within its loss.
    const QRgb palette[4] = { qRgb(200, 30, 30), qRgb(20, 40, 220), qRgb(0, 0, 0),
        qRgb(255, 255, 255) };
    QImage image(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, palette[x < 32 ? 0 : 1]);
    const QString gif = PathOf("a.gif");
    const QString jpg = PathOf("a.jpg");
    QFile gifFile(gif);
    ASSERT_TRUE(gifFile.open(QIODevice::WriteOnly));
    gifFile.write(Gif4(64, 32, palette, [](int x, int) { return x < 32 ? 0 : 1; }));
    gifFile.close();
    ASSERT_TRUE(image.save(jpg, "JPG", 95));
    const QString png = PathOf("a.png");
    ASSERT_TRUE(image.save(png, "PNG"));
    const QString broken = PathOf("broken.bmp");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM this is no bitmap");
    file.close();

    for (const QString &picture : { gif, jpg }) {
        const QString path = picture + QStringLiteral(".rtf");
        ASSERT_EQ(m_rtf.RtfOpen(path), RtfOk);
        EXPECT_EQ(m_rtf.RtfAddPicture(picture, 100, 100), RtfOk);
        ASSERT_TRUE(m_rtf.RtfClose());
        QByteArray words;
        const Metafile metafile = ParseMetafile(PictureOf(Document(path), &words));
        ASSERT_EQ(metafile.dibWidth, 64);
        ASSERT_EQ(metafile.dibHeight, 32);
        const int stride = 64 * 3;
        // Bottom-up rows: row 0 of the DIB is the picture's last row.
        for (const auto &[x, colour] :
            { std::pair(5, image.pixel(5, 31)), std::pair(50, image.pixel(50, 31)) }) {
            const auto *bgr = reinterpret_cast<const unsigned char *>(
                metafile.dibPixels.constData() + 10 * stride + 3 * x);
            EXPECT_NEAR(bgr[2], qRed(colour), 6) << picture.toStdString();
            EXPECT_NEAR(bgr[1], qGreen(colour), 6) << picture.toStdString();
            EXPECT_NEAR(bgr[0], qBlue(colour), 6) << picture.toStdString();
        }
    }

    const QString path = PathOf("refused.rtf");
    ASSERT_EQ(m_rtf.RtfOpen(path), RtfOk);
    EXPECT_EQ(m_rtf.RtfAddPicture(png, 50, 50), RtfOk);
    EXPECT_EQ(m_rtf.RtfAddPicture(broken, 50, 50), RtfPictureUndecodable);
    EXPECT_EQ(m_rtf.RtfAddPicture(PathOf("missing.jpg"), 50, 50), RtfPictureUndecodable);
    ASSERT_TRUE(m_rtf.RtfClose());
    EXPECT_EQ(Document(path),
        DefaultHeader + DefaultDocument + DefaultSection
            + "\n\\par\\pard *** Error! Wrong image format ***\\par\n\\par}");
}

TEST_F(RtfWriterTest, ADocumentThatCannotBeWrittenWhollyLeavesNothingUnderItsName)
{
    EXPECT_EQ(m_rtf.RtfOpen(PathOf("no such folder/report.rtf")), RtfCannotCreate);
    EXPECT_FALSE(m_rtf.IsOpen());

    // An earlier report under the chosen name stays as it was.
    const QString path = PathOf("full.rtf");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier report");
    earlier.close();
    QImage image(640, 640, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString picture = PathOf("big.bmp");
    ASSERT_TRUE(image.save(picture, "BMP"));

    // A file size limit stands in for a full disk: writes beyond it fail with EFBIG.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 256 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int opened = m_rtf.RtfOpen(path);
    m_rtf.RtfAddParagraph(QStringLiteral("Traces file name"), true);
    m_rtf.RtfAddPicture(picture, 50, 50);
    m_rtf.RtfAddPicture(picture, 50, 50);
    const bool closed = m_rtf.RtfClose();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(opened, RtfOk);
    EXPECT_FALSE(closed);
    EXPECT_EQ(ReadAll(path), QByteArray("earlier report"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

} // namespace

int main(int argc, char **argv)
{
    // Image decoders other than the built-in bitmap one are plugins, found through the
    // application object.
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
