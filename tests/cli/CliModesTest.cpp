// vela-cli modes and the model-file reader: valid files, every kind of bad input, and the
// CSV against the solver called directly.
#include "cli/CliModelFile.h"
#include "engine/RayleighSolver.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/engine/IndependentRayleigh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

using clitest::CliResult;
using clitest::ParseCsv;
using clitest::RunCli;
using clitest::TempDir;

const char *const TwoLayers = "# layer over a half-space\n"
                              "10, 400, 200, 1800\n"
                              "\n"
                              "% the half-space\n"
                              "0 1000 500 2000\n";

// ---------------------------------------------------------------------------------------

TEST(CliModelFile, ReadsLayersWithCommentsBlankLinesAndCommas)
{
    TempDir dir;
    const std::string path = dir.Write("model.txt",
        "  # comment\n5 300 150 1700 0.33\r\n\n"
        "8,500,250,1800,0.3,100,400\n0 900 450 2000\n");
    CliModel model;
    std::string error;
    ASSERT_TRUE(ReadCliModelFile(path, model, error)) << error;
    ASSERT_EQ(model.layers.size(), 3u);
    EXPECT_EQ(model.layers[0].columnCount, 5);
    EXPECT_EQ(model.layers[0].lineNumber, 2);
    EXPECT_EQ(model.layers[1].columnCount, 7);
    EXPECT_EQ(model.layers[1].values[6], 400.0);
    EXPECT_EQ(model.layers[2].values[2], 450.0);
    EXPECT_FALSE(CheckCliModelColumns(model, 4, 4, "4 numbers", error));
    EXPECT_NE(error.find("model.txt:2: expected 4 numbers, found 5"), std::string::npos) << error;
    EXPECT_TRUE(CheckCliModelColumns(model, 4, 7, "4 to 7 numbers", error));
}

