// vela-cli forward run as a real process: the CSV layout, its modal columns against
// vela-cli modes, a curve computed from the model itself, and every kind of bad input.
#include "tests/cli/CliTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using clitest::CliResult;
using clitest::ParseCsv;
using clitest::RunCli;
using clitest::TempDir;

// Vp = 2 Vs in both: Poisson's ratio 1/3 derived from the columns, as vela-cli modes takes Vp.
const char *const TwoLayers = "# layer over a half-space\n"
                              "10, 400, 200, 1800\n"
                              "0 1000 500 2000\n";

// Ascending, one line with bounds, a comment and a comma line among them.
const char *const Curve = "# f c\n5 330\n10, 280\n15 250 230 270\n20 220\n25 210\n% x\n"
                          "30 200\n40 190\n";
const double CurveFrequencies[] = { 5, 10, 15, 20, 25, 30, 40 };
const double CurveVelocities[] = { 330, 280, 250, 220, 210, 200, 190 };

// The value of a "misfit_NAME: VALUE" line, or -1 when it is missing or not a number.
double Misfit(const std::vector<std::string> &comments, const std::string &name)
{
    const std::string prefix = "misfit_" + name + ": ";
    for (const std::string &line : comments) {
        if (line.rfind(prefix, 0) == 0) {
            try {
                return std::stod(line.substr(prefix.size()));
            } catch (...) {
                return -1.0;
            }
        }
    }
    return -1.0;
}

TEST(CliForward, PrintsOneRowPerCurvePointWhoseModalColumnsMatchVelaCliModes)
{
    TempDir dir;
    const std::string model = dir.Write("two.txt", TwoLayers);
    const std::string curve = dir.Write("curve.txt", Curve);
    const CliResult r = RunCli(dir, "forward --model '" + model + "' --curve '" + curve + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string header;
    std::vector<std::string> comments;
    const auto rows = ParseCsv(r.out, header, &comments);
    EXPECT_EQ(header, "freq_hz,experimental,apparent,effective,mode1,mode2,mode3");
    ASSERT_EQ(rows.size(), 7u);
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(comments[0].rfind("misfit_apparent: ", 0), 0u) << comments[0];
    EXPECT_EQ(comments[1].rfind("misfit_effective: ", 0), 0u) << comments[1];
    // A fraction, not a percentage: the curve is not the model's, but not 100 % off either.
    EXPECT_GT(Misfit(comments, "apparent"), 0.01) << "the curve is not the model's";
    EXPECT_LT(Misfit(comments, "apparent"), 1.0);

    const std::string freqs = dir.Write("f.txt", "5 10 15 20 25 30 40\n");
    const CliResult modes =
        RunCli(dir, "modes --model '" + model + "' --freqs '" + freqs + "' --modes 3");
    ASSERT_EQ(modes.exitCode, 0) << modes.err;
    std::string modesHeader;
    const auto modal = ParseCsv(modes.out, modesHeader);
    ASSERT_EQ(modal.size(), 7u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::to_string(CurveFrequencies[i]) + " Hz");
        ASSERT_EQ(rows[i].size(), 7u);
        EXPECT_EQ(rows[i][0], CurveFrequencies[i]);
        EXPECT_EQ(rows[i][1], CurveVelocities[i]);
        EXPECT_GT(rows[i][2], 0.0) << "apparent";
        EXPECT_GT(rows[i][3], 0.0) << "effective";
        for (int mode = 0; mode < 3; ++mode)
            EXPECT_NEAR(rows[i][4 + mode], modal[i][1 + mode], 1e-6 * modal[i][1 + mode] + 1e-9)
                << "mode " << mode + 1;
    }
    // A single mode exists at 5 Hz: the apparent curve is that mode.
    EXPECT_EQ(rows[0][5], 0.0);
    EXPECT_NEAR(rows[0][2], rows[0][4], 1e-6 * rows[0][4]);
}

