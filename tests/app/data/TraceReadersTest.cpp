// The six trace readers on files assembled byte by byte from the published layouts, on files
// written by independent tools (segyio), and on real field records.
#include "app/data/TraceReaders.h"
#include "tests/app/data/TraceFileBuilders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

QByteArray Int16Data(const std::vector<int> &values)
{
    Bytes b;
    for (int v : values)
        b.I16(v);
    return b.data;
}

Seg2Trace Trace(int code, uint32_t samples, const QByteArray &data,
    std::vector<std::string> strings = { "SAMPLE_INTERVAL 0.0005" })
{
    Seg2Trace t;
    t.code = code;
    t.samples = samples;
    t.data = data;
    t.strings = std::move(strings);
    return t;
}

std::vector<double> Column(const TraceReadResult &r, int trace)
{
    std::vector<double> column;
    for (int s = 0; s < r.samples; ++s)
        column.push_back(r.At(s, trace));
    return column;
}

QString RealWorld(const QString &relative)
{
    return QStringLiteral(VELA_REALWORLD_DIR "/") + relative;
}

#define REQUIRE_REALWORLD(path)                                                                    \
    if (!QFileInfo::exists(path))                                                                  \
    GTEST_SKIP() << "real field records not present: " << qPrintable(path)

} // namespace

// ---- selection by extension -------------------------------------------------------------

TEST(TraceReaderSelection, ExtensionDecidesTheReaderInAnyLetterCase)
{
    const struct
    {
        const char *path;
        TraceFormat format;
    } cases[] = {
        { "a.txt", TraceFormat::Text },
        { "a.TXT", TraceFormat::Text },
        { "a.seg2", TraceFormat::Seg2 },
        { "a.Sg2", TraceFormat::Seg2 },
        { "a.DAT", TraceFormat::Seg2 },
        { "a.sgy", TraceFormat::Segy },
        { "a.SEGY", TraceFormat::Segy },
        { "a.su", TraceFormat::Su },
        { "a.xls", TraceFormat::Excel },
        { "a.drm", TraceFormat::Drm },
        { "a.csv", TraceFormat::Unknown },
        { "noextension", TraceFormat::Unknown },
        { "dir.sgy/a.seg", TraceFormat::Unknown },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(TraceFormatForPath(QString::fromLatin1(c.path)), c.format);
    }
}

TEST(TraceReaderSelection, MissingFileFailsWithCouldNotOpen)
{
    const TraceReadResult r = ReadTraceFile(QStringLiteral("/nonexistent/dir/shot.sg2"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Couldn't open source file"));
}

TEST(TraceReaderSelection, UnknownExtensionFailsWithoutReading)
{
    const TraceReadResult r = ReadTraceFile(QStringLiteral("shot.csv"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detail.isEmpty());
}

// ---- text ----------------------------------------------------------------------------------

TEST(TextReader, CommentsSkippedAndDecimalCommasRead)
{
    const TraceReadResult r = ReadTextTraces("% shot 1, sledgehammer\n"
                                             "0,000 1,5 -2\n"
                                             "\n"
                                             "  0,002\t2,5 -3  \r\n"
                                             "% a comment in the middle\n"
                                             "0,004 3,5 -4\n");
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(r.samples, 3);
    EXPECT_EQ(r.traces, 2);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 1.5, 2.5, 3.5 }));
    EXPECT_EQ(Column(r, 1), (std::vector<double> { -2, -3, -4 }));
    ASSERT_TRUE(r.hasTimeStep);
    EXPECT_NEAR(r.timeStepMs, 2.0, 1e-12);
}

TEST(TextReader, TimeStepComesFromSecondAndThirdTimes)
{
    const TraceReadResult r = ReadTextTraces("0 1\n0.010 2\n0.0105 3\n0.0110 4\n");
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.timeStepMs, 0.5, 1e-12);
}

TEST(TextReader, ExtraNumbersBeyondFirstRowAreDropped)
{
    const TraceReadResult r = ReadTextTraces("0 1 2\n0.001 3 4 99 98\n0.002 5 6 7\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.traces, 2);
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 2, 4, 6 }));
}

TEST(TextReader, RefusesBadFiles)
{
    const struct
    {
        const char *name;
        const char *text;
    } cases[] = {
        { "row with fewer numbers", "0 1 2\n0.001 3\n0.002 5 6\n" },
        { "number interrupted by text", "0 1 2\n0.001 3 x 4\n0.002 5 6\n" },
        { "only a time column", "0\n0.001\n0.002\n" },
        { "comments only", "% nothing\n%\n" },
        { "empty file", "" },
        { "too few rows for a time step", "0 1 2\n0.001 3 4\n" },
        { "binary garbage", "\x01\x02\xff\xfe" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TraceReadResult r = ReadTextTraces(QByteArray(c.text));
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.detail.isEmpty());
    }
}

