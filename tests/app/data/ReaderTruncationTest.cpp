// Every reader meets every prefix of a small valid file, and corrupted variants of it, without
// reading outside the bytes it was given. Meant to run under AddressSanitizer as well.
#include "app/data/TraceReaders.h"
#include "tests/app/data/TraceFileBuilders.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace {

using Reader = std::function<TraceReadResult(const QByteArray &)>;

QByteArray SmallSeg2()
{
    Bytes int16, code3, float64;
    int16.I16(1).I16(-2).I16(3);
    code3.U16(0x3210).I16(1).I16(-2).I16(3).I16(-4);
    float64.F64(0.5).F64(-0.25).F64(2.0);
    Seg2Trace a, b, c;
    a.code = 1;
    a.samples = 3;
    a.data = int16.data;
    a.strings = { "SAMPLE_INTERVAL 0.00025" };
    b.code = 3;
    b.samples = 3;
    b.data = code3.data;
    c.code = 5;
    c.samples = 3;
    c.data = float64.data;
    c.strings = { "RECEIVER_LOCATION 2" };
    return Seg2File({ a, b, c });
}

QByteArray SmallSegy()
{
    return SegyFile(500, 3, 1, { { 0x41100000, 0xC276A000, 0x40800000 }, { 1, 2, 3 } });
}

// Every prefix must be read without a crash; the whole file must still read.
void ReadEveryPrefix(const Reader &read, const QByteArray &file)
{
    ASSERT_TRUE(read(file).ok);
    for (qsizetype size = 0; size < file.size(); ++size) {
        // A deep copy, so that AddressSanitizer sees the exact end of the prefix.
        const QByteArray prefix(file.constData(), size);
        const TraceReadResult r = read(prefix);
        if (r.ok) {
            ASSERT_EQ(r.values.size(), size_t(r.samples) * size_t(r.traces)) << "size " << size;
        } else {
            ASSERT_FALSE(r.detail.isEmpty()) << "size " << size;
        }
    }
}

// Every byte of the file set to 0x00, 0xFF and 0x80 in turn: header fields become absurd.
void ReadEveryCorruption(const Reader &read, const QByteArray &file)
{
    for (qsizetype i = 0; i < file.size(); ++i) {
        for (char value : { '\x00', '\xff', '\x80' }) {
            QByteArray corrupted = file;
            corrupted[i] = value;
            const TraceReadResult r = read(corrupted);
            if (r.ok) {
                ASSERT_EQ(r.values.size(), size_t(r.samples) * size_t(r.traces)) << "byte " << i;
            }
        }
    }
}

} // namespace

TEST(ReaderTruncation, Seg2SurvivesTruncationAtEveryByte)
{
    ReadEveryPrefix(ReadSeg2Traces, SmallSeg2());
}

TEST(ReaderTruncation, Seg2SurvivesEveryCorruptedByte)
{
    ReadEveryCorruption(ReadSeg2Traces, SmallSeg2());
}

TEST(ReaderTruncation, SegySurvivesTruncationAtEveryByte)
{
    ReadEveryPrefix(ReadSegyTraces, SmallSegy());
}

TEST(ReaderTruncation, SegySurvivesCorruptedBinaryHeaderAndTraces)
{
    const QByteArray file = SmallSegy();
    // The textual header is never read; corrupt the rest.
    ReadEveryCorruption(ReadSegyTraces, file.mid(0));
}

TEST(ReaderTruncation, SuSurvivesTruncationInBothByteOrders)
{
    ReadEveryPrefix(ReadSuTraces, SuFile(false, { { 1, 2, 3 }, { 4, 5, 6 } }));
    ReadEveryPrefix(ReadSuTraces, SuFile(true, { { 1, 2, 3 }, { 4, 5, 6 } }));
}

TEST(ReaderTruncation, DrmSurvivesTruncationOfItsDataAndHeader)
{
    const QByteArray file =
        DrmFile({ "numero campioni=2", "numero canali=2", "sps=500" }, { 1, 2, 3, 4 });
    ASSERT_TRUE(ReadDrmTraces(file).ok);
    for (qsizetype size = 0; size < file.size(); size += (size < 200 || size > 49990) ? 1 : 997) {
        const QByteArray prefix(file.constData(), size);
        EXPECT_FALSE(ReadDrmTraces(prefix).ok) << "size " << size;
    }
}

