// The trial-and-error run: outputs, misfits through the host's variables, progress lines,
// and what a failing profile leaves behind.
#include "ForwardTestModels.h"

#include "engine/VelamodCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace forwardtest;

namespace {

// The host's side of one engine object.
struct Host
{
    bool stop = false;
    int spareA = 0, spareB = 0;
    double first = -1.0, second = -1.0, current = 0.0, target = 0.0;
    CMatrix spareMatrixA, spareMatrixB;
    VelamodCode engine;

    Host()
    {
        engine.SetPointer(&stop, &spareA, &second, &first, &current, &target, &spareB,
            &spareMatrixA, &spareMatrixB, NoNotificationWindow);
    }
};

struct Inputs
{
    CMatrix frequencies = CMatrix::Column({ 5.0, 10.0, 15.0, 20.0, 30.0, 40.0 });
    CMatrix experimental = CMatrix::Column({ 300.0, 200.0, 160.0, 150.0, 130.0, 120.0 });
    CMatrix deviations = CMatrix::Column({ 10.0, 10.0, 10.0, 10.0, 10.0, 10.0 });
    CMatrix thicknesses = CMatrix::Column({ 2.0, 4.0, 6.0 });
    CMatrix densities = CMatrix::Column({ 1.7, 1.8, 1.9, 2.0 });
    CMatrix vs = CMatrix::Column({ 120.0, 200.0, 300.0, 500.0 });
    CMatrix nu = CMatrix::Column({ 0.35, 0.33, 0.3, 0.25 });
    CMatrix offsets = CMatrix::Column({ 2, 4, 6, 8, 10, 12, 14, 16, 18, 20 });
    long modes = 3;
};

struct Outputs
{
    int result = 0;
    CMatrix modelVs, modal, frequenciesUsed;
    CComplexMatrix effective, meanApparent;
    std::vector<CComplexMatrix> sensitivities;
    std::string printed;
};

Outputs RunManual(Host &host, const Inputs &in)
{
    Outputs out;
    out.sensitivities.resize(static_cast<std::size_t>(in.vs.GetCount()));
    testing::internal::CaptureStdout();
    out.result = host.engine.IdentificazioneManuale(in.frequencies, in.experimental, in.deviations,
        in.thicknesses, in.densities, in.vs, in.nu, in.modes, 5.0f, in.offsets, 0.0, 0.0,
        out.modelVs, out.effective, out.meanApparent, out.modal, out.sensitivities.data(),
        out.frequenciesUsed);
    out.printed = testing::internal::GetCapturedStdout();
    return out;
}

} // namespace

TEST(IdentificazioneManuale, SucceedsWithCurvesMisfitsAndProgressLines)
{
    Host host;
    Inputs in;
    const Outputs out = RunManual(host, in);
    ASSERT_EQ(out.result, 0);
    EXPECT_EQ(
        out.printed, "SegnalaStep 1\nSegnalaStep 4\nSegnalaStep 5\nSegnalaStep 3\nSegnalaStep 2\n");
    ASSERT_EQ(out.meanApparent.GetRows(), 1);
    ASSERT_EQ(out.meanApparent.GetCols(), 6);
    ASSERT_EQ(out.effective.GetRows(), 6);
    ASSERT_EQ(out.effective.GetCols(), 1);
    ASSERT_EQ(out.modal.GetRows(), 6);
    ASSERT_EQ(out.modal.GetCols(), 3);
    ASSERT_EQ(out.sensitivities[3].GetCols(), 10);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(out.frequenciesUsed(i), in.frequencies(i));
        EXPECT_GT(out.modal(i, 0), 0.0);
    }
    for (int l = 0; l < 4; ++l)
        EXPECT_EQ(out.modelVs(l), in.vs(l));
    EXPECT_GT(host.first, 0.0);
    EXPECT_LT(host.first, 1.0);
    EXPECT_GT(host.second, 0.0);
    EXPECT_LT(host.second, 1.0);

    // The mean apparent curve is the average of the apparent velocities over the offsets.
    CMatrix velocities, grid;
    CComplexMatrix apparent, effective;
    std::vector<CComplexMatrix> sensitivities(4);
    CMatrix vp(4, 1);
    for (int l = 0; l < 4; ++l)
        vp.Set(l, in.vs(l) * std::sqrt((2.0 - 2.0 * in.nu(l)) / (1.0 - 2.0 * in.nu(l))));
    ASSERT_EQ(CalcolaCurveModali(false, in.thicknesses, in.densities, vp, in.vs, in.frequencies,
                  in.offsets, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, in.modes, 5.0f, &velocities, &grid,
                  &apparent, sensitivities.data(), &effective, true),
        0);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(velocities(i, 0), out.modal(i, 0));
        double sum = 0.0;
        for (int j = 0; j < 10; ++j)
            sum += apparent(i, j).Real();
        EXPECT_NEAR(out.meanApparent(0, i).Real(), sum / 10.0, 1e-9 * sum);
        EXPECT_EQ(out.effective(i), effective(i));
    }
}