// ---- SEG-2 -------------------------------------------------------------------------------

TEST(Seg2Reader, DecodesEveryDataFormatCode)
{
    Bytes int32, float32, float64;
    int32.I32(-70000).I32(5).I32(2147483647).I32(-2147483647 - 1);
    float32.F32(0.25f).F32(-1.5e-7f).F32(3.0e6f).F32(-0.0f);
    float64.F64(1.0 / 3.0).F64(-2.5e-300).F64(12345.678).F64(0.0);
    const QByteArray file = Seg2File({
        Trace(1, 4, Int16Data({ -32768, -1, 0, 32767 })),
        Trace(2, 4, int32.data),
        Trace(4, 4, float32.data),
        Trace(5, 4, float64.data),
    });
    const TraceReadResult r = ReadSeg2Traces(file);
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    ASSERT_EQ(r.traces, 4);
    ASSERT_EQ(r.samples, 4);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { -32768, -1, 0, 32767 }));
    EXPECT_EQ(Column(r, 1), (std::vector<double> { -70000, 5, 2147483647, -2147483648.0 }));
    EXPECT_EQ(Column(r, 2), (std::vector<double> { 0.25, double(-1.5e-7f), 3.0e6, 0.0 }));
    EXPECT_EQ(Column(r, 3), (std::vector<double> { 1.0 / 3.0, -2.5e-300, 12345.678, 0.0 }));
    ASSERT_TRUE(r.hasTimeStep);
    EXPECT_DOUBLE_EQ(r.timeStepMs, 0.5);
}

TEST(Seg2Reader, Code3ExponentWord3210ScalesByOneTwoFourEight)
{
    // Positive mantissas are plain; negative ones are one's complement, so -1 reads as 0
    // and -100 as -99 before scaling.
    Bytes group;
    group.U16(0x3210).I16(100).I16(100).I16(100).I16(100);
    group.U16(0x3210).I16(-100).I16(-1).I16(7).I16(-7);
    const TraceReadResult r = ReadSeg2Traces(Seg2File({ Trace(3, 8, group.data) }));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 100, 200, 400, 800, -99, 0, 28, -48 }));
}

TEST(Seg2Reader, Code3PartialLastGroupIsRead)
{
    Bytes group;
    group.U16(0x0001).I16(3).I16(4).I16(5).I16(6);
    group.U16(0x0000).I16(9).I16(0).I16(0).I16(0); // stored whole, one sample used
    const TraceReadResult r = ReadSeg2Traces(Seg2File({ Trace(3, 5, group.data) }));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 6, 4, 5, 6, 9 }));
}

TEST(Seg2Reader, KeepsTimeStepUnsetWithoutSampleIntervalKeyword)
{
    const TraceReadResult r =
        ReadSeg2Traces(Seg2File({ Trace(1, 2, Int16Data({ 1, 2 }), { "CHANNEL_NUMBER 1" }) }));
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.hasTimeStep);
}

TEST(Seg2Reader, FindsKeywordAfterOtherStringsAndTakesItsFirstNumber)
{
    const TraceReadResult r = ReadSeg2Traces(Seg2File({ Trace(1, 2, Int16Data({ 1, 2 }),
        { "CHANNEL_NUMBER 1", "SAMPLE_INTERVALS 9", "SAMPLE_INTERVAL  2.5E-4 extra" }) }));
    ASSERT_TRUE(r.ok);
    ASSERT_TRUE(r.hasTimeStep);
    EXPECT_DOUBLE_EQ(r.timeStepMs, 0.25);
}

TEST(Seg2Reader, UsesEachTracesOwnDescriptorSize)
{
    // A longer string list makes the second descriptor block 8 bytes larger.
    const TraceReadResult r = ReadSeg2Traces(Seg2File({
        Trace(1, 2, Int16Data({ 11, 12 })),
        Trace(1, 2, Int16Data({ 21, 22 }), { "SAMPLE_INTERVAL 0.0005", "NOTE 12345" }),
    }));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 21, 22 }));
}

TEST(Seg2Reader, TraceLongerOrShorterThanFirstIsFittedToTheRecord)
{
    const TraceReadResult r = ReadSeg2Traces(Seg2File({
        Trace(1, 3, Int16Data({ 1, 2, 3 })),
        Trace(1, 5, Int16Data({ 4, 5, 6, 7, 8 })),
        Trace(1, 1, Int16Data({ 9 })),
    }));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.samples, 3);
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 4, 5, 6 }));
    EXPECT_EQ(Column(r, 2), (std::vector<double> { 9, 0, 0 }));
}

