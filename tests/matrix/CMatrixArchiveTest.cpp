// The binary archive and the serialised matrix forms: golden bytes, round trips, counted
// strings, text lines and every failure.

#include "matrix/CMatrixArchive.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kMatrixHeader1x1 = { 0x74, 0x61, 0x4D, 0x43, 0x43, 0x78, 0x69, 0x72, 1, 0, 0, 0, 1, 0,
    0, 0, 1, 0, 0, 0 };

Bytes Stored(const std::function<void(CMatrixArchive &)> &write)
{
    CMatrixArchive ar;
    write(ar);
    return ar.GetBuffer();
}

Bytes LittleEndian(double value)
{
    Bytes bytes(8);
    std::memcpy(bytes.data(), &value, 8); // the test machine is little-endian
    return bytes;
}

CArchiveException::Cause CauseOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const CArchiveException &e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no CArchiveException";
    return CArchiveException::IoError;
}

} // namespace

TEST(CMatrixArchiveMatrices, DefaultRealMatrixIsTwentyEightGoldenBytes)
{
    Bytes expected = kMatrixHeader1x1;
    expected.resize(28, 0);
    EXPECT_EQ(Stored([](CMatrixArchive &ar) { ar << CMatrix(); }), expected);
}

TEST(CMatrixArchiveMatrices, DefaultComplexMatrixIsThirtySixGoldenBytes)
{
    Bytes expected = kMatrixHeader1x1;
    expected.resize(36, 0);
    EXPECT_EQ(Stored([](CMatrixArchive &ar) { ar << CComplexMatrix(); }), expected);
}

TEST(CMatrixArchiveMatrices, ElementsAreWrittenColumnByColumn)
{
    const CMatrix m(2, 3, { 1, 2, 3, 4, 5, 6 });
    const Bytes bytes = Stored([&](CMatrixArchive &ar) { m.Store(ar); });
    ASSERT_EQ(bytes.size(), 20u + 6 * 8);
    EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.begin() + 20), (Bytes { 3, 0, 0, 0, 2, 0, 0, 0 }));
    const double columnMajor[] = { 1, 4, 2, 5, 3, 6 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Bytes(bytes.begin() + 20 + 8 * i, bytes.begin() + 28 + 8 * i),
            LittleEndian(columnMajor[i]))
            << i;

    CComplexMatrix z(2, 1);
    z.SetRaw(0, Complex(1.5, -2));
    z.SetRaw(1, Complex(0.25, 8));
    const Bytes zb = Stored([&](CMatrixArchive &ar) { ar << z; });
    ASSERT_EQ(zb.size(), 20u + 2 * 16);
    const double parts[] = { 1.5, -2, 0.25, 8 };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Bytes(zb.begin() + 20 + 8 * i, zb.begin() + 28 + 8 * i), LittleEndian(parts[i]))
            << i;
}

TEST(CMatrixArchiveMatrices, RoundTripRestoresShapeAndBitsExactly)
{
    const CMatrix shapes[] = { CMatrix(0, 3), CMatrix(4, 0), CMatrix(1, 1, { -0.0 }),
        CMatrix(3, 2, { 1e-310, -2.5, 3.14159, 1e300, -7, 0.1 }) };
    for (const CMatrix &m : shapes) {
        SCOPED_TRACE(std::to_string(m.GetRows()) + "x" + std::to_string(m.GetCols()));
        CMatrixArchive out;
        out << m << CComplexMatrix(m);
        CMatrixArchive in(out.GetBuffer());
        CMatrix real(5, 5);
        CComplexMatrix complex;
        in >> real >> complex;
        EXPECT_TRUE(in.AtEnd());
        ASSERT_EQ(real.GetRows(), m.GetRows());
        ASSERT_EQ(real.GetCols(), m.GetCols());
        ASSERT_EQ(complex.GetRows(), m.GetRows());
        EXPECT_EQ(std::memcmp(real.GetData(), m.GetData(), 8 * m.GetCount()), 0);
        // Storing what was loaded gives the same bytes again.
        CMatrixArchive again;
        again << real << complex;
        EXPECT_EQ(again.GetBuffer(), out.GetBuffer());
    }
}

