// The pieces vela-cli forward and invert share: the curve-file reader, the model's
// conversion for the engine, and the option helpers.
#include "cli/CliCurveFile.h"
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "tests/cli/CliTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using clitest::TempDir;

struct GoodCurveCase
{
    const char *name;
    const char *text;
    std::vector<double> frequencies, velocities;
    std::vector<bool> bounded;
};

TEST(CliCurveFile, ReadsPointsWithCommentsCommasAndOptionalBounds)
{
    const GoodCurveCase cases[] = {
        { "blank separated", "5 300\n10 250\n", { 5, 10 }, { 300, 250 }, { false, false } },
        { "comments, blank lines and CRLF", "# f c\n\n  % note\r\n5\t300\r\n\n10 250\r\n",
            { 5, 10 }, { 300, 250 }, { false, false } },
        { "commas and bounds", "5, 300, 270, 330\n10,250\n", { 5, 10 }, { 300, 250 },
            { true, false } },
        { "plus sign and exponent", "+5e0 3.0e2 2.4e2 3.6e2\n", { 5 }, { 300 }, { true } },
    };
    TempDir dir;
    for (const GoodCurveCase &c : cases) {
        SCOPED_TRACE(c.name);
        CliCurve curve;
        std::string error;
        ASSERT_TRUE(ReadCliCurveFile(dir.Write("c.txt", c.text), curve, error)) << error;
        EXPECT_EQ(curve.frequencies, c.frequencies);
        EXPECT_EQ(curve.velocities, c.velocities);
        EXPECT_EQ(curve.hasBounds, c.bounded);
    }
}