TEST(Seg2Reader, UnknownFormatCodeLeavesColumnZero)
{
    const TraceReadResult r = ReadSeg2Traces(Seg2File({
        Trace(1, 2, Int16Data({ 1, 2 })),
        Trace(7, 2, QByteArray(8, '\x7f')),
    }));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 0, 0 }));
}

TEST(Seg2Reader, RefusesDamagedFiles)
{
    const QByteArray good = Seg2File({ Trace(1, 2, Int16Data({ 1, 2 })) });
    QByteArray noId = good;
    noId[0] = 'X';
    QByteArray noTraces = good;
    noTraces[6] = 0;
    QByteArray pointerOutside = good;
    pointerOutside[32] = char(0xF0);
    pointerOutside[33] = char(0xFF);
    QByteArray hugeCount = good;
    const int firstDescriptor = int(uint8_t(good[32])) | int(uint8_t(good[33])) << 8;
    hugeCount[firstDescriptor + 8] = char(0xFF);
    hugeCount[firstDescriptor + 11] = char(0x7F);
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "no block identifier", noId },
        { "no traces", noTraces },
        { "pointer outside the file", pointerOutside },
        { "sample count larger than the file", hugeCount },
        { "cut inside the samples", good.left(good.size() - 1) },
        { "empty", QByteArray() },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TraceReadResult r = ReadSeg2Traces(c.bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.detail.isEmpty());
    }
}

// ---- SEG-Y ---------------------------------------------------------------------------------

TEST(SegyReader, DecodesIbmFloatsBigEndian)
{
    // IBM hexadecimal floats: 0x41100000 = 1, 0xC276A000 = -118.625, 0x40800000 = 0.5,
    // 0x00000000 = 0, 0x3F100000 = 16^-2 (1/256).
    const TraceReadResult r = ReadSegyTraces(SegyFile(
        2000, 3, 1, { { 0x41100000, 0xC276A000, 0x40800000 }, { 0, 0x3F100000, 0xC1100000 } }));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(r.traces, 2);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 1.0, -118.625, 0.5 }));
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 0.0, 1.0 / 256.0, -1.0 }));
    EXPECT_DOUBLE_EQ(r.timeStepMs, 2.0);
}

TEST(SegyReader, DecodesIeeeFloatsBigEndian)
{
    const TraceReadResult r =
        ReadSegyTraces(SegyFile(250, 2, 5, { { 0x3F800000, 0xC0490FDB } })); // 1, -pi
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 1.0, double(-3.14159265f) }));
    EXPECT_DOUBLE_EQ(r.timeStepMs, 0.25);
}

TEST(SegyReader, RefusesOtherFormatCodesWithTheCompatibilityMessage)
{
    for (uint16_t format : { 2, 3, 8, 0 }) {
        SCOPED_TRACE(format);
        const TraceReadResult r = ReadSegyTraces(SegyFile(1000, 1, format, { { 1 } }));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, QStringLiteral("This SEGY file uses a not compatible format"));
    }
}

TEST(SegyReader, CutShortIsUnexpectedEnd)
{
    const QByteArray full = SegyFile(1000, 4, 5, { { 1, 2, 3, 4 }, { 5, 6, 7, 8 } });
    for (qsizetype cut :
        { qsizetype(100), qsizetype(3599), full.size() - 1, full.size() - 16 - 4 }) {
        SCOPED_TRACE(cut);
        const TraceReadResult r = ReadSegyTraces(full.left(cut));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, QStringLiteral("Unexpected end of SEGY file"));
    }
    // Fewer than 12 bytes of a further trace header do not count as a trace.
    const TraceReadResult r = ReadSegyTraces(full + QByteArray(11, '\0'));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.traces, 2);
}