TEST(CliModelFile, RejectsBadFilesWithTheFileAndLineInOneMessage)
{
    std::string hundredLayers;
    for (int i = 0; i < 100; ++i)
        hundredLayers += "1 400 200 1800\n";
    struct Case
    {
        const char *name;
        std::string text;
        const char *message;
    } cases[] = {
        { "not a number", "5 300 abc 1700\n", "bad.txt:1: 'abc' is not a number" },
        { "trailing garbage", "5 300 150x 1700\n", "'150x' is not a number" },
        { "not finite", "5 300 nan 1700\n", "'nan' is not a number" },
        { "three numbers", "# c\n5 300 150\n", "bad.txt:2: expected 4 to 7 numbers" },
        { "eight numbers", "1 2 3 4 5 6 7 8\n", "found 8" },
        { "negative Vs", "5 300 -150 1700\n", "bad.txt:1: negative Vs -150" },
        { "negative Vp", "5 -300 150 1700\n", "negative Vp" },
        { "negative Vs max", "5 300 150 1700 0.3 100 -4\n", "negative Vs max" },
        { "a hundred layers", hundredLayers, "bad.txt:100: more than 99 layers" },
        { "no layer", "# nothing\n\n", "bad.txt: no layer" },
        { "zero thickness above the half-space",
            "# top\n3 400 200 1800\n0 500 250 1900\n0 600 300 2000\n",
            "bad.txt:3: thickness must be positive" },
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write("bad.txt", c.text);
        CliModel model;
        std::string error;
        EXPECT_FALSE(ReadCliModelFile(path, model, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
    CliModel model;
    std::string error;
    EXPECT_FALSE(ReadCliModelFile(dir.Path("missing.txt"), model, error));
    EXPECT_NE(error.find("missing.txt: cannot open"), std::string::npos) << error;
}

TEST(CliModelFile, AcceptsNinetyNineLayersAndANegativePoissonRatio)
{
    std::string text;
    for (int i = 0; i < 99; ++i)
        text += "1 400 200 1800 -0.1\n";
    TempDir dir;
    CliModel model;
    std::string error;
    EXPECT_TRUE(ReadCliModelFile(dir.Write("m.txt", text), model, error)) << error;
    EXPECT_EQ(model.layers.size(), 99u);
}

// ---------------------------------------------------------------------------------------

TEST(CliModes, PrintsAscendingRowsThatMatchTheSolver)
{
    TempDir dir;
    const std::string model = dir.Write("two.txt", TwoLayers);
    const CliResult r =
        RunCli(dir, "modes --model '" + model + "' --fmin 2 --fmax 40 --df 1.5 --modes 3");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string header;
    const auto rows = ParseCsv(r.out, header);
    EXPECT_EQ(header, "freq_hz,mode1,mode2,mode3");
    ASSERT_EQ(rows.size(), 26u); // 2, 3.5, ..., 39.5

    std::vector<float> f;
    for (int i = 25; i >= 0; --i)
        f.push_back(2.0f + 1.5f * static_cast<float>(i));
    const float h[] = { 0.010f }, vp[] = { 0.4f, 1.0f }, vs[] = { 0.2f, 0.5f },
                rho[] = { 1.8f, 2.0f };
    const float n = 2.0f, refinement = 5.0f;
    const int count = 26, modes = 3;
    std::vector<double> direct(26 * 3, 0.0);
    SolveRayleighModes(h, vp, vs, rho, &n, &count, &modes, &refinement, f.data(), direct.data());
    for (int i = 0; i < 26; ++i) {
        ASSERT_EQ(rows[i].size(), 4u);
        EXPECT_DOUBLE_EQ(rows[i][0], 2.0 + 1.5 * i);
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(rows[i][j + 1], direct[(25 - i) * 3 + j] * 1000.0, 1e-6 * rows[i][j + 1])
                << "row " << i << " mode " << j + 1;
    }
    EXPECT_EQ(rows[0][3], 0.0) << "the third mode does not exist at 2 Hz";
    EXPECT_GT(rows[25][3], rows[25][2]) << "it exists at 39.5 Hz";
}

TEST(CliModes, AgreesWithAnIndependentDoublePrecisionRootFinder)
{
    // A stiff crust over a low-velocity layer over rock, in file units (m, m/s, kg/m^3).
    TempDir dir;
    const std::string model = dir.Write("lvl.txt",
        "4 450 250 1900\n"
        "6 300 150 1700\n"
        "0 750 400 2000\n");
    const std::string freqs = dir.Write("f.txt", "8 14 20\n");
    const CliResult r =
        RunCli(dir, "modes --model '" + model + "' --freqs '" + freqs + "' --modes 4");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string header;
    const auto rows = ParseCsv(r.out, header);
    ASSERT_EQ(rows.size(), 3u);
    const independent::IndependentModel reference { { 0.004, 0.006 }, { 0.45, 0.30, 0.75 },
        { 0.25, 0.15, 0.40 }, { 1.9, 1.7, 2.0 } };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row[0]) + " Hz");
        const std::vector<double> expected = IndependentModes(reference, row[0], 0.12);
        ASSERT_FALSE(expected.empty());
        for (std::size_t j = 0; j < 4; ++j) {
            if (j < expected.size())
                EXPECT_NEAR(row[j + 1], 1000.0 * expected[j], 2e-4 * 1000.0 * expected[j])
                    << "mode " << j + 1;
            else
                EXPECT_EQ(row[j + 1], 0.0) << "mode " << j + 1;
        }
    }
}

TEST(CliModes, FrequencyFileIsSortedAndDeduplicated)
{
    TempDir dir;
    const std::string model = dir.Write("two.txt", TwoLayers);
    const std::string freqs = dir.Write("f.txt", "# Hz\n30, 10\n20 10\n\n5\n");
    const CliResult r =
        RunCli(dir, "modes --model '" + model + "' --freqs '" + freqs + "' --modes 1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string header;
    const auto rows = ParseCsv(r.out, header);
    ASSERT_EQ(rows.size(), 4u);
    const double expected[] = { 5, 10, 20, 30 };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[i][0], expected[i]);
        EXPECT_GT(rows[i][1], 0.0);
    }
    EXPECT_GT(rows[0][1], rows[3][1]) << "normal dispersion: slower at high frequency";
}