TEST(CliForward, CurveOfTheModelItselfGivesASmallMisfitAndOptionsShapeTheColumns)
{
    TempDir dir;
    // Poisson's ratio in column 5; bounds in columns 6 and 7 are allowed and not used.
    const std::string model =
        dir.Write("three.txt", "3 0 150 1800 0.3\n6 0 250 1900 0.3 100 400\n0 0 400 2000 0.3\n");
    std::string flat;
    for (int f = 5; f <= 50; f += 5)
        flat += std::to_string(f) + " 250\n";
    const std::string options = " --modes 2 --receivers 30 --spacing 1.5 --refine 5";
    const CliResult first = RunCli(dir,
        "forward --model '" + model + "' --curve '" + dir.Write("flat.txt", flat) + "'" + options);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    std::string header;
    std::vector<std::string> comments;
    const auto rows = ParseCsv(first.out, header, &comments);
    EXPECT_EQ(header, "freq_hz,experimental,apparent,effective,mode1,mode2");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_GT(Misfit(comments, "apparent"), 0.05);

    // Feed the model's own apparent and effective curves back as the experimental curve.
    std::string apparent, effective;
    for (const auto &row : rows) {
        ASSERT_EQ(row.size(), 6u);
        char line[96];
        std::snprintf(line, sizeof line, "%.9g %.9g\n", row[0], row[2]);
        apparent += line;
        std::snprintf(line, sizeof line, "%.9g %.9g\n", row[0], row[3]);
        effective += line;
    }
    for (const auto &[name, text] : { std::pair<std::string, std::string> { "apparent", apparent },
             std::pair<std::string, std::string> { "effective", effective } }) {
        SCOPED_TRACE(name);
        const CliResult again = RunCli(dir,
            "forward --model '" + model + "' --curve '" + dir.Write(name + ".txt", text) + "'"
                + options);
        ASSERT_EQ(again.exitCode, 0) << again.err;
        std::vector<std::string> misfits;
        const auto same = ParseCsv(again.out, header, &misfits);
        ASSERT_EQ(same.size(), rows.size());
        const double misfit = Misfit(misfits, name);
        EXPECT_GE(misfit, 0.0);
        EXPECT_LT(misfit, 1e-6);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(same[i][4], rows[i][4]) << "the modal curve does not depend on the data";
    }
}

TEST(CliForward, BadInputGivesOneLineOnStandardErrorAndExitCodeTwo)
{
    TempDir dir;
    const std::string model = dir.Write("two.txt", TwoLayers);
    const std::string curve = dir.Write("curve.txt", Curve);
    const auto run = [&](const std::string &m, const std::string &c) {
        return "forward --model '" + m + "' --curve '" + c + "'";
    };
    struct Case
    {
        std::string arguments;
        const char *message;
    } cases[] = {
        { run(dir.Path("none.txt"), curve), "none.txt: cannot open the model file" },
        { run(model, dir.Path("none.txt")), "none.txt: cannot open the curve file" },
        { run(model, dir.Write("word.txt", "5 330\n10 fast\n")),
            "word.txt:2: 'fast' is not a number" },
        { run(model, dir.Write("three.txt", "5 330 300\n")),
            "three.txt:1: expected 2 numbers (frequency, velocity) or 4" },
        { run(model, dir.Write("down.txt", "10 280\n5 330\n")),
            "down.txt:2: the frequencies must increase" },
        { run(model, dir.Write("bounds.txt", "5 330 360 300\n")), "must exceed the minimum" },
        { run(model, dir.Write("empty.txt", "# none\n")), "no point in the curve file" },
        { run(dir.Write("m3.txt", "10 400 200\n0 1000 500 2000\n"), curve),
            "m3.txt:1: expected 4 to 7 numbers" },
        { run(dir.Write("vp.txt", "10 400 200 1800\n0 400 500 2000\n"), curve),
            "vp.txt:2: Vp must exceed Vs" },
        { run(dir.Write("nu.txt", "0 0 200 1800 0.5\n"), curve), "between -1 and 0.5" },
        { run(model, curve) + " --receivers 0", "expected a whole number from 1 to 8192" },
        { run(model, curve) + " --modes 2.5", "option --modes: expected a whole number" },
        { run(model, curve) + " --spacing 0", "the receiver spacing must be positive" },
        { run(model, curve) + " --refine x", "option --refine: 'x' is not a number" },
        { run(model, curve) + " --bogus 1", "unknown option '--bogus'" },
        { run(model, curve) + " extra", "unexpected argument 'extra'" },
        { run(model, curve) + " --modes", "option --modes needs a value" },
        { "forward --curve '" + curve + "'", "missing --model FILE" },
        { "forward --model '" + model + "'", "missing --curve FILE" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliResult r = RunCli(dir, c.arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("vela-cli forward: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

} // namespace