TEST(SegyReader, ReadsFileWrittenBySegyio)
{
    const char *python = "/usr/bin/python3";
    if (std::system("/usr/bin/python3 -c 'import segyio' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-segyio not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int format : { 1, 5 }) {
        SCOPED_TRACE(format);
        const QString path = dir.filePath(QStringLiteral("segyio_%1.sgy").arg(format));
        std::ostringstream script;
        // segyio takes any object with the layout's attributes.
        script << "import numpy as np, segyio, types\n"
               << "layout = types.SimpleNamespace(ilines=[1], xlines=list(range(1, 7)),\n"
               << "    offsets=[1], sorting=2, samples=list(range(50)), format=" << format
               << ",\n    iline=189, xline=193, endian='big')\n"
               << "with segyio.create('" << path.toStdString() << "', layout) as f:\n"
               << "    for i in range(6):\n"
               << "        f.header[i] = {segyio.su.offset: i + 1}\n"
               << "        f.trace[i] = (np.arange(50, dtype=np.float32) * 0.5 - 7.25) * (i + 1)\n"
               << "    f.bin.update(hdt=500, hns=50)\n";
        const QString scriptPath = dir.filePath(QStringLiteral("make.py"));
        std::ofstream(scriptPath.toStdString()) << script.str();
        ASSERT_EQ(std::system((std::string(python) + " " + scriptPath.toStdString()).c_str()), 0);
        const TraceReadResult r = ReadTraceFile(path);
        ASSERT_TRUE(r.ok) << qPrintable(r.detail);
        EXPECT_EQ(r.traces, 6);
        EXPECT_EQ(r.samples, 50);
        EXPECT_DOUBLE_EQ(r.timeStepMs, 0.5);
        for (int t = 0; t < 6; ++t) {
            for (int s = 0; s < 50; ++s)
                ASSERT_EQ(r.At(s, t), (s * 0.5 - 7.25) * (t + 1))
                    << "trace " << t << " sample " << s;
        }
    }
}

// ---- SU ------------------------------------------------------------------------------------

TEST(SuReader, ReadsLittleEndianTracesAndGivesNoTimeStep)
{
    const TraceReadResult r = ReadSuTraces(SuFile(false, { { 1.5f, -2.0f }, { 3.0f, 4.25f } }));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.traces, 2);
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 3.0, 4.25 }));
    EXPECT_FALSE(r.hasTimeStep);
}

TEST(SuReader, ReadsBigEndianWhenOnlyThatFits)
{
    const TraceReadResult r =
        ReadSuTraces(SuFile(true, { { 1.5f, -2.0f, 8.0f }, { 3.0f, 4.25f, -0.5f } }));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(r.samples, 3);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 1.5, -2.0, 8.0 }));
    EXPECT_EQ(Column(r, 1), (std::vector<double> { 3.0, 4.25, -0.5 }));
}

TEST(SuReader, RefusesFilesThatAreNotWholeTraces)
{
    const QByteArray good = SuFile(false, { { 1, 2 }, { 3, 4 } });
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "one byte longer", good + QByteArray(1, '\0') },
        { "one byte shorter", good.left(good.size() - 1) },
        { "zero samples", SuFile(false, { {} }) },
        { "shorter than a header", good.left(100) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadSuTraces(c.bytes).ok);
    }
}

// Writes a 16- or 32-bit field into the header of trace `trace` of an SU/SEG-Y byte image.
void PutField(QByteArray &file, qsizetype traceStart, int at, int size, int32_t value, bool big)
{
    for (int i = 0; i < size; ++i)
        file[traceStart + at + (big ? i : size - 1 - i)] =
            char((uint32_t(value) >> (8 * (size - 1 - i))) & 0xFF);
}

TEST(SuReader, TakesIntervalPositionsAndDelayFromTheTraceHeadersInEitherByteOrder)
{
    for (bool big : { false, true }) {
        SCOPED_TRACE(big ? "big-endian" : "little-endian");
        QByteArray file = SuFile(big, { { 1, 2 }, { 3, 4 }, { 5, 6 } });
        const qsizetype traceLength = 240 + 8;
        for (int t = 0; t < 3; ++t) {
            const qsizetype start = t * traceLength;
            PutField(file, start, 116, 2, 500, big); // 500 us
            PutField(file, start, 70, 2, -100, big); // coordinates in centimetres
            PutField(file, start, 72, 4, -1000, big); // source at -10 m
            PutField(file, start, 80, 4, 250 * t, big); // receivers at 0, 2.5, 5 m
            PutField(file, start, 108, 2, -20, big); // recording began 20 ms before the shot
        }
        const TraceReadResult r = ReadSuTraces(file);
        ASSERT_TRUE(r.ok) << qPrintable(r.detail);
        ASSERT_TRUE(r.hasTimeStep);
        EXPECT_DOUBLE_EQ(r.timeStepMs, 0.5);
        ASSERT_TRUE(r.geometry.hasSpacing);
        EXPECT_DOUBLE_EQ(r.geometry.spacingM, 2.5);
        double offset = 0.0;
        ASSERT_TRUE(r.geometry.SourceOffset(false, offset));
        EXPECT_DOUBLE_EQ(offset, 10.0);
        ASSERT_TRUE(r.geometry.SourceOffset(true, offset));
        EXPECT_DOUBLE_EQ(offset, 15.0);
        EXPECT_TRUE(r.geometry.hasDelay);
        EXPECT_DOUBLE_EQ(r.geometry.delayMs, -20.0);

        // Uneven receivers keep the defaults: no spacing and no offset.
        PutField(file, traceLength, 80, 4, 300, big);
        const TraceReadResult uneven = ReadSuTraces(file);
        EXPECT_FALSE(uneven.geometry.hasSpacing);
        EXPECT_FALSE(uneven.geometry.SourceOffset(false, offset));
    }
    // Headers without coordinates, interval or delay state nothing.
    const TraceReadResult plain = ReadSuTraces(SuFile(false, { { 1, 2 }, { 3, 4 } }));
    EXPECT_FALSE(plain.hasTimeStep || plain.geometry.hasSpacing || plain.geometry.hasSource
        || plain.geometry.hasDelay);
}

