// vela-cli invert end to end: options and model-file bounds refused with exit code 2, and a
// search through runner that finds a known profile from its own forward curve.
#include "jobs/CRunnerChild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const std::string Cli = VELA_CLI_PATH;

struct Outcome
{
    int code = -100;
    std::string out, err;
};

std::string Scratch(const std::string &name, const std::string &text)
{
    const std::string path = "/tmp/vela-cli-invert-" + std::to_string(::getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

std::string Slurp(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Outcome RunCli(const std::vector<std::string> &args)
{
    const std::string out = Scratch("out", ""), err = Scratch("err", "");
    std::string command = "'" + Cli + "'";
    for (const std::string &a : args)
        command += " '" + a + "'";
    command += " >'" + out + "' 2>'" + err + "'";
    CRunnerChild child;
    Outcome o;
    if (child.Start("/bin/sh", { "-c", command }))
        o.code = child.Wait();
    o.out = Slurp(out);
    o.err = Slurp(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return o;
}

// The final profile's Vs column (the third) from the model-file lines of standard output.
std::vector<double> FinalVs(const std::string &out)
{
    std::vector<double> vs;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.find(':') != std::string::npos)
            break; // the key lines of a many-start search follow the profile
        std::istringstream cells(line);
        std::string cell;
        for (int column = 0; column < 3 && std::getline(cells, cell, ','); ++column) {
            if (column == 2)
                vs.push_back(std::stod(cell));
        }
    }
    return vs;
}

const char *const TrueModel = "3 0 150 1800 0.3\n5 0 250 1900 0.3\n8 0 350 2000 0.3\n"
                              "0 0 500 2100 0.3\n";

} // namespace

TEST(CliInvert, BadOptionsAndModelFilesExitWithTwoAndOneLine)
{
    const std::string curve = Scratch("curve", "10 200\n20 180\n");
    const std::string model = Scratch("model", TrueModel);
    const std::string six = Scratch("six", "3 0 150 1800 0.3 100\n0 0 500 2100 0.3\n");
    const std::string outside = Scratch("outside", "3 0 150 1800 0.3 160 300\n0 0 500 2100 0.3\n");
    const std::string badCurve = Scratch("badcurve", "10 200 220 180\n");
    struct Case
    {
        const char *name;
        std::vector<std::string> args;
        const char *message;
    };
    const Case cases[] = {
        { "no model", { "--curve", curve }, "missing --model FILE" },
        { "unknown option", { "--model", model, "--curve", curve, "--fast", "1" },
            "unknown option" },
        { "negative iterations", { "--model", model, "--curve", curve, "--iterations", "-1" },
            "--iterations" },
        { "negative target", { "--model", model, "--curve", curve, "--target-error", "-5" },
            "--target-error" },
        { "Vs min without Vs max", { "--model", six, "--curve", curve }, "needs Vs max" },
        { "bounds not around Vs", { "--model", outside, "--curve", curve }, "enclose Vs" },
        { "curve bounds reversed", { "--model", model, "--curve", badCurve }, "must exceed" },
        { "missing curve", { "--model", model, "--curve", "/nonexistent/c.txt" }, "cannot open" },
        { "no start", { "--model", model, "--curve", curve, "--starts", "0" }, "--starts" },
        { "starts not whole", { "--model", model, "--curve", curve, "--starts", "2.5" },
            "--starts" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args { "invert" };
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome o = RunCli(args);
        EXPECT_EQ(o.code, 2);
        EXPECT_EQ(o.err.rfind("vela-cli invert: ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
    }
    for (const std::string &p : { curve, model, six, outside, badCurve })
        std::remove(p.c_str());
}

TEST(CliInvert, FindsAKnownProfileAndKeepsItsBoundsFromTheModelFile)
{
    // The experimental curve is the forward run's apparent curve of the true profile.
    std::string grid;
    for (int i = 0; i < 31; ++i)
        grid += std::to_string(5.0 + 1.5 * i) + " 200\n";
    const std::string truth = Scratch("truth", TrueModel);
    const std::string flat = Scratch("flat", grid);
    const Outcome forward = RunCli({ "forward", "--model", truth, "--curve", flat });
    ASSERT_EQ(forward.code, 0) << forward.err;
    std::istringstream rows(forward.out);
    std::string row, curveText;
    std::getline(rows, row); // header
    while (std::getline(rows, row) && row.find(':') == std::string::npos) {
        std::vector<std::string> cells;
        std::stringstream cellStream(row);
        for (std::string cell; std::getline(cellStream, cell, ',');)
            cells.push_back(cell);
        curveText += cells[0] + " " + cells[2] + "\n";
    }
    const std::string curve = Scratch("synthetic", curveText);

    // Start 30% fast, except the third layer, which may not exceed 330 m/s (its truth is 350).
    const std::string start = Scratch("start",
        "3 0 195 1800 0.3\n5 0 325 1900 0.3\n"
        "8 0 320 2000 0.3 200 330\n0 0 650 2100 0.3\n");
    const Outcome o = RunCli({ "invert", "--model", start, "--curve", curve, "--iterations", "8",
        "--target-error", "1" });
    ASSERT_EQ(o.code, 0) << o.err;
    // The progress goes to standard error, misfits as fractions under their keys.
    EXPECT_NE(o.err.find("search started\n"), std::string::npos);
    EXPECT_NE(o.err.find("iteration 1, trial 1: misfit_trial: "), std::string::npos);
    EXPECT_NE(o.err.find("end: "), std::string::npos);
    EXPECT_EQ(o.out.find("search started"), std::string::npos);
    EXPECT_EQ(o.out.find('%'), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("# misfit_apparent: "), std::string::npos);
    const std::vector<double> vs = FinalVs(o.out);
    ASSERT_EQ(vs.size(), 4u) << o.out;
    EXPECT_LE(vs[2], 330.0);
    EXPECT_NEAR(vs[0], 150.0, 0.1 * 150.0);
    EXPECT_NEAR(vs[1], 250.0, 0.1 * 250.0);

    // The printed profile is a model file: forward reads it back and, with the search's one
    // mode, finds the misfit the search reported for it.
    const std::string final = Scratch("final", o.out);
    const Outcome again = RunCli({ "forward", "--model", final, "--curve", curve, "--modes", "1" });
    ASSERT_EQ(again.code, 0) << again.err;
    const std::size_t at = again.out.find("misfit_apparent: ");
    const std::size_t reported = o.out.find("# misfit_apparent: ");
    ASSERT_NE(at, std::string::npos);
    ASSERT_NE(reported, std::string::npos);
    const double searched = std::stod(o.out.substr(reported + 19));
    EXPECT_GT(searched, 0.0);
    EXPECT_NEAR(std::stod(again.out.substr(at + 17)), searched, 1e-3 * searched);
    for (const std::string &p : { truth, flat, curve, start, final })
        std::remove(p.c_str());
}

namespace {

// The Oysand composite curve (wavelength, mean, low and high velocity of four real records)
// as a curve file of ascending frequencies; empty when the field data are not present.
std::string OysandCurve(double *longestWavelength)
{
    std::ifstream in(VELA_REALWORLD_DIR "/reference/oysand/Oysand_dc.txt");
    if (!in)
        return {};
    std::string line;
    std::getline(in, line); // header
    std::vector<std::vector<double>> points;
    *longestWavelength = 0;
    while (std::getline(in, line)) {
        std::istringstream cells(line);
        double wavelength = 0, c = 0, low = 0, high = 0;
        if (cells >> wavelength >> c >> low >> high) {
            points.push_back({ c / wavelength, c, low, high });
            *longestWavelength = std::max(*longestWavelength, wavelength);
        }
    }
    std::string curveText;
    for (auto p = points.rbegin(); p != points.rend(); ++p) {
        char row[128];
        std::snprintf(row, sizeof row, "%.6f %.3f %.3f %.3f\n", (*p)[0], (*p)[1], (*p)[2], (*p)[3]);
        curveText += row;
    }
    return curveText;
}

double KeyValue(const std::string &out, const std::string &key, double *second = nullptr)
{
    const std::size_t at = out.find("\n" + key + ": ");
    if (at == std::string::npos)
        return std::nan("");
    std::istringstream in(out.substr(at + key.size() + 3));
    double value = std::nan("");
    in >> value;
    if (second)
        in >> *second;
    return value;
}

} // namespace

TEST(CliInvert, ManyStartsGiveTheBandVs30RangeAndDepthOfInvestigationOfTheOysandCurve)
{
    double longest = 0;
    const std::string curveText = OysandCurve(&longest);
    if (curveText.empty())
        GTEST_SKIP() << "field data not present";
    const std::string curve = Scratch("oysand-many", curveText);
    const std::string model = Scratch("oysand-many-model",
        "0.8 0 119 1850 0.3\n1 0 127 1900 0.3\n"
        "8 1500 167 1950\n0 1500 189 1950\n");
    const Outcome o = RunCli({ "invert", "--model", model, "--curve", curve, "--iterations", "10",
        "--target-error", "0", "--spacing", "2", "--receivers", "24", "--starts", "8" });
    ASSERT_EQ(o.code, 0) << o.err;
    // Progress on standard error, the results alone on standard output.
    EXPECT_NE(o.err.find("search: 8 starts\n"), std::string::npos);
    EXPECT_NE(o.err.find("start 8 done"), std::string::npos);
    EXPECT_EQ(o.out.find("start 8 done"), std::string::npos);
    const std::vector<double> vs = FinalVs(o.out);
    ASSERT_EQ(vs.size(), 4u) << o.out;

    // Vs30 of the printed profile, by its travel time (the printed Vs carry 6 digits).
    const double vs30 = KeyValue(o.out, "vs30_ms");
    EXPECT_NEAR(vs30, 30.0 / (0.8 / vs[0] + 1.0 / vs[1] + 8.0 / vs[2] + 20.2 / vs[3]), 1e-5 * vs30);
    double p90 = 0;
    const double p10 = KeyValue(o.out, "vs30_range_ms", &p90);
    EXPECT_LE(p10, p90);
    EXPECT_GT(p10, 0.8 * vs30);
    EXPECT_LT(p90, 1.2 * vs30);
    // Half the longest wavelength of the records: under 30 m, which a comment says.
    EXPECT_NEAR(KeyValue(o.out, "depth_of_investigation_m"), 0.5 * longest, 1e-4 * longest);
    ASSERT_LT(0.5 * longest, 30.0);
    EXPECT_NE(o.out.find("\n# warning: Vs30 depends on depths below the depth of investigation\n"),
        std::string::npos)
        << o.out;
    const double normalised = KeyValue(o.out, "misfit_normalised");
    EXPECT_GT(normalised, 0.0);
    EXPECT_LT(normalised, 10.0);

    // The band: a step line from the surface, two rows per layer, each row ordered.
    const std::size_t header = o.out.find("depth_m,vs_p10_ms,vs_median_ms,vs_p90_ms\n");
    ASSERT_NE(header, std::string::npos);
    std::istringstream rows(o.out.substr(header));
    std::string row;
    std::getline(rows, row);
    std::vector<std::vector<double>> band;
    while (std::getline(rows, row)) {
        std::vector<double> cells;
        std::stringstream cellStream(row);
        for (std::string cell; std::getline(cellStream, cell, ',');)
            cells.push_back(std::stod(cell));
        ASSERT_EQ(cells.size(), 4u) << row;
        band.push_back(cells);
    }
    ASSERT_EQ(band.size(), 8u);
    const double depths[] = { 0, 0.8, 0.8, 1.8, 1.8, 9.8, 9.8, 0.5 * longest };
    for (std::size_t r = 0; r < band.size(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_NEAR(band[r][0], depths[r], 1e-4 * (1 + depths[r]));
        EXPECT_LE(band[r][1], band[r][2]);
        EXPECT_LE(band[r][2], band[r][3]);
    }
    std::remove(curve.c_str());
    std::remove(model.c_str());
}

TEST(CliInvert, InvertsTheOysandFieldCurve)
{
    // Composite curve of four real records (wavelength, mean, low and high velocity), turned
    // into ascending frequencies; the start model is the published inversion example's.
    const std::string source = VELA_REALWORLD_DIR "/reference/oysand/Oysand_dc.txt";
    std::ifstream in(source);
    if (!in)
        GTEST_SKIP() << "field data not present: " << source;
    std::string line;
    std::getline(in, line); // header
    std::vector<std::vector<double>> points;
    while (std::getline(in, line)) {
        std::istringstream cells(line);
        double wavelength = 0, c = 0, low = 0, high = 0;
        if (cells >> wavelength >> c >> low >> high)
            points.push_back({ c / wavelength, c, low, high });
    }
    ASSERT_EQ(points.size(), 30u);
    std::string curveText;
    for (auto p = points.rbegin(); p != points.rend(); ++p) {
        char row[128];
        std::snprintf(row, sizeof row, "%.6f %.3f %.3f %.3f\n", (*p)[0], (*p)[1], (*p)[2], (*p)[3]);
        curveText += row;
    }
    const std::string curve = Scratch("oysand", curveText);
    const std::string model = Scratch("oysand-model",
        "0.8 0 119 1850 0.3\n1 0 127 1900 0.3\n"
        "8 1500 167 1950\n0 1500 189 1950\n");
    const Outcome o = RunCli({ "invert", "--model", model, "--curve", curve, "--iterations", "10",
        "--target-error", "0", "--spacing", "2", "--receivers", "24" });
    ASSERT_EQ(o.code, 0) << o.err;
    const std::vector<double> vs = FinalVs(o.out);
    ASSERT_EQ(vs.size(), 4u);
    // The start bounds are half and twice each layer's Vs; the curve rises with wavelength,
    // so the profile stiffens with depth.
    const double start[] = { 119, 127, 167, 189 };
    for (int l = 0; l < 4; ++l) {
        EXPECT_GE(vs[size_t(l)], 0.5 * start[l]);
        EXPECT_LE(vs[size_t(l)], 2.0 * start[l]);
    }
    EXPECT_LT(vs[0], vs[2]);
    EXPECT_LT(vs[1], vs[3]);
    const std::size_t at = o.out.find("# misfit_apparent: ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_LT(std::stod(o.out.substr(at + 19)), 0.02) << o.out.substr(at); // a fraction
    std::remove(curve.c_str());
    std::remove(model.c_str());
}
