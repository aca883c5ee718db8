// Job and result files against golden bytes laid out here, item by item, from the file
// tables (little-endian, no padding, matrices as tag words, version, cols, rows and the
// elements column by column), and the readers against truncated, foreign and garbage files.
#include "jobs/EngineJobFiles.h"
#include "matrix/CMatrixArchive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Bytes = std::vector<uint8_t>;

struct Golden
{
    Bytes b;
    Golden &I32(int32_t v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(u >> (8 * i)));
        return *this;
    }
    Golden &F32(float v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(u >> (8 * i)));
        return *this;
    }
    Golden &F64(double v)
    {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i)
            b.push_back(uint8_t(u >> (8 * i)));
        return *this;
    }
    // Elements given column by column, as they appear in the file.
    Golden &Mat(int rows, int cols, std::vector<double> columnMajor)
    {
        b.insert(b.end(), { 0x74, 0x61, 0x4D, 0x43, 0x43, 0x78, 0x69, 0x72 });
        I32(1).I32(cols).I32(rows);
        for (double v : columnMajor)
            F64(v);
        return *this;
    }
    Golden &Col(std::vector<double> v) { return Mat(int(v.size()), 1, v); }
    // Complex column: real, imaginary per element.
    Golden &CCol(std::vector<std::pair<double, double>> v)
    {
        b.insert(b.end(), { 0x74, 0x61, 0x4D, 0x43, 0x43, 0x78, 0x69, 0x72 });
        I32(1).I32(1).I32(int32_t(v.size()));
        for (auto &z : v)
            F64(z.first).F64(z.second);
        return *this;
    }
};

ForwardJob SampleForwardJob()
{
    ForwardJob j;
    j.frequencies = CMatrix::Column({ 5, 10 });
    j.velocities = CMatrix::Column({ 200, 180 });
    j.deviations = CMatrix::Column({ 10, 12 });
    j.thickness = CMatrix::Column({ 3 });
    j.density = CMatrix::Column({ 1.8, 2.0 });
    j.vs = CMatrix::Column({ 150, 300 });
    j.poisson = CMatrix::Column({ 0.3, 0.25 });
    j.modes = 3;
    j.solverParameter = 75;
    j.offsets = CMatrix::Column({ 1, 2, 3 });
    return j;
}

Bytes ForwardJobGolden()
{
    return Golden()
        .Col({ 5, 10 })
        .Col({ 200, 180 })
        .Col({ 10, 12 })
        .Col({ 3 })
        .Col({ 1.8, 2.0 })
        .Col({ 150, 300 })
        .Col({ 0.3, 0.25 })
        .I32(3)
        .F32(75)
        .Col({ 1, 2, 3 })
        .F64(0)
        .F64(0)
        .b;
}

SearchJob SampleSearchJob()
{
    SearchJob j;
    j.iterations = 7;
    j.stopFlag = 0;
    j.iterationCounter = 2;
    j.apparentMisfit = 1e99;
    j.effectiveMisfit = 1e99;
    j.currentMisfit = 0.125;
    j.targetMisfit = 0.05;
    j.iterationsRequested = 4;
    j.frequencies = CMatrix::Column({ 5, 10 });
    j.velocities = CMatrix::Column({ 200, 180 });
    j.deviations = CMatrix::Column({ 10, 12 });
    j.thickness = CMatrix::Column({ 3 });
    j.density = CMatrix::Column({ 1.8, 2.0 });
    j.vs = CMatrix::Column({ 150, 300 });
    j.vsMax = CMatrix::Column({ 300, 600 });
    j.vsMin = CMatrix::Column({ 75, 150 });
    j.poisson = CMatrix::Column({ 0.3, 0.25 });
    j.modes = 2;
    j.strongContrasts = 1;
    j.solverParameter = 150;
    j.offsets = CMatrix::Column({ 1, 2, 3 });
    return j;
}