TEST(SegyReader, TakesPositionsFromOffsetsWhenNoCoordinateIsSet)
{
    QByteArray file = SegyFile(1000, 1, 5, { { 0 }, { 0 }, { 0 } });
    for (int t = 0; t < 3; ++t)
        PutField(file, 3600 + t * 244, 36, 4, 4 + 2 * t, true); // offsets 4, 6, 8 m
    const TraceReadResult r = ReadSegyTraces(file);
    ASSERT_TRUE(r.ok);
    EXPECT_DOUBLE_EQ(r.geometry.spacingM, 2.0);
    double offset = 0.0;
    ASSERT_TRUE(r.geometry.SourceOffset(false, offset));
    EXPECT_DOUBLE_EQ(offset, 4.0);
    EXPECT_FALSE(r.geometry.hasDelay);
}

TEST(Seg2Reader, ReceiverAndSourceLocationsAndDelayComeFromTheDescriptors)
{
    auto traces = [](const std::vector<std::string> &receivers, const std::string &first) {
        std::vector<Seg2Trace> list;
        for (size_t i = 0; i < receivers.size(); ++i) {
            std::vector<std::string> strings = { "NOTE shot DELAY 9 SOURCE_LOCATION 99",
                "SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION " + receivers[i] + " 0.0 0.0" };
            if (i == 0 && !first.empty())
                strings.push_back(first);
            list.push_back(Trace(4, 2, Bytes().F32(1).F32(2).data, strings));
        }
        return list;
    };
    const TraceReadResult r =
        ReadSeg2Traces(Seg2File(traces({ "0.00", "1.50", "3.00", "4.50" }, "SOURCE_LOCATION 7.5")));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    ASSERT_TRUE(r.geometry.hasSpacing);
    EXPECT_DOUBLE_EQ(r.geometry.spacingM, 1.5);
    double offset = 0.0;
    ASSERT_TRUE(r.geometry.SourceOffset(false, offset));
    EXPECT_DOUBLE_EQ(offset, 7.5);
    ASSERT_TRUE(r.geometry.SourceOffset(true, offset));
    EXPECT_DOUBLE_EQ(offset, 3.0);
    // Words inside another string (the NOTE) are not keywords.
    EXPECT_FALSE(r.geometry.hasDelay);

    const TraceReadResult delayed = ReadSeg2Traces(Seg2File(traces({ "0", "2" }, "DELAY -0.25")));
    ASSERT_TRUE(delayed.geometry.hasDelay);
    EXPECT_DOUBLE_EQ(delayed.geometry.delayMs, -250.0);
    EXPECT_FALSE(delayed.geometry.hasSource);

    // Uneven receivers, or a trace without its location, leave the spacing unknown.
    EXPECT_FALSE(ReadSeg2Traces(Seg2File(traces({ "0", "2", "5" }, ""))).geometry.hasSpacing);
    std::vector<Seg2Trace> missing = traces({ "0", "2", "4" }, "");
    missing[1].strings.pop_back();
    EXPECT_FALSE(ReadSeg2Traces(Seg2File(missing)).geometry.hasSpacing);
}

// ---- DRM -----------------------------------------------------------------------------------

TEST(DrmReader, ChannelsGainsInversionAndDisabledChannels)
{
    const TraceReadResult r = ReadDrmTraces(
        DrmFile({ "Numero campioni=2", "Numero canali=3", "SPS=1000", "canale=1", "guadagno=2",
                    "canale=2", "invertito=si", "canale=3", "abilitato=falso" },
            { 10, -20, 5, 7 }));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(r.traces, 3);
    EXPECT_EQ(Column(r, 0), (std::vector<double> { 20, -40 }));
    EXPECT_EQ(Column(r, 1), (std::vector<double> { -5, -7 }));
    EXPECT_EQ(Column(r, 2), (std::vector<double> { 0, 0 }));
    EXPECT_DOUBLE_EQ(r.timeStepMs, 1.0);
}

TEST(DrmReader, ZeroOrAbsentSpsMeansTwoMilliseconds)
{
    for (const char *sps : { "sps=0", "sps=", "sps=x" }) {
        SCOPED_TRACE(sps);
        const TraceReadResult r =
            ReadDrmTraces(DrmFile({ "numero campioni=1", "numero canali=1", sps }, { 3 }));
        ASSERT_TRUE(r.ok);
        EXPECT_DOUBLE_EQ(r.timeStepMs, 2.0);
    }
}