TEST(CMatrixArchiveMatrices, UnreadableBytesRaiseAndLeaveTheMatrixUnchanged)
{
    Bytes good = Stored([](CMatrixArchive &ar) { ar << CMatrix(2, 2, { 1, 2, 3, 4 }); });
    auto patched = [&](std::size_t offset, std::int32_t value) {
        Bytes bytes = good;
        std::memcpy(bytes.data() + offset, &value, 4);
        return bytes;
    };
    struct Case
    {
        const char *name;
        Bytes bytes;
        CArchiveException::Cause cause;
    };
    const std::vector<Case> cases = {
        { "first tag", patched(0, 0x434D6175), CArchiveException::BadClass },
        { "second tag", patched(4, 0), CArchiveException::BadClass },
        { "negative rows", patched(16, -2), CArchiveException::BadClass },
        { "truncated elements", Bytes(good.begin(), good.end() - 1), CArchiveException::EndOfFile },
        { "truncated header", Bytes(good.begin(), good.begin() + 10),
            CArchiveException::EndOfFile },
        { "huge size", patched(12, 0x7FFFFFFF), CArchiveException::EndOfFile },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CMatrix m(1, 2, { 5, 6 });
        CComplexMatrix z(m);
        EXPECT_EQ(CauseOf([&] {
            CMatrixArchive ar(c.bytes);
            ar >> m;
        }),
            c.cause);
        EXPECT_EQ(CauseOf([&] {
            CMatrixArchive ar(c.bytes);
            ar >> z;
        }),
            c.cause);
        EXPECT_EQ(m.ToVector(), (std::vector<double> { 5, 6 }));
        EXPECT_EQ(z.Real().ToVector(), (std::vector<double> { 5, 6 }));
    }
}

TEST(CMatrixArchiveModes, WrongDirectionRaisesReadOnlyOrWriteOnly)
{
    CMatrixArchive loading(Bytes(64, 0));
    CMatrixArchive storing;
    CMatrix m;
    CComplexMatrix z;
    std::string text;
    EXPECT_EQ(CauseOf([&] { loading << m; }), CArchiveException::ReadOnly);
    EXPECT_EQ(CauseOf([&] { loading << z; }), CArchiveException::ReadOnly);
    EXPECT_EQ(CauseOf([&] { loading.WriteInt32(1); }), CArchiveException::ReadOnly);
    EXPECT_EQ(CauseOf([&] { loading.WriteLine("x"); }), CArchiveException::ReadOnly);
    EXPECT_EQ(CauseOf([&] { storing >> m; }), CArchiveException::WriteOnly);
    EXPECT_EQ(CauseOf([&] { storing >> z; }), CArchiveException::WriteOnly);
    EXPECT_EQ(CauseOf([&] { storing.ReadFloat64(); }), CArchiveException::WriteOnly);
    EXPECT_EQ(CauseOf([&] { storing.ReadLine(text); }), CArchiveException::WriteOnly);
    EXPECT_TRUE(storing.GetBuffer().empty());
    EXPECT_EQ(loading.GetPosition(), 0u);
}

TEST(CMatrixArchiveScalars, ValuesAreLittleEndianWithoutPadding)
{
    const Bytes bytes = Stored([](CMatrixArchive &ar) {
        ar << std::int32_t(-2) << 1.0f << 1.0 << std::uint32_t(0x01020304);
        ar.WriteUInt16(0xABCD);
        ar.WriteByte(7);
    });
    EXPECT_EQ(bytes,
        (Bytes { 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 4, 3, 2, 1,
            0xCD, 0xAB, 7 }));
    CMatrixArchive in(bytes.data(), bytes.size());
    std::int32_t i = 0;
    float f = 0;
    double d = 0;
    std::uint32_t u = 0;
    in >> i >> f >> d >> u;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(d, 1.0);
    EXPECT_EQ(u, 0x01020304u);
    EXPECT_EQ(in.ReadUInt16(), 0xABCD);
    EXPECT_EQ(in.PeekByte(), 7);
    EXPECT_EQ(in.ReadByte(), 7);
    EXPECT_EQ(in.PeekByte(), -1);
    // A failed read consumes nothing.
    EXPECT_EQ(CauseOf([&] { in.ReadInt32(); }), CArchiveException::EndOfFile);
    in.SetPosition(bytes.size() - 3);
    EXPECT_EQ(CauseOf([&] { in.ReadInt32(); }), CArchiveException::EndOfFile);
    EXPECT_EQ(in.GetRemaining(), 3u);
}