Bytes SearchJobGolden()
{
    return Golden()
        .I32(7)
        .I32(0)
        .I32(2)
        .F64(1e99)
        .F64(1e99)
        .F64(0.125)
        .F64(0.05)
        .I32(4)
        .Col({ 5, 10 })
        .Col({ 200, 180 })
        .Col({ 10, 12 })
        .Col({ 3 })
        .Col({ 1.8, 2.0 })
        .Col({ 150, 300 })
        .Col({ 300, 600 }) // item 15: Vs max
        .Col({ 75, 150 }) // item 16: Vs min
        .Col({ 0.3, 0.25 })
        .I32(2)
        .I32(1)
        .F32(150)
        .Col({ 1, 2, 3 })
        .F64(0)
        .F64(0)
        .b;
}

// Modal velocities of 2 frequencies x 2 modes: row by row in memory, column by column on file.
CMatrix SampleModal() { return CMatrix(2, 2, { 190, 0, 170, 400 }); }

CComplexMatrix ComplexColumn(std::vector<std::pair<double, double>> v)
{
    CComplexMatrix m(int(v.size()), 1);
    for (int i = 0; i < int(v.size()); ++i)
        m.Set(i, Complex(v[size_t(i)].first, v[size_t(i)].second));
    return m;
}

ForwardResult SampleForwardResult()
{
    ForwardResult r;
    r.code = 0;
    r.apparentMisfit = 0.031;
    r.effectiveMisfit = 0.042;
    r.finalVs = CMatrix::Column({ 150, 300 });
    r.effectiveCurve = ComplexColumn({ { 195, 0 }, { 175, 0 } });
    r.apparentCurve = ComplexColumn({ { 196, 1.5 }, { 176, -2.5 } });
    r.modalVelocities = SampleModal();
    r.frequencies = CMatrix::Column({ 5, 10 });
    return r;
}

Bytes ResultTail()
{
    return Golden()
        .Col({ 150, 300 })
        .CCol({ { 195, 0 }, { 175, 0 } })
        .CCol({ { 196, 1.5 }, { 176, -2.5 } })
        .Mat(2, 2, { 190, 170, 0, 400 })
        .Col({ 5, 10 })
        .b;
}