TEST(DrmReader, ChannelCountResetsEarlierChannelDescriptions)
{
    const TraceReadResult r = ReadDrmTraces(
        DrmFile({ "canale=1", "guadagno=9", "numero canali=1", "numero campioni=1" }, { 4 }));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.At(0, 0), 4.0);
}

TEST(DrmReader, RefusesBadHeadersAndShortData)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "line without =", DrmFile({ "numero campioni=1", "garbage", "numero canali=1" }, { 1 }) },
        { "line starting with =", DrmFile({ "=1", "numero canali=1" }, { 1 }) },
        { "data cut short", DrmFile({ "numero campioni=3", "numero canali=1" }, { 1, 2 }) },
        { "no channels", DrmFile({ "numero campioni=3" }, { 1, 2, 3 }) },
        { "more than 512 channels", DrmFile({ "numero campioni=1", "numero canali=513" }, {}) },
        { "header only", QByteArray("numero campioni=1\r\nnumero canali=1\r\n") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TraceReadResult r = ReadDrmTraces(c.bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.detail.isEmpty());
    }
}

// ---- real field records ----------------------------------------------------------------

namespace {

std::vector<std::vector<double>> ReadColumns(const QString &path)
{
    std::vector<std::vector<double>> rows;
    std::ifstream in(path.toStdString());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<double> row;
        double v;
        while (fields >> v)
            row.push_back(v);
        if (!row.empty())
            rows.push_back(row);
    }
    return rows;
}

// Largest deviation of `reference` from factor * `raw`, with the factor fitted by least
// squares: 0 up to the reference's own rounding when the two are proportional.
double ProportionalMisfit(const std::vector<double> &raw, const std::vector<double> &reference)
{
    double rr = 0.0, rf = 0.0;
    for (size_t i = 0; i < raw.size(); ++i) {
        rr += raw[i] * raw[i];
        rf += raw[i] * reference[i];
    }
    const double factor = rf / rr;
    double worst = 0.0;
    for (size_t i = 0; i < raw.size(); ++i)
        worst = std::max(worst, std::fabs(reference[i] - factor * raw[i]));
    return worst;
}

} // namespace

TEST(RealRecords, SmartSeisCode3MatchesTheInstrumentsAsciiExport)
{
    const QString path = RealWorld("seg2/smartseis_20180307_031245000.0.seg2");
    REQUIRE_REALWORLD(path);
    const TraceReadResult r = ReadTraceFile(path);
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    ASSERT_EQ(r.traces, 1);
    ASSERT_EQ(r.samples, 2048);
    EXPECT_DOUBLE_EQ(r.timeStepMs, 0.125);
    const auto reference =
        ReadColumns(RealWorld("reference/obspy_seg2/20180307_031245000.0.reference.asc"));
    ASSERT_EQ(reference.size(), 2048u);
    std::vector<double> ref;
    for (const auto &row : reference)
        ref.push_back(row[0]);
    // The export is the samples times DESCALING_FACTOR 0.001199, written with 18 digits: a
    // two's-complement reading of the negative mantissas would be off by 0.001199 * 2^e,
    // far above the tolerance.
    EXPECT_LT(ProportionalMisfit(Column(r, 0), ref), 1e-9);
    EXPECT_NEAR(ref[0] / r.At(0, 0), 0.001199, 1e-12);
}

TEST(RealRecords, DmtVipaCode2MatchesItsAsciiExportPerChannel)
{
    const QString path = RealWorld("seg2/dmtvipa_20130107_103041000.CET.3c.cont.0.seg2");
    REQUIRE_REALWORLD(path);
    const TraceReadResult r = ReadTraceFile(path);
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    ASSERT_EQ(r.traces, 3);
    ASSERT_EQ(r.samples, 2000);
    EXPECT_DOUBLE_EQ(r.timeStepMs, 1.0);
    const auto reference = ReadColumns(
        RealWorld("reference/obspy_seg2/20130107_103041000.CET.3c.cont.0.reference.asc"));
    ASSERT_EQ(reference.size(), 2000u);
    const double descaling[3] = { 2.17378e-05, 2.19941e-05, 2.14815e-05 }; // from the header
    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(t);
        for (int s = 0; s < 2000; ++s)
            ASSERT_NEAR(reference[size_t(s)][size_t(t)], r.At(s, t) * descaling[t] * 1000.0, 1e-6);
    }
}