TEST(IdentificazioneManuale, ItsOwnCurvesAsExperimentGiveZeroMisfit)
{
    Host host;
    Inputs in;
    const Outputs first = RunManual(host, in);
    ASSERT_EQ(first.result, 0);
    for (int i = 0; i < 6; ++i)
        in.experimental.Set(i, first.meanApparent(0, i).Modulus());
    RunManual(host, in);
    EXPECT_EQ(host.first, 0.0);
    for (int i = 0; i < 6; ++i)
        in.experimental.Set(i, first.effective(i).Modulus());
    RunManual(host, in);
    EXPECT_EQ(host.second, 0.0);
}

TEST(IdentificazioneManuale, StandardDeviationsHaveNoEffect)
{
    Host host;
    Inputs in;
    RunManual(host, in);
    const double first = host.first, second = host.second;
    in.deviations = CMatrix::Column({ 1.0, 50.0, 3.0, 0.5, 7.0, 100.0 });
    RunManual(host, in);
    EXPECT_EQ(host.first, first);
    EXPECT_EQ(host.second, second);
}

TEST(IdentificazioneManuale, SingleOffsetKeepsOneApparentValuePerFrequency)
{
    Host host;
    Inputs in;
    in.offsets = CMatrix::Column({ 5.0 });
    const Outputs out = RunManual(host, in);
    ASSERT_EQ(out.result, 0);
    ASSERT_EQ(out.meanApparent.GetRows(), 1);
    ASSERT_EQ(out.meanApparent.GetCols(), 6);
    // With one offset there is no spread to transform: the effective curve is zero and has
    // no valid misfit, while the apparent misfit uses every frequency.
    EXPECT_EQ(host.second, 1e99);
    double difference = 0.0, reference = 0.0;
    for (int i = 0; i < 6; ++i) {
        const double t = out.meanApparent(0, i).Modulus();
        EXPECT_GT(t, 0.0);
        EXPECT_EQ(out.effective(i), Complex(0.0, 0.0));
        double lowest = out.modal(i, 0), highest = out.modal(i, 0);
        for (int m = 1; m < 3 && out.modal(i, m) != 0.0; ++m) {
            lowest = std::min(lowest, out.modal(i, m));
            highest = std::max(highest, out.modal(i, m));
        }
        if (t >= 0.9 * lowest && t <= 1.1 * highest) {
            difference += (t - in.experimental(i)) * (t - in.experimental(i));
            reference += in.experimental(i) * in.experimental(i);
        }
    }
    ASSERT_GT(reference, 150.0 * 150.0);
    EXPECT_NEAR(host.first, std::sqrt(difference / reference), 1e-12);
}

TEST(IdentificazioneManuale, FailingProfileLeavesNoMisfitAndZeroCurves)
{
    struct Case
    {
        const char *name;
        CMatrix frequencies;
        CMatrix nu;
        int expected;
    };
    const Inputs good;
    for (const Case &c : {
             Case { "repeated frequency", CMatrix::Column({ 5.0, 10.0, 10.0, 20.0, 30.0, 40.0 }),
                 good.nu, VelamodCode::ForwardFailed },
             Case { "Poisson's ratio 0.5", good.frequencies,
                 CMatrix::Column({ 0.35, 0.5, 0.3, 0.25 }), VelamodCode::ForwardFailed },
             Case { "too few Poisson's ratios", good.frequencies, CMatrix::Column({ 0.3 }),
                 VelamodCode::ForwardFailed },
         }) {
        SCOPED_TRACE(c.name);
        Host host;
        Inputs in;
        in.frequencies = c.frequencies;
        in.nu = c.nu;
        testing::internal::CaptureStderr();
        const Outputs out = RunManual(host, in);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out.result, c.expected);
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(host.first, 1e99);
        EXPECT_EQ(host.second, 1e99);
        for (const CComplexMatrix *curve : { &out.meanApparent, &out.effective }) {
            ASSERT_EQ(curve->GetRows(), 6);
            ASSERT_EQ(curve->GetCols(), 1);
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ((*curve)(i), Complex(0.0, 0.0));
        }
        for (int l = 0; l < 4; ++l)
            EXPECT_EQ(out.modelVs(l), in.vs(l));
    }
}