Bytes ForwardResultGolden()
{
    Bytes b = Golden().I32(0).F64(0.031).F64(0.042).b;
    Bytes tail = ResultTail();
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

Bytes SearchResultGolden()
{
    Bytes b = Golden().I32(0).b;
    Bytes tail = ResultTail();
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

SearchResult SampleSearchResult()
{
    ForwardResult f = SampleForwardResult();
    SearchResult r;
    r.finalVs = f.finalVs;
    r.effectiveCurve = f.effectiveCurve;
    r.apparentCurve = f.apparentCurve;
    r.modalVelocities = f.modalVelocities;
    r.frequencies = f.frequencies;
    return r;
}

// The many-start job: the search job's items, then the number of starts and the seed.
ManyStartJob SampleManyStartJob()
{
    ManyStartJob j;
    j.search = SampleSearchJob();
    j.starts = 40;
    j.seed = -3;
    return j;
}

Bytes ManyStartJobGolden()
{
    Bytes b = SearchJobGolden();
    const Bytes tail = Golden().I32(40).I32(-3).b;
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

// The many-start result: the search result's items, then the ensemble's findings.
ManyStartResult SampleManyStartResult()
{
    const SearchResult s = SampleSearchResult();
    ManyStartResult r;
    r.code = -1;
    r.finalVs = s.finalVs;
    r.effectiveCurve = s.effectiveCurve;
    r.apparentCurve = s.apparentCurve;
    r.modalVelocities = s.modalVelocities;
    r.frequencies = s.frequencies;
    r.finalCurvesMissing = 0;
    r.apparentMisfit = 0.021;
    r.effectiveMisfit = 0.034;
    r.normalisedMisfit = 0.8;
    r.bestStart = 5;
    r.vs30 = 250.5;
    r.vs30P10 = 240.25;
    r.vs30P90 = 262.75;
    r.depthOfInvestigation = 20;
    r.ensembleThreshold = 1;
    r.band = CMatrix(2, 5, { 0, 3, 140, 150, 160, 3, 3, 280, 300, 320 });
    r.layerOnBound = CMatrix::Column({ 0, 1 });
    r.starts = CMatrix(1, 4, { 0, 0.021, 0.8, 12 });
    r.ensemble = CMatrix(2, 2, { 150, 300, 145, 310 });
    return r;
}

Bytes ManyStartResultGolden()
{
    Bytes b = Golden().I32(-1).b;
    const Bytes middle = ResultTail();
    b.insert(b.end(), middle.begin(), middle.end());
    const Bytes tail = Golden()
                           .I32(0)
                           .F64(0.021)
                           .F64(0.034)
                           .F64(0.8)
                           .I32(5)
                           .F64(250.5)
                           .F64(240.25)
                           .F64(262.75)
                           .F64(20)
                           .F64(1)
                           .Mat(2, 5, { 0, 3, 3, 3, 140, 280, 150, 300, 160, 320 })
                           .Col({ 0, 1 })
                           .Mat(1, 4, { 0, 0.021, 0.8, 12 })
                           .Mat(2, 2, { 150, 145, 300, 310 })
                           .b;
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

void ExpectSame(const CMatrix &a, const CMatrix &b)
{
    ASSERT_EQ(a.GetRows(), b.GetRows());
    ASSERT_EQ(a.GetCols(), b.GetCols());
    for (int i = 0; i < a.GetCount(); ++i)
        EXPECT_EQ(a(i), b(i)) << "element " << i;
}

void ExpectSame(const CComplexMatrix &a, const CComplexMatrix &b)
{
    ASSERT_EQ(a.GetRows(), b.GetRows());
    ASSERT_EQ(a.GetCols(), b.GetCols());
    for (int i = 0; i < a.GetCount(); ++i)
        EXPECT_TRUE(a(i) == b(i)) << "element " << i;
}

class TempFile
{
public:
    TempFile()
    {
        char name[] = "/tmp/vela-jobfile-XXXXXX";
        int fd = ::mkstemp(name);
        if (fd >= 0)
            ::close(fd);
        m_path = name;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    const std::string &Path() const { return m_path; }
    void Write(const Bytes &bytes) const
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    Bytes Read() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string m_path;
};

// One entry per file kind, so the same checks run over all four layouts.
struct FileKind
{
    const char *name;
    Bytes golden;
    std::function<bool(const std::string &, std::string *)> write;
    std::function<bool(const std::string &, std::string *)> read;
};

std::vector<FileKind> Kinds()
{
    return {
        { "forward job", ForwardJobGolden(),
            [](const std::string &p, std::string *e) {
                return WriteForwardJobFile(p, SampleForwardJob(), e);
            },
            [](const std::string &p, std::string *e) {
                ForwardJob j;
                return ReadForwardJobFile(p, j, e);
            } },
        { "search job", SearchJobGolden(),
            [](const std::string &p, std::string *e) {
                return WriteSearchJobFile(p, SampleSearchJob(), e);
            },
            [](const std::string &p, std::string *e) {
                SearchJob j;
                return ReadSearchJobFile(p, j, e);
            } },
        { "forward result", ForwardResultGolden(),
            [](const std::string &p, std::string *e) {
                return WriteForwardResultFile(p, SampleForwardResult(), e);
            },
            [](const std::string &p, std::string *e) {
                ForwardResult r;
                return ReadForwardResultFile(p, r, e);
            } },
        { "many-start job", ManyStartJobGolden(),
            [](const std::string &p, std::string *e) {
                return WriteManyStartJobFile(p, SampleManyStartJob(), e);
            },
            [](const std::string &p, std::string *e) {
                ManyStartJob j;
                return ReadManyStartJobFile(p, j, e);
            } },
        { "many-start result", ManyStartResultGolden(),
            [](const std::string &p, std::string *e) {
                return WriteManyStartResultFile(p, SampleManyStartResult(), e);
            },
            [](const std::string &p, std::string *e) {
                ManyStartResult r;
                return ReadManyStartResultFile(p, r, e);
            } },
        { "search result", SearchResultGolden(),
            [](const std::string &p, std::string *e) {
                return WriteSearchResultFile(p, SampleSearchResult(), e);
            },
            [](const std::string &p, std::string *e) {
                SearchResult r;
                return ReadSearchResultFile(p, r, e);
            } },
    };
}

} // namespace

TEST(EngineJobFiles, EachFileIsWrittenByteForByteAsItsTableLaysItOut)
{
    for (const FileKind &kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        TempFile file;
        std::string error;
        ASSERT_TRUE(kind.write(file.Path(), &error)) << error;
        EXPECT_EQ(file.Read(), kind.golden);
    }
}

TEST(EngineJobFiles, ForwardJobReadsBackFromItsGoldenBytes)
{
    CMatrixArchive ar(ForwardJobGolden());
    ForwardJob j;
    ReadForwardJob(ar, j);
    EXPECT_TRUE(ar.AtEnd());
    ForwardJob e = SampleForwardJob();
    ExpectSame(j.frequencies, e.frequencies);
    ExpectSame(j.velocities, e.velocities);
    ExpectSame(j.deviations, e.deviations);
    ExpectSame(j.thickness, e.thickness);
    ExpectSame(j.density, e.density);
    ExpectSame(j.vs, e.vs);
    ExpectSame(j.poisson, e.poisson);
    EXPECT_EQ(j.modes, 3);
    EXPECT_EQ(j.solverParameter, 75.0f);
    ExpectSame(j.offsets, e.offsets);
    EXPECT_EQ(CheckForwardJob(j), "");
}

TEST(EngineJobFiles, SearchJobReadsBackWithBoundsInTheirOwnItems)
{
    CMatrixArchive ar(SearchJobGolden());
    SearchJob j;
    ReadSearchJob(ar, j);
    EXPECT_TRUE(ar.AtEnd());
    EXPECT_EQ(j.iterations, 7);
    EXPECT_EQ(j.stopFlag, 0);
    EXPECT_EQ(j.iterationCounter, 2);
    EXPECT_EQ(j.apparentMisfit, 1e99);
    EXPECT_EQ(j.effectiveMisfit, 1e99);
    EXPECT_EQ(j.currentMisfit, 0.125);
    EXPECT_EQ(j.targetMisfit, 0.05);
    EXPECT_EQ(j.iterationsRequested, 4);
    ExpectSame(j.vsMax, CMatrix::Column({ 300, 600 }));
    ExpectSame(j.vsMin, CMatrix::Column({ 75, 150 }));
    EXPECT_EQ(j.modes, 2);
    EXPECT_EQ(j.strongContrasts, 1);
    EXPECT_EQ(j.solverParameter, 150.0f);
    ExpectSame(j.offsets, CMatrix::Column({ 1, 2, 3 }));
    EXPECT_EQ(CheckSearchJob(j), "");
}

TEST(EngineJobFiles, ResultsReadBackFromTheirGoldenBytes)
{
    const ForwardResult e = SampleForwardResult();
    {
        CMatrixArchive ar(ForwardResultGolden());
        ForwardResult r;
        ReadForwardResult(ar, r);
        EXPECT_TRUE(ar.AtEnd());
        EXPECT_EQ(r.apparentMisfit, 0.031);
        EXPECT_EQ(r.effectiveMisfit, 0.042);
        ExpectSame(r.finalVs, e.finalVs);
        ExpectSame(r.effectiveCurve, e.effectiveCurve);
        ExpectSame(r.apparentCurve, e.apparentCurve);
        ExpectSame(r.modalVelocities, e.modalVelocities);
        ExpectSame(r.frequencies, e.frequencies);
    }
    {
        CMatrixArchive ar(SearchResultGolden());
        SearchResult r;
        ReadSearchResult(ar, r);
        EXPECT_TRUE(ar.AtEnd());
        ExpectSame(r.modalVelocities, e.modalVelocities);
        ExpectSame(r.apparentCurve, e.apparentCurve);
    }
}

TEST(EngineJobFiles, EveryTruncationIsRefusedAsEndingEarly)
{
    for (const FileKind &kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        TempFile file;
        // Every cut inside the leading items, then every fifth byte, and the last byte.
        std::vector<size_t> lengths;
        for (size_t length = 0; length < kind.golden.size(); length += length < 64 ? 1 : 5)
            lengths.push_back(length);
        lengths.push_back(kind.golden.size() - 1);
        for (size_t length : lengths) {
            file.Write(Bytes(kind.golden.begin(), kind.golden.begin() + long(length)));
            std::string error;
            ASSERT_FALSE(kind.read(file.Path(), &error)) << "length " << length;
            EXPECT_NE(error.find("ends early"), std::string::npos) << error;
        }
        // The untruncated file is fine, and one byte more is not.
        file.Write(kind.golden);
        std::string error;
        EXPECT_TRUE(kind.read(file.Path(), &error)) << error;
        Bytes longer = kind.golden;
        longer.push_back(0);
        file.Write(longer);
        EXPECT_FALSE(kind.read(file.Path(), &error));
        EXPECT_NE(error.find("1 unexpected bytes"), std::string::npos) << error;
    }
}

TEST(EngineJobFiles, MissingForeignAndGarbageFilesGiveAMessageAndNoCrash)
{
    std::string error;
    ForwardJob fj;
    EXPECT_FALSE(ReadForwardJobFile("/nonexistent/dir/job.bin", fj, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

    TempFile file;
    // A search job handed over as a forward job: its first bytes are not a matrix.
    file.Write(SearchJobGolden());
    EXPECT_FALSE(ReadForwardJobFile(file.Path(), fj, &error));
    EXPECT_NE(error.find("is not a forward job file"), std::string::npos) << error;
    // A forward job handed over as a search job decodes its header as numbers, then fails.
    file.Write(ForwardJobGolden());
    SearchJob sj;
    EXPECT_FALSE(ReadSearchJobFile(file.Path(), sj, &error));
    EXPECT_FALSE(error.empty());

    // A matrix claiming two billion elements must not be allocated.
    Bytes huge = Golden().Mat(0x7FFF0000, 0x10, {}).b;
    file.Write(huge);
    EXPECT_FALSE(ReadForwardJobFile(file.Path(), fj, &error));
    EXPECT_FALSE(error.empty());

    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        Bytes garbage(size_t(random() % 600));
        for (uint8_t &b : garbage)
            b = uint8_t(random());
        // Half of them start like a genuine matrix, so the reader gets past the tags.
        if (round % 2 && garbage.size() > 8)
            std::memcpy(garbage.data(), ForwardJobGolden().data(), 8);
        file.Write(garbage);
        EXPECT_FALSE(ReadForwardJobFile(file.Path(), fj, &error));
        EXPECT_FALSE(ReadSearchJobFile(file.Path(), sj, &error));
    }
}

TEST(EngineJobFiles, InconsistentJobsAreRefusedWithTheReason)
{
    struct Case
    {
        const char *name;
        std::function<void(SearchJob &)> spoil;
        const char *expected;
    };
    const Case cases[] = {
        { "no frequency", [](SearchJob &j) { j.frequencies = CMatrix(0, 1); }, "no frequency" },
        { "velocity count", [](SearchJob &j) { j.velocities = CMatrix::Column({ 1 }); },
            "1 velocities for 2 frequencies" },
        { "deviation count",
            [](SearchJob &j) {
                j.deviations = CMatrix::Column({ 1, 2, 3 });
            },
            "3 standard deviations" },
        { "thickness count",
            [](SearchJob &j) {
                j.thickness = CMatrix::Column({ 1, 2 });
            },
            "2 thicknesses for 2 layers" },
        { "density count", [](SearchJob &j) { j.density = CMatrix::Column({ 1 }); },
            "1 densities" },
        { "Poisson count", [](SearchJob &j) { j.poisson = CMatrix::Column({ 0.3 }); },
            "1 Poisson's ratios" },
        { "bound count", [](SearchJob &j) { j.vsMin = CMatrix::Column({ 1 }); }, "Vs bounds for" },
        { "no offsets", [](SearchJob &j) { j.offsets = CMatrix(0, 1); }, "no receiver offset" },
        { "zero modes", [](SearchJob &j) { j.modes = 0; }, "number of modes 0" },
        { "NaN Vs", [](SearchJob &j) { j.vs.Set(1, std::nan("")); }, "not a finite number" },
        { "zero Vs", [](SearchJob &j) { j.vs.Set(0, 0.0); }, "Vs of layer 1" },
        { "Poisson 0.5", [](SearchJob &j) { j.poisson.Set(1, 0.5); },
            "Poisson's ratio of layer 2" },
        { "negative iterations", [](SearchJob &j) { j.iterations = -1; }, "iterations -1" },
        { "zero deviation", [](SearchJob &j) { j.deviations.Set(1, 0.0); },
            "deviation of curve point 2" },
        { "crossed bounds", [](SearchJob &j) { j.vsMin.Set(0, 400.0); }, "Vs bounds of layer 1" },
        { "matrix not a vector", [](SearchJob &j) { j.vs = CMatrix(2, 2); },
            "not one value per layer" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SearchJob j = SampleSearchJob();
        c.spoil(j);
        EXPECT_NE(CheckSearchJob(j).find(c.expected), std::string::npos) << CheckSearchJob(j);
    }
    // A forward job has no bounds and does not use the deviations: zeros are fine there.
    ForwardJob f = SampleForwardJob();
    f.deviations.Set(0, 0.0);
    EXPECT_EQ(CheckForwardJob(f), "");
}

TEST(EngineJobFiles, ManyStartFilesReadBackAndRefuseAStartCountOutOfRange)
{
    TempFile file;
    file.Write(ManyStartResultGolden());
    ManyStartResult r;
    std::string error;
    ASSERT_TRUE(ReadManyStartResultFile(file.Path(), r, &error)) << error;
    const ManyStartResult expected = SampleManyStartResult();
    EXPECT_EQ(r.code, -1);
    EXPECT_EQ(r.bestStart, 5);
    EXPECT_EQ(r.vs30P90, 262.75);
    ExpectSame(r.finalVs, expected.finalVs);
    ExpectSame(r.apparentCurve, expected.apparentCurve);
    ExpectSame(r.band, expected.band);
    ExpectSame(r.ensemble, expected.ensemble);

    for (int32_t starts : { 0, MaxManyStarts + 1 }) {
        ManyStartJob job = SampleManyStartJob();
        job.starts = starts;
        ASSERT_TRUE(WriteManyStartJobFile(file.Path(), job, &error)) << error;
        ManyStartJob back;
        EXPECT_FALSE(ReadManyStartJobFile(file.Path(), back, &error));
        EXPECT_NE(error.find("number of starts"), std::string::npos) << error;
    }
    ManyStartJob job = SampleManyStartJob();
    job.search.deviations = CMatrix::Column({ 10, 0 });
    EXPECT_NE(CheckManyStartJob(job).find("standard deviation"), std::string::npos);
}