TEST(RealRecords, LomaBlancaSeg2AndBigEndianSuAgree)
{
    const QString seg2Path = RealWorld("seg2/lomablanca_1.DAT");
    const QString suPath = RealWorld("su/lomablanca_1_bigendian.su");
    REQUIRE_REALWORLD(seg2Path);
    const TraceReadResult seg2 = ReadTraceFile(seg2Path);
    const TraceReadResult su = ReadTraceFile(suPath);
    ASSERT_TRUE(seg2.ok) << qPrintable(seg2.detail);
    ASSERT_TRUE(su.ok) << qPrintable(su.detail);
    EXPECT_EQ(seg2.traces, 64);
    EXPECT_EQ(seg2.samples, 2000);
    EXPECT_DOUBLE_EQ(seg2.timeStepMs, 1.0);
    EXPECT_EQ(su.traces, 64);
    EXPECT_EQ(su.samples, 1999);
    // SU = SEG-2 x DESCALING_FACTOR / STACK, rounded to float; trace 1 has 740..839 zeroed.
    const double factor = 1.6985e-4 / 3.0;
    for (int t = 0; t < 64; ++t) {
        for (int s = 0; s < 1999; ++s) {
            if (t == 0 && s >= 740 && s <= 839)
                continue;
            const double expected = seg2.At(s, t) * factor;
            ASSERT_NEAR(su.At(s, t), expected, 1e-6 * std::fabs(expected) + 1e-12)
                << "trace " << t + 1 << " sample " << s;
        }
    }
}

TEST(RealRecords, F3IbmAndIeeeCropsHoldTheSameSamples)
{
    const QString ibmPath = RealWorld("segy/f3_crop_format1_ibm.sgy");
    REQUIRE_REALWORLD(ibmPath);
    const TraceReadResult ibm = ReadTraceFile(ibmPath);
    const TraceReadResult ieee = ReadTraceFile(RealWorld("segy/f3_crop_format5_ieee.sgy"));
    ASSERT_TRUE(ibm.ok && ieee.ok);
    EXPECT_EQ(ibm.traces, 414);
    EXPECT_EQ(ibm.samples, 75);
    EXPECT_DOUBLE_EQ(ibm.timeStepMs, 4.0);
    EXPECT_EQ(ibm.values, ieee.values);
    double energy = 0.0;
    for (double v : ibm.values)
        energy += v * v;
    EXPECT_GT(energy, 0.0);
}

TEST(RealRecords, Seg2FieldRecordsHaveTheirDocumentedGeometry)
{
    const struct
    {
        const char *file;
        int traces;
        int samples;
        double timeStepMs;
    } cases[] = {
        { "seg2/wghs_11.dat", 24, 1500, 1.0 },
        { "seg2/wghs_15.dat", 24, 1500, 1.0 },
        { "seg2/albca_Shot1.dat", 24, 4000, 0.25 },
        { "seg2/albca_Shot2.dat", 48, 8000, 0.25 },
        { "seg2/pyrefra_Rec_00001.seg2", 60, 4096, 0.25 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = RealWorld(QString::fromLatin1(c.file));
        if (!QFileInfo::exists(path))
            GTEST_SKIP() << "real field records not present";
        const TraceReadResult r = ReadTraceFile(path);
        ASSERT_TRUE(r.ok) << qPrintable(r.detail);
        EXPECT_EQ(r.traces, c.traces);
        EXPECT_EQ(r.samples, c.samples);
        EXPECT_DOUBLE_EQ(r.timeStepMs, c.timeStepMs);
        // Every trace of a shot record carries signal.
        for (int t = 0; t < r.traces; ++t) {
            double energy = 0.0;
            for (int s = 0; s < r.samples; ++s)
                energy += r.At(s, t) * r.At(s, t);
            EXPECT_TRUE(energy > 0.0 && std::isfinite(energy)) << "trace " << t + 1;
        }
    }
}

TEST(RealRecords, DerivedTextCopiesReadAsTheOriginalTokens)
{
    const struct
    {
        const char *derived;
        const char *original;
        int headerLines;
        int rows;
    } cases[] = {
        { "derived/oysand_dx_2m_x1_10m_forward.txt", "text/oysand_dx_2m_x1_10m_forward.dat", 5,
            2201 },
        { "derived/arnarbaeli_SampleData.txt", "text/arnarbaeli_SampleData.dat", 7, 1200 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.derived);
        const QString path = RealWorld(QString::fromLatin1(c.derived));
        if (!QFileInfo::exists(path))
            GTEST_SKIP() << "real field records not present";
        const TraceReadResult r = ReadTraceFile(path);
        ASSERT_TRUE(r.ok) << qPrintable(r.detail);
        EXPECT_EQ(r.traces, 24);
        EXPECT_EQ(r.samples, c.rows);
        EXPECT_NEAR(r.timeStepMs, 1.0, 1e-9);
        std::ifstream in(RealWorld(QString::fromLatin1(c.original)).toStdString());
        std::string line;
        for (int i = 0; i < c.headerLines; ++i)
            std::getline(in, line);
        for (int s = 0; s < c.rows; ++s) {
            for (int t = 0; t < 24; ++t) {
                double v;
                ASSERT_TRUE(in >> v);
                ASSERT_EQ(r.At(s, t), v) << "row " << s << " trace " << t;
            }
        }
        // The originals end in .dat, which is SEG-2: they are refused there.
        EXPECT_FALSE(ReadTraceFile(RealWorld(QString::fromLatin1(c.original))).ok);
    }
}

TEST(RealRecords, SuAndSegyFilesOfOtherKindsAreHandledAsDocumented)
{
    const QString su = RealWorld("su/kit_1_first_trace.su");
    REQUIRE_REALWORLD(su);
    const TraceReadResult kit = ReadTraceFile(su);
    ASSERT_TRUE(kit.ok);
    EXPECT_EQ(kit.traces, 1);
    EXPECT_EQ(kit.samples, 8000);
    for (const char *refused :
        { "segy/kit_1_first_trace_format2.sgy", "segy/f3_crop_format3_int16.sgy" }) {
        SCOPED_TRACE(refused);
        const TraceReadResult r = ReadTraceFile(RealWorld(QString::fromLatin1(refused)));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, QStringLiteral("This SEGY file uses a not compatible format"));
    }
}

