// vela-cli classify run as a real process: the keys of each code, values worked out by hand,
// and bad input.
#include "tests/cli/CliTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

using clitest::RunCli;
using clitest::TempDir;

// "key: value" lines in their order, and as a map.
std::vector<std::string> Keys(const std::string &out, std::map<std::string, std::string> &values)
{
    std::vector<std::string> keys;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        keys.push_back(line.substr(0, colon));
        values[keys.back()] = line.substr(colon + 2);
    }
    return keys;
}

// 10 m at 200 m/s, 20 m at 400 m/s, rock (1000 m/s) at 30 m.
const char *const SoilOnRockAt30 = "# thickness Vp Vs density\n"
                                   "10 400 200 1800\n"
                                   "20, 800, 400, 1900\n"
                                   "0 2000 1000 2100\n";

} // namespace

TEST(CliClassify, EachCodePrintsItsAverageAndCategory)
{
    TempDir dir;
    const std::string model = dir.Write("model.txt", SoilOnRockAt30);
    const struct
    {
        const char *code;
        std::vector<std::string> keys;
        std::map<std::string, double> numbers;
        const char *category;
    } cases[] = {
        { "dm2008", { "vs30_ms", "category" }, { { "vs30_ms", 300.0 } }, "C" },
        { "opcm2003", { "vs30_ms", "category" }, { { "vs30_ms", 300.0 } }, "C" },
        // Substrate at 30 m: not deeper than 30 m, so E rather than C.
        { "ntc2018", { "vs30_ms", "vseq_ms", "h_m", "category" },
            { { "vs30_ms", 300.0 }, { "vseq_ms", 300.0 }, { "h_m", 30.0 } }, "E" },
        // 100 ft: 10/200 + 20/400 + 0.48/1000 s.
        { "asce7-22", { "vs30_ms", "vs100ft_ms", "category" },
            { { "vs30_ms", 300.0 }, { "vs100ft_ms", 30.48 / 0.10048 } }, "D" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        const auto result =
            RunCli(dir, std::string("classify --model '") + model + "' --code " + c.code);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(result.err.empty());
        std::map<std::string, std::string> values;
        EXPECT_EQ(Keys(result.out, values), c.keys);
        for (const auto &[key, expected] : c.numbers)
            EXPECT_NEAR(std::stod(values[key]), expected, 1e-7 * expected) << key;
        EXPECT_EQ(values["category"], c.category);
    }
    // dm2008 is the default.
    const auto byDefault = RunCli(dir, "classify --model '" + model + "'");
    EXPECT_EQ(byDefault.out, RunCli(dir, "classify --model '" + model + "' --code dm2008").out);
}

TEST(CliClassify, OffsetMovesTheReferencePlane)
{
    TempDir dir;
    const std::string model = dir.Write("model.txt", SoilOnRockAt30);
    const auto result = RunCli(dir, "classify --model '" + model + "' --offset 5 --code ntc2018");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::map<std::string, std::string> values;
    Keys(result.out, values);
    // Vs30 from 5 m: 5 m of 200, 20 m of 400, 5 m of rock; the substrate is 25 m down.
    EXPECT_NEAR(std::stod(values["vs30_ms"]), 30.0 / (5.0 / 200 + 20.0 / 400 + 5.0 / 1000), 1e-5);
    EXPECT_NEAR(std::stod(values["vseq_ms"]), 25.0 / (5.0 / 200 + 20.0 / 400), 1e-5);
    EXPECT_NEAR(std::stod(values["h_m"]), 25.0, 1e-9);
    EXPECT_EQ(values["category"], "E");
    // Numbers carry at least 7 significant digits.
    EXPECT_NE(values["vs30_ms"].find("375"), std::string::npos);
    EXPECT_GE(values["vseq_ms"].size(), 8u) << values["vseq_ms"];
}

TEST(CliClassify, SoftSoilUnderNtc2018HasNoCategory)
{
    TempDir dir;
    const std::string model = dir.Write("soft.txt", "40 300 90 1600\n0 900 300 1800\n");
    const auto result = RunCli(dir, "classify --model '" + model + "' --code ntc2018");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("category: none\n"), std::string::npos) << result.out;
    // The long-standing definitions still classify it: Vs30 90 m/s, no special layers, D.
    const auto old = RunCli(dir, "classify --model '" + model + "'");
    EXPECT_NE(old.out.find("vs30_ms: 90\ncategory: D\n"), std::string::npos) << old.out;
}

TEST(CliClassify, BadInputIsOneLineOnStandardErrorAndExitTwo)
{
    TempDir dir;
    const std::string model = dir.Write("model.txt", SoilOnRockAt30);
    const std::string zeroVs = dir.Write("zero.txt", "10 400 0 1800\n0 2000 1000 2100\n");
    const std::string columns = dir.Write("cols.txt", "10 400 200\n0 2000 1000 2100\n");
    const std::string arguments[] = {
        "classify",
        "classify --model '" + model + "' --code ec8",
        "classify --model '" + model + "' --offset -1",
        "classify --model '" + model + "' --offset deep",
        "classify --model '" + model + "' --bedrock 2",
        "classify --model '" + dir.Path("missing.txt") + "'",
        "classify --model '" + zeroVs + "'",
        "classify --model '" + columns + "'",
    };
    for (const std::string &argument : arguments) {
        SCOPED_TRACE(argument);
        const auto result = RunCli(dir, argument);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.empty());
        ASSERT_FALSE(result.err.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}