TEST(CliCurveFile, RefusesBadFilesWithOneLineNamingFileAndLine)
{
    std::string tooMany;
    for (int i = 1; i <= CliCurveMaxPoints + 1; ++i)
        tooMany += std::to_string(i) + " 200\n";
    struct Case
    {
        const char *name;
        std::string text;
        const char *message;
    } cases[] = {
        { "one number", "# c\n5\n", "c.txt:2: expected 2 numbers (frequency, velocity) or 4" },
        { "three numbers", "5 300 200\n", "found 3" },
        { "five numbers", "5 300 200 400 1\n", "found 5" },
        { "not a number", "5 fast\n", "c.txt:1: 'fast' is not a number" },
        { "decimal comma", "5 300,5\n", "found 3" },
        { "infinite velocity", "5 inf\n", "'inf' is not a number" },
        { "zero frequency", "0 300\n", "the frequency must be positive" },
        { "decreasing frequencies", "10 300\n5 350\n", "c.txt:2: the frequencies must increase" },
        { "repeated frequency", "10 300\n10 350\n", "the frequencies must increase" },
        { "negative velocity", "10 -300\n", "the velocity must be positive" },
        { "reversed bounds", "10 300 330 270\n", "the maximum velocity must exceed the minimum" },
        { "empty bounds", "10 300 300 300\n", "must exceed the minimum" },
        { "no point", "# nothing\n\n", "c.txt: no point in the curve file" },
        { "too many points", tooMany, "more than 10000 points" },
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CliCurve curve;
        std::string error;
        EXPECT_FALSE(ReadCliCurveFile(dir.Write("c.txt", c.text), curve, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    CliCurve curve;
    std::string error;
    EXPECT_FALSE(ReadCliCurveFile(dir.Path("absent.txt"), curve, error));
    EXPECT_NE(error.find("absent.txt: cannot open the curve file"), std::string::npos) << error;
}

TEST(CliCurveFile, DeviationIsASixthOfTheBoundsOrAShareOfTheVelocity)
{
    TempDir dir;
    CliCurve curve;
    std::string error;
    ASSERT_TRUE(ReadCliCurveFile(dir.Write("c.txt", "5 300 240 360\n10 200\n"), curve, error));
    const std::vector<double> deviations = CliCurveDeviations(curve, 0.05);
    ASSERT_EQ(deviations.size(), 2u);
    EXPECT_DOUBLE_EQ(deviations[0], 20.0);
    EXPECT_DOUBLE_EQ(deviations[1], 10.0);
}

// ---------------------------------------------------------------------------------------

TEST(CliEngineProfile, ConvertsDensityAndTakesPoissonFromColumnFiveOrFromVpAndVs)
{
    TempDir dir;
    CliModel model;
    std::string error;
    // Vp = Vs * sqrt(3) gives 0.25; with column 5 the Vp column plays no part.
    ASSERT_TRUE(ReadCliModelFile(dir.Write("m.txt",
                                     "4 346.41016151377545 200 1800\n"
                                     "6 0 300 1900 0.3\n"
                                     "0 1 500 2100 0.35 250 900\n"),
        model, error))
        << error;
    CliEngineProfile profile;
    ASSERT_TRUE(ToCliEngineProfile(model, profile, error)) << error;
    EXPECT_EQ(profile.thickness, (std::vector<double> { 4, 6 }));
    EXPECT_EQ(profile.vs, (std::vector<double> { 200, 300, 500 }));
    ASSERT_EQ(profile.density.size(), 3u);
    EXPECT_DOUBLE_EQ(profile.density[0], 1.8);
    EXPECT_DOUBLE_EQ(profile.density[2], 2.1);
    ASSERT_EQ(profile.poisson.size(), 3u);
    EXPECT_NEAR(profile.poisson[0], 0.25, 1e-12);
    EXPECT_EQ(profile.poisson[1], 0.3);
    EXPECT_EQ(profile.poisson[2], 0.35);
}

TEST(CliEngineProfile, RefusesLayersTheEngineCannotTakeAndRunsTheCommandsOwnCheck)
{
    struct Case
    {
        const char *name;
        const char *text;
        const char *message;
    } cases[] = {
        { "zero Vs", "0 400 0 1800\n", "m.txt:1: Vs must be positive" },
        { "zero density", "2 400 200 1800\n0 400 200 0\n", "m.txt:2: density must be positive" },
        { "Vp not above Vs", "0 200 200 1800\n", "Vp must exceed Vs (or give Poisson's ratio" },
        { "Poisson 0.5", "0 0 200 1800 0.5\n", "Poisson's ratio must lie between -1 and 0.5" },
        { "Poisson -1", "0 0 200 1800 -1\n", "must lie between -1 and 0.5" },
        // The command's own check runs only after the common ones of the same line.
        { "own check", "2 400 200 1800\n0 400 200 1800 0.3 100 400\n", "m.txt:2: own check" },
        { "common check first", "0 400 200 0 0.3 100\n", "m.txt:1: density must be positive" },
    };
    const CliLayerCheck noBounds = [](const CliModelLayer &layer, const std::string &where,
                                       std::string &error) {
        if (layer.columnCount < 6)
            return true;
        error = where + "own check";
        return false;
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CliModel model;
        std::string error;
        ASSERT_TRUE(ReadCliModelFile(dir.Write("m.txt", c.text), model, error)) << error;
        CliEngineProfile profile;
        EXPECT_FALSE(ToCliEngineProfile(model, profile, error, noBounds));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// ---------------------------------------------------------------------------------------

TEST(CliOptions, SplitsNamesAndValuesAndRefusesStrayArguments)
{
    struct Case
    {
        const char *name;
        std::vector<std::string> arguments;
        const char *error; // empty: accepted
        std::size_t count;
    } cases[] = {
        { "pairs and a flag", { "--model", "m.txt", "--fast", "--modes", "3" }, "", 3 },
        { "a value that looks like an option", { "--model", "--fast" }, "", 1 },
        { "no arguments", {}, "", 0 },
        { "stray argument", { "m.txt" }, "unexpected argument 'm.txt'", 0 },
        { "stray argument before a value", { "x", "1" }, "unexpected argument 'x'", 0 },
        { "missing value", { "--modes", "3", "--model" }, "option --model needs a value", 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> storage = c.arguments;
        std::vector<char *> argv;
        for (std::string &a : storage)
            argv.push_back(a.data());
        std::vector<CliOption> options;
        std::string error;
        const bool ok = SplitCliOptions(
            static_cast<int>(argv.size()), argv.data(), { "--fast" }, options, error);
        EXPECT_EQ(ok, std::string(c.error).empty()) << error;
        if (ok) {
            EXPECT_EQ(options.size(), c.count);
        } else {
            EXPECT_EQ(error, c.error);
        }
    }
}

TEST(CliOptions, NumericValuesAreCheckedWithTheOptionInTheMessage)
{
    std::string error;
    int whole = -1;
    double number = -1.0;
    EXPECT_TRUE(CliWholeOption({ "--modes", "4" }, 1, 10, whole, error));
    EXPECT_EQ(whole, 4);
    EXPECT_TRUE(CliPositiveOption({ "--spacing", "2.5" }, "the spacing", number, error));
    EXPECT_EQ(number, 2.5);

    struct Case
    {
        const char *value;
        const char *wholeError;
        const char *positiveError;
    } cases[] = {
        { "abc", "option --x: 'abc' is not a number", "option --x: 'abc' is not a number" },
        { "2.5", "option --x: expected a whole number from 1 to 10, got '2.5'", nullptr },
        { "0", "option --x: expected a whole number from 1 to 10, got '0'",
            "option --x: the size must be positive, got '0'" },
        { "11", "option --x: expected a whole number from 1 to 10, got '11'", nullptr },
        { "-3", "option --x: expected a whole number from 1 to 10, got '-3'",
            "option --x: the size must be positive, got '-3'" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        whole = 7;
        EXPECT_FALSE(CliWholeOption({ "--x", c.value }, 1, 10, whole, error));
        EXPECT_EQ(error, c.wholeError);
        EXPECT_EQ(whole, 7) << "a refused value is not stored";
        number = 7.0;
        const bool positive = CliPositiveOption({ "--x", c.value }, "the size", number, error);
        EXPECT_EQ(positive, c.positiveError == nullptr);
        if (c.positiveError) {
            EXPECT_EQ(error, c.positiveError);
        }
    }
}

TEST(CliOptions, RefinementAboveTheLimitIsRefusedBeforeTheSolverRuns)
{
    std::string error;
    double refinement = 5.0;
    EXPECT_TRUE(CliRefinementOption({ "--refine", "0.5" }, refinement, error));
    EXPECT_EQ(refinement, 0.5) << "small values are the engine's business (they mean 5)";
    EXPECT_TRUE(CliRefinementOption({ "--refine", "100" }, refinement, error));
    EXPECT_EQ(refinement, 100.0);
    for (const char *value : { "100.5", "1e7", "inf", "nan" }) {
        SCOPED_TRACE(value);
        refinement = 5.0;
        EXPECT_FALSE(CliRefinementOption({ "--refine", value }, refinement, error));
        EXPECT_EQ(refinement, 5.0);
        EXPECT_NE(error.find("option --refine: "), std::string::npos) << error;
    }
}

} // namespace