TEST(IdentificazioneManuale, ModesNotFoundIsReportedOnStandardError)
{
    Host host;
    Inputs in;
    in.frequencies = CMatrix::Column({ 5.0, 10.0, 10.0, 20.0, 30.0, 40.0 });
    testing::internal::CaptureStderr();
    RunManual(host, in);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Modes not found!\n");
}

TEST(IdentificazioneManuale, WritesItsDiagnosticDumpsIntoTheDumpFolder)
{
    char folder[] = "/tmp/vela-dump-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    setenv("VELA_DUMP_DIR", folder, 1);
    Host host;
    const Outputs out = RunManual(host, Inputs());
    unsetenv("VELA_DUMP_DIR");
    ASSERT_EQ(out.result, 0);
    struct Dump
    {
        const char *file;
        const char *start;
    };
    for (const Dump &dump :
        { Dump { "freq_.m", "freq=zeros(6,1);freq=[" }, Dump { "sp_.m", "sp=zeros(6,1);" },
            Dump { "sigma_.m", "sigma=zeros(6,1);" },
            Dump { "spessori_.m", "spessori=zeros(3,1);" },
            Dump { "densita_.m", "densita=zeros(4,1);" }, Dump { "vs_.m", "vs=zeros(4,1);" },
            Dump { "nu_.m", " nu=zeros(4,1); nu=[" }, Dump { "r1.txt", "r1=zeros(309,1);r1=[" } }) {
        SCOPED_TRACE(dump.file);
        const std::string path = std::string(folder) + "/" + dump.file;
        FILE *file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        char head[64] = {};
        const std::size_t read = std::fread(head, 1, sizeof head - 1, file);
        std::fclose(file);
        EXPECT_EQ(std::string(head, read).rfind(dump.start, 0), 0u) << head;
        std::remove(path.c_str());
    }
    rmdir(folder);
}

TEST(IdentificazioneManuale, InvertedFieldProfileFitsItsPicks)
{
    // The AlbCa teaching case: its inverted profile against its own fundamental-mode picks,
    // on the record's spread (24 receivers 3 m apart, the first 6 m from the source).
    const std::string folder = VELA_REALWORLD_DIR "/reference/albca_shot1/";
    std::ifstream modelFile(folder + "Shot1_inverted_model.txt");
    std::ifstream picks(folder + "Shot1_dc_mode0.txt");
    if (!modelFile || !picks)
        GTEST_SKIP() << "real-world reference data not present";
    std::vector<double> h, vs, nu, rho, f, c, x;
    std::string line;
    std::getline(modelFile, line);
    while (std::getline(modelFile, line)) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream in(line);
        double d = 0, vp = 0, s = 0, r = 0;
        if (!(in >> d >> vp >> s >> r))
            continue;
        h.push_back(d);
        vs.push_back(s);
        nu.push_back((vp * vp - 2.0 * s * s) / (2.0 * (vp * vp - s * s)));
        rho.push_back(r);
    }
    h.pop_back();
    std::getline(picks, line);
    for (double fi = 0, ci = 0; picks >> fi >> ci;) {
        f.push_back(fi);
        c.push_back(ci);
    }
    ASSERT_EQ(vs.size(), 6u);
    ASSERT_GT(f.size(), 40u);
    for (int j = 0; j < 24; ++j)
        x.push_back(6.0 + 3.0 * j);

    Host host;
    Inputs in;
    in.frequencies = CMatrix::Column(f);
    in.experimental = CMatrix::Column(c);
    in.deviations = CMatrix(static_cast<int>(f.size()), 1);
    in.thicknesses = CMatrix::Column(h);
    in.densities = CMatrix::Column(rho);
    in.vs = CMatrix::Column(vs);
    in.nu = CMatrix::Column(nu);
    in.offsets = CMatrix::Column(x);
    Outputs out = RunManual(host, in);
    ASSERT_EQ(out.result, 0);
    // The published fit is a few per cent; the apparent and the effective curve both follow
    // the fundamental mode here.
    EXPECT_LT(host.first, 0.03);
    EXPECT_LT(host.second, 0.04);
}
