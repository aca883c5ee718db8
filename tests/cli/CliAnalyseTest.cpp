// vela-cli analyse run as a real process on shot records the test synthesises: a ground of
// known Vs must come back as its Vs30, and a batch with a damaged record must go on past it.
#include "CliTestSupport.h"
#include "SyntheticShot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using synthshot::HalfSpaceShot;
using synthshot::RayleighRatio;

namespace {

// The "key: value" lines of the output.
std::map<std::string, std::string> Values(const std::string &out)
{
    std::map<std::string, std::string> values;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos)
            values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return values;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

bool Exists(const std::string &path) { return std::ifstream(path).good(); }

const std::string Common = " --dx 2 --dt 1 --band 8 45 --iterations 3";

} // namespace

// Vs 250 m/s with Poisson's ratio 0.25: the record's Rayleigh velocity, picked and inverted with
// the profile page's defaults (Poisson 0.2), gives back the ground's Vs30 and its category.
TEST(CliAnalyse, HomogeneousGroundGivesItsVs30)
{
    clitest::TempDir dir;
    const double vs = 250.0;
    const std::string record = dir.Write("shot.txt", HalfSpaceShot(RayleighRatio(0.25) * vs));
    const clitest::CliResult run = clitest::RunCli(
        dir, "analyse '" + record + "'" + Common + " --out '" + dir.Path("shot.vla") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Standard error is no terminal here and --verbose was not given: nothing on it.
    EXPECT_EQ(run.err, "");
    const std::map<std::string, std::string> values = Values(run.out);
    EXPECT_EQ(values.at("record"), record);
    EXPECT_GE(std::stoi(values.at("picked_points")), 2);
    const double vs30 = std::stod(values.at("vs30_ms"));
    EXPECT_NEAR(vs30, vs, 0.08 * vs) << run.out;
    // 180 to 360 m/s is category C under the 2008 rules.
    EXPECT_EQ(values.at("category"), "C");
    const int iterations = std::stoi(values.at("iterations"));
    EXPECT_GE(iterations, 1);
    EXPECT_LE(iterations, 3);
    const double apparent = std::stod(values.at("misfit_apparent"));
    EXPECT_GE(apparent, 0.0);
    EXPECT_LT(apparent, 0.2);
    // The profile: eight layers and the half-space, whose Vs30 is the harmonic mean over 30 m.
    std::string header;
    const auto rows =
        clitest::ParseCsv(run.out.substr(run.out.find("layer,thickness_m,vs_ms")), header);
    EXPECT_EQ(header, "layer,thickness_m,vs_ms");
    ASSERT_EQ(rows.size(), 9u);
    double depth = 0.0;
    double time = 0.0;
    for (const auto &row : rows) {
        const double h = row[1] > 0.0 ? std::min(row[1], 30.0 - depth) : 30.0 - depth;
        if (h > 0.0) {
            time += h / row[2];
            depth += h;
        }
    }
    EXPECT_NEAR(30.0 / time, vs30, 1e-6 * vs30);
    EXPECT_EQ(rows.back()[1], 0.0);
    EXPECT_TRUE(Exists(dir.Path("shot.vla")));

    // The code's own average as classify prints it.
    const clitest::CliResult ntc = clitest::RunCli(dir,
        "analyse '" + record + "'" + Common + " --code ntc2018 --out '" + dir.Path("n.vla") + "'");
    ASSERT_EQ(ntc.exitCode, 0) << ntc.err;
    const auto ntcValues = Values(ntc.out);
    EXPECT_EQ(ntcValues.count("vseq_ms"), 1u);
    EXPECT_EQ(ntcValues.count("h_m"), 1u);
}

// Three records, the second damaged: two analyses with their documents and reports, a summary
// row with the damaged record's message, and exit code 1.
TEST(CliAnalyse, BatchGoesOnPastADamagedRecord)
{
    clitest::TempDir dir;
    const std::string first = dir.Write("a.txt", HalfSpaceShot(RayleighRatio(0.25) * 200.0));
    const std::string damaged = dir.Write("b.txt", "0.000 1 2 3\n0.001 4 five 6\nrubbish\n");
    const std::string third = dir.Write("c.txt", HalfSpaceShot(RayleighRatio(0.25) * 400.0));
    const std::string out = dir.Path("out");
    const clitest::CliResult run = clitest::RunCli(dir,
        "analyse '" + first + "' '" + damaged + "' '" + third + "'" + Common + " --out-dir '" + out
            + "' --verbose");
    EXPECT_EQ(run.exitCode, 1) << run.err;
    for (const char *name : { "a.vla", "a.rtf", "c.vla", "c.rtf" })
        EXPECT_TRUE(Exists(out + "/" + name)) << name;
    EXPECT_FALSE(Exists(out + "/b.vla"));
    EXPECT_FALSE(Exists(out + "/b.rtf"));
    // Progress was asked for: record n of N.
    EXPECT_NE(run.err.find("record 1 of 3"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("record 3 of 3"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(damaged), std::string::npos) << run.err;

    const std::vector<std::string> summary = Lines(clitest::ReadAll(out + "/summary.csv"));
    ASSERT_EQ(summary.size(), 4u);
    EXPECT_EQ(summary[0], "record,vs30_ms,category,misfit_apparent,misfit_effective,status");
    const auto vs30Of = [](const std::string &row) {
        const std::size_t comma = row.find(',');
        return std::stod(row.substr(comma + 1));
    };
    EXPECT_EQ(summary[1].rfind(first + ",", 0), 0u);
    EXPECT_EQ(summary[1].substr(summary[1].size() - 3), ",ok");
    EXPECT_NEAR(vs30Of(summary[1]), 200.0, 16.0);
    EXPECT_EQ(summary[3].rfind(third + ",", 0), 0u);
    EXPECT_NEAR(vs30Of(summary[3]), 400.0, 32.0);
    // The damaged record: no values, and the reader's message as its status.
    EXPECT_EQ(summary[2].rfind(damaged + ",,,,,", 0), 0u) << summary[2];
    const std::string status = summary[2].substr(damaged.size() + 5);
    EXPECT_FALSE(status.empty());
    EXPECT_NE(status, "ok");
    // Its message on standard error is the one in the summary.
    const std::string unquoted =
        status.front() == '"' ? status.substr(1, status.size() - 2) : status;
    EXPECT_NE(run.err.find(unquoted), std::string::npos) << run.err << "\n" << status;

    // The two analyses on standard output, in order.
    const std::string &text = run.out;
    const std::size_t a = text.find("record: " + first);
    const std::size_t c = text.find("record: " + third);
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    EXPECT_LT(a, c);
    EXPECT_EQ(text.find("record: " + damaged), std::string::npos);
}

TEST(CliAnalyse, BadOptionsAreRefusedWithOneLine)
{
    clitest::TempDir dir;
    const std::string record = dir.Write("shot.txt", HalfSpaceShot(230.0));
    const std::string vla = " --out '" + dir.Path("x.vla") + "'";
    for (const std::string &arguments : {
             std::string("--dx 2 --band 8 45") + vla, // no record
             "'" + record + "' --band 8 45" + vla, // no spacing
             "'" + record + "' --dx 2" + vla, // no band
             "'" + record + "' --dx 2 --band 8 45", // no output
             "'" + record + "' '" + record + "' --dx 2 --band 8 45" + vla, // --out for two
             "'" + record + "' --dx 2 --band 8 45 --iterations 7" + vla, // not offered
             "'" + record + "' --dx 2 --band 8 45 --layers 9" + vla,
             "'" + record + "' --dx 2 --band 8 45 --code eurocode" + vla,
         }) {
        const clitest::CliResult run = clitest::RunCli(dir, "analyse " + arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(Lines(run.err).size(), 1u) << arguments << ": " << run.err;
        EXPECT_FALSE(Exists(dir.Path("x.vla"))) << arguments;
    }
    // A band the record cannot give is the record's failure, named with its message.
    const clitest::CliResult run =
        clitest::RunCli(dir, "analyse '" + record + "' --dx 2 --dt 1 --band 45 8" + vla);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(record), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(dir.Path("x.vla")));
}
