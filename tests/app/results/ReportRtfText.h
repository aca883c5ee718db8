// What a reader of an RTF document sees, paragraph by paragraph: a small reader written for the
// tests, independent of the writer, that follows groups, control words and escapes.
#ifndef VELA_TESTS_APP_RESULTS_REPORTRTFTEXT_H
#define VELA_TESTS_APP_RESULTS_REPORTRTFTEXT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <iconv.h>
#include <ostream>

/// Readable failure messages for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

/// One paragraph as shown: its text (tabs as "\t", table cells ended by "|"), and the format in
/// force when it ended.
struct RtfShownParagraph
{
    QString text;
    bool centred = false;
    bool bold = false;
    int fontSize = 24;
    bool pageBreak = false; ///< a new page begins with the paragraph (or a section it opens)
    bool inTable = false;
};

/// A document's pictures: the hex of each \pict group, and the paragraphs.
struct RtfShownDocument
{
    QList<RtfShownParagraph> paragraphs;
    QList<QByteArray> pictureHex;
    bool wellFormed = true; ///< braces balanced, nothing after the document's group

    /// The texts of the paragraphs, for comparing whole stretches of a document.
    QStringList Texts() const
    {
        QStringList texts;
        for (const RtfShownParagraph &p : paragraphs)
            texts.append(p.text);
        return texts;
    }
    /// Index of the first paragraph with this text, -1 when none.
    int Find(const QString &text) const { return Texts().indexOf(text); }
    /// Whether a new page begins after paragraph `from` and no later than paragraph `to`.
    bool PageBreakBetween(int from, int to) const
    {
        for (int index = from + 1; index <= to && index < paragraphs.size(); ++index) {
            if (paragraphs[index].pageBreak)
                return true;
        }
        return false;
    }
};

inline QChar RtfCodePageCharacter(unsigned char byte)
{
    iconv_t converter = iconv_open("UTF-16LE", "CP1252");
    char in[1] = { static_cast<char>(byte) };
    char out[4] = {};
    char *inPointer = in;
    char *outPointer = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const bool ok =
        iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1);
    iconv_close(converter);
    if (!ok)
        return QChar(0xFFFD);
    return QChar(static_cast<char16_t>(
        static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8)));
}

inline RtfShownDocument ReadRtf(const QByteArray &rtf)
{
    RtfShownDocument document;
    RtfShownParagraph current;
    struct Group
    {
        bool skip = false;
        bool picture = false;
    };
    QList<Group> groups;
    bool closedDocument = false;
    auto skipping = [&groups]() { return !groups.isEmpty() && groups.last().skip; };
    auto push = [&]() {
        document.paragraphs.append(current);
        current.text.clear();
        current.pageBreak = false;
    };
    int i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (closedDocument && c != '\r' && c != '\n') {
            document.wellFormed = false;
            break;
        }
        if (c == '{') {
            Group group;
            group.skip = skipping();
            groups.append(group);
            ++i;
            continue;
        }
        if (c == '}') {
            if (groups.isEmpty()) {
                document.wellFormed = false;
                break;
            }
            groups.removeLast();
            if (groups.isEmpty())
                closedDocument = true;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (!groups.isEmpty() && groups.last().picture) {
                document.pictureHex.last() += c;
            } else if (!skipping()) {
                current.text += QChar(static_cast<unsigned char>(c));
            }
            ++i;
            continue;
        }
        // A control symbol or word.
        const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            if (!skipping())
                current.text += QLatin1Char(next);
            i += 2;
            continue;
        }
        if (next == '\'') {
            const int byte = rtf.mid(i + 2, 2).toInt(nullptr, 16);
            if (!skipping())
                current.text += RtfCodePageCharacter(static_cast<unsigned char>(byte));
            i += 4;
            continue;
        }
        if (next == '*') {
            groups.last().skip = true;
            i += 2;
            continue;
        }
        int end = i + 1;
        while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
            ++end;
        const QByteArray word = rtf.mid(i + 1, end - i - 1);
        int numberEnd = end;
        if (numberEnd < rtf.size() && rtf[numberEnd] == '-')
            ++numberEnd;
        while (numberEnd < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[numberEnd])))
            ++numberEnd;
        const QByteArray numberText = rtf.mid(end, numberEnd - end);
        const bool hasNumber = !numberText.isEmpty();
        const int number = numberText.toInt();
        i = numberEnd;
        if (i < rtf.size() && rtf[i] == ' ')
            ++i;
        if (word == "fonttbl" || word == "colortbl" || word == "info") {
            groups.last().skip = true;
        } else if (word == "pict") {
            groups.last().skip = true;
            groups.last().picture = true;
            document.pictureHex.append(QByteArray());
        }
        if (skipping())
            continue;
        if (word == "par" || word == "row" || word == "sect") {
            push();
        } else if (word == "pard" || word == "plain") {
            current.centred = false;
            if (word == "plain") {
                current.bold = false;
                current.fontSize = 24;
            }
            if (word == "pard")
                current.inTable = false;
        } else if (word == "qc") {
            current.centred = true;
        } else if (word == "b") {
            current.bold = !hasNumber || number != 0;
        } else if (word == "fs") {
            current.fontSize = number;
        } else if (word == "tab") {
            current.text += QLatin1Char('\t');
        } else if (word == "line") {
            current.text += QLatin1Char('\n');
        } else if (word == "cell") {
            current.text += QLatin1Char('|');
        } else if (word == "intbl") {
            current.inTable = true;
        } else if (word == "page" || word == "sbkpage") {
            current.pageBreak = true;
        } else if (word == "u") {
            current.text += QChar(static_cast<char16_t>(static_cast<int16_t>(number)));
            // The one fallback character after it is for readers without Unicode.
            if (i < rtf.size())
                ++i;
        }
    }
    if (!groups.isEmpty())
        document.wellFormed = false;
    if (!current.text.isEmpty())
        push();
    return document;
}

#endif // VELA_TESTS_APP_RESULTS_REPORTRTFTEXT_H