TEST(RealRecords, TimeStepSpacingSourceAndDelayAreThoseOfTheFiles)
{
    // Values from the records' documentation (their README and field sheets), not from a run
    // of the readers. offset: source to the first receiver in file order.
    const double none = std::nan("");
    const struct
    {
        const char *file;
        double timeStepMs;
        double spacing;
        double offset;
        double reversedOffset;
        double delayMs;
    } cases[] = {
        { "seg2/wghs_11.dat", 1.0, 2.0, 10.0, 56.0, -500.0 },
        { "seg2/albca_Shot1.dat", 0.25, 3.0, 6.0, 75.0, 0.0 },
        { "seg2/albca_Shot2.dat", 0.25, 3.0, 146.0, 5.0, 0.0 },
        { "seg2/lomablanca_1.DAT", 1.0, 5.0, 0.0, 315.0, -10.0 },
        { "seg2/pyrefra_Rec_00001.seg2", 0.25, 1.0, 0.0, 59.0, 200.0 },
        { "seg2/dmtvipa_20130107_103041000.CET.3c.cont.0.seg2", 1.0, none, none, none, none },
        { "su/kit_1_first_trace.su", 0.25, none, 3.0, 3.0, -100.0 },
        { "su/lomablanca_1_bigendian.su", 1.0, none, none, none, -11.0 },
        { "segy/f3_crop_format5_ieee.sgy", 4.0, none, none, none, 4.0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = RealWorld(QString::fromLatin1(c.file));
        if (!QFileInfo::exists(path))
            GTEST_SKIP() << "real field records not present";
        const TraceReadResult r = ReadTraceFile(path);
        ASSERT_TRUE(r.ok) << qPrintable(r.detail);
        ASSERT_TRUE(r.hasTimeStep);
        EXPECT_DOUBLE_EQ(r.timeStepMs, c.timeStepMs);
        EXPECT_EQ(r.geometry.hasSpacing, !std::isnan(c.spacing));
        if (r.geometry.hasSpacing) {
            EXPECT_NEAR(r.geometry.spacingM, c.spacing, 1e-9);
        }
        double offset = 0.0;
        EXPECT_EQ(r.geometry.SourceOffset(false, offset), !std::isnan(c.offset));
        if (!std::isnan(c.offset)) {
            EXPECT_NEAR(offset, c.offset, 1e-9);
            r.geometry.SourceOffset(true, offset);
            EXPECT_NEAR(offset, c.reversedOffset, 1e-9);
        }
        EXPECT_EQ(r.geometry.hasDelay, !std::isnan(c.delayMs));
        if (r.geometry.hasDelay) {
            EXPECT_NEAR(r.geometry.delayMs, c.delayMs, 1e-9);
        }
    }
}

TEST(BundledSample, SampleShotIsA24ChannelRecordWhoseEnergyFallsWithOffset)
{
    const TraceReadResult r = ReadTraceFile(QStringLiteral(VELA_SAMPLES_DIR "/sample_shot.sg2"));
    ASSERT_TRUE(r.ok) << qPrintable(r.detail);
    EXPECT_EQ(r.traces, 24);
    EXPECT_EQ(r.samples, 1024);
    EXPECT_DOUBLE_EQ(r.timeStepMs, 0.5);
    auto rms = [&](int t) {
        double sum = 0.0;
        for (int s = 0; s < r.samples; ++s)
            sum += r.At(s, t) * r.At(s, t);
        return std::sqrt(sum / r.samples);
    };
    EXPECT_GT(rms(0), 2.0 * rms(23));
    EXPECT_GT(rms(23), 0.0);
}
