// vela-cli profile run as a real process: the proposed Vs against the rule worked by hand, the
// layer count, and the model file read back by vela-cli forward.
#include "tests/cli/CliTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using clitest::CliResult;
using clitest::ParseCsv;
using clitest::RunCli;
using clitest::TempDir;

TEST(CliProfile, ProposesVsFromTheCurveAndForwardReadsTheModel)
{
    TempDir dir;
    // Depths 0.4 v / f: 8 m, 4 m and 1.6 m; the middle point carries bounds.
    const std::string curve = dir.Write("c.txt", "10 200\n25 250 200 300\n50 200\n");
    const CliResult r = RunCli(dir, "profile --curve '" + curve + "' --layers 3");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string header;
    const auto rows = ParseCsv(r.out, header);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    // Layers of 2, 3 and 3 m: middles 1, 3.5 and 6.5 m take the points at 1.6, 4 and 8 m; the
    // half-space the first point.
    const double expected[] = { 200 / 0.9, 250 / 0.9, 200 / 0.9, 200 / 0.9 };
    const double thickness[] = { 2, 3, 3, 0 };
    for (std::size_t l = 0; l < rows.size(); ++l) {
        SCOPED_TRACE(l);
        ASSERT_EQ(rows[l].size(), 7u);
        EXPECT_EQ(rows[l][0], thickness[l]);
        EXPECT_NEAR(rows[l][2], expected[l], 1e-6 * expected[l]);
        EXPECT_NEAR(rows[l][1], expected[l] * std::sqrt(8.0 / 3.0), 1e-6 * rows[l][1]);
        EXPECT_EQ(rows[l][3], 1800.0);
        EXPECT_EQ(rows[l][4], 0.2);
        EXPECT_NEAR(rows[l][5], 0.5 * expected[l], 1e-6 * expected[l]);
        EXPECT_NEAR(rows[l][6], 2.0 * expected[l], 1e-6 * expected[l]);
    }
    const CliResult forward =
        RunCli(dir, "forward --model '" + dir.Write("m.txt", r.out) + "' --curve '" + curve + "'");
    EXPECT_EQ(forward.exitCode, 0) << forward.err;

    const CliResult defaults = RunCli(dir, "profile --curve '" + curve + "'");
    ASSERT_EQ(defaults.exitCode, 0);
    EXPECT_EQ(ParseCsv(defaults.out, header).size(), 9u);
    const CliResult tooMany = RunCli(dir, "profile --curve '" + curve + "' --layers 10");
    EXPECT_EQ(tooMany.exitCode, 2);
    EXPECT_EQ(tooMany.out, "");
}