TEST(ReaderTruncation, ReadersSurviveRandomGarbage)
{
    std::mt19937 random(20261207);
    const Reader readers[] = { ReadTextTraces, ReadSeg2Traces, ReadSegyTraces, ReadSuTraces,
        ReadDrmTraces };
    for (int round = 0; round < 200; ++round) {
        QByteArray garbage(qsizetype(random() % 5000), '\0');
        for (char &c : garbage)
            c = char(random());
        // Some rounds get a plausible SEG-2 identifier so the header fields are reached.
        if (round % 2 == 0 && garbage.size() > 2) {
            garbage[0] = '\x55';
            garbage[1] = '\x3a';
        }
        for (const Reader &read : readers) {
            const TraceReadResult r = read(garbage);
            if (r.ok) {
                ASSERT_EQ(r.values.size(), size_t(r.samples) * size_t(r.traces));
            }
        }
    }
}

// Damaged copies of the real field records: the readers refuse or read them, never crash,
// hang or read outside the bytes. Damage goes where readers look first: the file and trace
// headers.
TEST(ReaderTruncation, DamagedRealRecordsNeverCrashTheReaders)
{
    const struct
    {
        const char *file;
        Reader read;
    } records[] = {
        { "seg2/wghs_11.dat", ReadSeg2Traces },
        { "seg2/albca_Shot1.dat", ReadSeg2Traces },
        { "seg2/lomablanca_1.DAT", ReadSeg2Traces },
        { "seg2/smartseis_20180307_031245000.0.seg2", ReadSeg2Traces },
        { "seg2/dmtvipa_20130107_103041000.CET.3c.cont.0.seg2", ReadSeg2Traces },
        { "su/kit_1_first_trace.su", ReadSuTraces },
        { "su/lomablanca_1_bigendian.su", ReadSuTraces },
        { "segy/f3_crop_format1_ibm.sgy", ReadSegyTraces },
        { "derived/arnarbaeli_SampleData.txt", ReadTextTraces },
    };
    std::mt19937 random(20);
    int read = 0;
    for (const auto &record : records) {
        SCOPED_TRACE(record.file);
        QFile file(QStringLiteral(VELA_REALWORLD_DIR "/") + QLatin1String(record.file));
        if (!file.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "real field records not present";
        const QByteArray original = file.readAll();
        ASSERT_TRUE(record.read(original).ok);
        const qsizetype head = std::min<qsizetype>(original.size(), 8192);
        std::uniform_int_distribution<qsizetype> inHead(0, head - 1);
        std::uniform_int_distribution<qsizetype> anywhere(0, original.size() - 1);
        std::vector<QByteArray> variants;
        for (int i = 0; i < 40; ++i) {
            QByteArray flipped = original; // bit flips
            for (int k = 0; k < 1 + i % 4; ++k)
                flipped[inHead(random)] ^= char(1 << (random() % 8));
            variants.push_back(flipped);
            QByteArray huge = original; // counts and sizes turned enormous
            const qsizetype at = inHead(random) & ~qsizetype(1);
            huge[at] = '\xff';
            if (at + 1 < huge.size())
                huge[at + 1] = char(i % 2 ? 0x7f : 0xff);
            variants.push_back(huge);
            variants.push_back(original.left(i < 20 ? inHead(random) : anywhere(random)));
            QByteArray inserted = original; // bytes inserted shift everything after them
            inserted.insert(inHead(random), QByteArray(1 + i % 7, char(i * 37)));
            variants.push_back(inserted);
        }
        for (const QByteArray &variant : variants) {
            const TraceReadResult r = record.read(variant);
            ++read;
            if (r.ok) {
                ASSERT_EQ(r.values.size(), size_t(r.samples) * size_t(r.traces));
            } else {
                ASSERT_FALSE(r.detail.isEmpty());
            }
        }
    }
    EXPECT_EQ(read, 9 * 160);
}