TEST(CMatrixArchiveStrings, CountedStringPrefixGrowsAtTheMfcThresholds)
{
    struct Case
    {
        std::size_t length;
        Bytes prefix;
    };
    const std::vector<Case> cases = {
        { 0, { 0 } },
        { 7, { 7 } },
        { 254, { 254 } },
        { 255, { 0xFF, 0xFF, 0x00 } },
        { 0xFFFE, { 0xFF, 0xFE, 0xFF } },
        { 0xFFFF, { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0 } },
        { 70000, { 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'a');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char>(i * 7);
        const Bytes bytes = Stored([&](CMatrixArchive &ar) { ar << text << std::int32_t(9); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length + 4);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix);
        CMatrixArchive in(bytes);
        std::string back;
        std::int32_t after = 0;
        in >> back >> after;
        EXPECT_EQ(back, text);
        EXPECT_EQ(after, 9);
    }
    // A length that promises more than is left raises and consumes nothing.
    CMatrixArchive shortArchive(Bytes { 5, 'a', 'b' });
    EXPECT_EQ(CauseOf([&] { shortArchive.ReadCountedString(); }), CArchiveException::EndOfFile);
    EXPECT_EQ(shortArchive.GetPosition(), 0u);
}

TEST(CMatrixArchiveStrings, TextLinesEndInCrLfAndReadBackWithoutIt)
{
    const Bytes bytes = Stored([](CMatrixArchive &ar) {
        ar.WriteLine("============================");
        ar.WriteLine("RS2");
        ar.WriteLine("");
        ar.WriteText("unix\nlast");
    });
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, "============================\r\nRS2\r\n\r\nunix\nlast");
    CMatrixArchive in(bytes);
    EXPECT_EQ(in.ReadLine(), std::string(28, '='));
    EXPECT_EQ(in.ReadLine(), "RS2");
    EXPECT_EQ(in.ReadLine(), "");
    EXPECT_EQ(in.ReadLine(), "unix");
    EXPECT_EQ(in.ReadLine(), "last");
    std::string line;
    EXPECT_FALSE(in.ReadLine(line));
    EXPECT_EQ(CauseOf([&] { in.ReadLine(); }), CArchiveException::EndOfFile);
}

TEST(CMatrixArchiveFiles, FileRoundTripMatchesTheMemoryBytes)
{
    const std::string path = ::testing::TempDir() + "/archive_round_trip.bin";
    const CMatrix m(2, 2, { 1, -2, 3, -4 });
    {
        CMatrixArchive out(path, CMatrixArchive::Store);
        out << m << std::string("Section") << 2.5;
        out.WriteLine("end");
        EXPECT_EQ(out.GetPosition(), 52u + 8 + 8 + 5);
        out.Close();
        EXPECT_EQ(CauseOf([&] { out.WriteInt32(1); }), CArchiveException::IoError);
    }
    CMatrixArchive in(path, CMatrixArchive::Load);
    EXPECT_EQ(in.GetBuffer(), Stored([&](CMatrixArchive &ar) {
        ar << m << std::string("Section") << 2.5;
        ar.WriteLine("end");
    }));
    CMatrix back;
    std::string marker;
    double value = 0;
    in >> back >> marker >> value;
    EXPECT_EQ(back.ToVector(), m.ToVector());
    EXPECT_EQ(marker, "Section");
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(in.ReadLine(), "end");
    EXPECT_TRUE(in.AtEnd());
    std::remove(path.c_str());
}

TEST(CMatrixArchiveFiles, MissingOrUnwritableFileRaisesOpenFailedWithThePath)
{
    const std::string missing = ::testing::TempDir() + "/no/such/folder/job.bin";
    for (CMatrixArchive::Mode mode : { CMatrixArchive::Load, CMatrixArchive::Store }) {
        try {
            CMatrixArchive ar(missing, mode);
            ADD_FAILURE() << "opened " << missing;
        } catch (const CArchiveException &e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::OpenFailed);
            EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
        }
    }
}