TEST(CliModes, BadInputGivesOneLineOnStandardErrorAndExitCodeTwo)
{
    TempDir dir;
    const std::string good = dir.Write("two.txt", TwoLayers);
    const std::string five = dir.Write("five.txt", "10 400 200 1800 0.3\n0 1000 500 2000\n");
    const std::string text = dir.Write("text.txt", "10 400 two 1800\n0 1000 500 2000\n");
    const std::string negative = dir.Write("neg.txt", "10 400 200 1800\n0 1000 -500 2000\n");
    const std::string noDensity = dir.Write("rho.txt", "10 400 200 0\n0 1000 500 2000\n");
    const std::string negativeF = dir.Write("nf.txt", "5 -10 20\n");
    const std::string vpBelowVs = dir.Write("vp.txt", "10 400 200 1800\n0 500 500 2000\n");
    const std::string thin = dir.Write("thin.txt", "0 400 200 1800\n0 1000 500 2000\n");
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += "1 400 200 1800\n";
    const std::string hundred = dir.Write("many.txt", many);
    struct Case
    {
        std::string arguments;
        const char *message;
    } cases[] = {
        { "modes --model '" + dir.Path("none.txt") + "'", "cannot open the model file" },
        { "modes --model '" + five + "'", "five.txt:1: expected 4 numbers" },
        { "modes --model '" + text + "'", "text.txt:1: 'two' is not a number" },
        { "modes --model '" + negative + "'", "neg.txt:2: negative Vs" },
        { "modes --model '" + noDensity + "'", "rho.txt:1: density must be positive" },
        { "modes --model '" + vpBelowVs + "'", "vp.txt:2: Vp must exceed Vs" },
        { "modes --model '" + thin + "'", "thin.txt:1: thickness must be positive" },
        { "forward --model '" + thin + "' --curve '" + thin + "'",
            "thin.txt:1: thickness must be positive" },
        { "modes --model '" + hundred + "'", "more than 99 layers" },
        { "modes --model '" + good + "' --freqs '" + negativeF + "'", "negative frequency -10" },
        { "modes --model '" + good + "' --freqs '" + negativeF + "' --fmin 3", "not both" },
        { "modes --model '" + good + "' --df 0", "df > 0" },
        { "modes --model '" + good + "' --modes 2.5", "whole number" },
        { "modes --model '" + good + "' --refine x", "'x' is not a number" },
        { "modes --model '" + good + "' --bogus 1", "unknown option '--bogus'" },
        { "modes --model", "needs a value" },
        { "modes", "missing --model" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliResult r = RunCli(dir, c.arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

} // namespace

TEST(CliCommands, HelpAndVersionGoToStandardOutputWithExitZero)
{
    TempDir dir;
    for (const char *command :
        { "modes", "forward", "invert", "traces", "spectrum", "classify", "passive" }) {
        SCOPED_TRACE(command);
        // Help wins over every other argument, even missing or bad ones.
        for (const std::string &arguments :
            { std::string(command) + " --help", std::string(command) + " --bogus x -h" }) {
            const CliResult r = RunCli(dir, arguments);
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(r.out.rfind(std::string("Usage: vela-cli ") + command + " ", 0), 0u) << r.out;
            EXPECT_NE(r.out.find("Options:"), std::string::npos) << r.out;
        }
    }
    EXPECT_NE(RunCli(dir, "traces --help").out.find("XLSX"), std::string::npos);
    const CliResult version = RunCli(dir, "--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("vela-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    const CliResult usage = RunCli(dir, "--help");
    EXPECT_EQ(usage.exitCode, 0);
    EXPECT_NE(usage.out.find("vela-cli --version"), std::string::npos);
}
