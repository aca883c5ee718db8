// vela-cli map run as a real process: the section it writes equals the one the dialog's code
// draws from the same files, its figures, its report, and the refusal of an analysis that
// never reached the results page.
#include "app/spectrum/MapSection.h"
#include "tests/cli/CliTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<std::string, std::string> KeyValues(const std::string &text)
{
    std::map<std::string, std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(": ");
        if (colon != std::string::npos)
            values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return values;
}

} // namespace

TEST(CliMap, SectionOfThreeProfilesEqualsTheDialogsDrawing)
{
    clitest::TempDir dir;
    const std::string a = dir.Write("a.txt", "4 600 200 1800\n6 900 350 1900\n0 1400 640 2000\n");
    const std::string b =
        dir.Write("b.txt", "%Velocity\n%% 3x2\n%d[m]\tvs[m/s]\n2.5\t150\n12.5\t420\nInf\t700\n");
    const std::string c = dir.Write("c.txt", "8 700 260 1850\n0 1200 500 2000\n");
    const clitest::CliResult run = clitest::RunCli(dir,
        "map '" + a + "' '" + b + "' '" + c + "' --spacing 10 --image '" + dir.Path("s.png")
            + "' --rtf '" + dir.Path("s.rtf") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    auto values = KeyValues(run.out);
    EXPECT_EQ(values["profiles"], "3");
    EXPECT_EQ(values["width_px"], "41");
    EXPECT_EQ(values["height_px"], "100");
    EXPECT_DOUBLE_EQ(std::stod(values["zmax_m"]), 15.0);
    EXPECT_DOUBLE_EQ(std::stod(values["vmin_ms"]), 150.0);
    EXPECT_DOUBLE_EQ(std::stod(values["vmax_ms"]), 700.0);

    std::vector<MapProfile> profiles;
    for (const std::string &path : { a, b, c }) {
        const MapReadResult read = CMapSection::ReadFile(QString::fromStdString(path));
        ASSERT_TRUE(read.ok);
        profiles.push_back(read.profile);
    }
    const QImage written(QString::fromStdString(dir.Path("s.png")));
    ASSERT_EQ(written.size(), QSize(41, 100));
    EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32),
        CMapSection::Draw(profiles, 10.0).image.convertToFormat(QImage::Format_ARGB32));

    // The report carries the banner that lies beside the program, the section and its scale.
    const std::string rtf = clitest::ReadAll(dir.Path("s.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    std::size_t pictures = 0;
    for (auto at = rtf.find("{\\pict"); at != std::string::npos; at = rtf.find("{\\pict", at + 1))
        ++pictures;
    EXPECT_EQ(pictures, 3u);
    EXPECT_NE(rtf.find("a.txt"), std::string::npos);
    EXPECT_NE(rtf.find("c.txt"), std::string::npos);

    // One profile: one pixel column.
    const clitest::CliResult single =
        clitest::RunCli(dir, "map '" + b + "' --spacing 7.5 --image '" + dir.Path("one.png") + "'");
    ASSERT_EQ(single.exitCode, 0) << single.err;
    values = KeyValues(single.out);
    EXPECT_EQ(values["width_px"], "1");
    EXPECT_EQ(QImage(QString::fromStdString(dir.Path("one.png"))).width(), 1);
}

TEST(CliMap, BadInputIsOneLineAndExitTwo)
{
    clitest::TempDir dir;
    const std::string good = dir.Write("good.txt", "5 500 200 1800\n0 900 400 2000\n");
    const std::string notAnalysis = dir.Write("draft.vla", "01Section only the first page\r\n");
    const std::string image = " --image '" + dir.Path("x.png") + "'";

    const clitest::CliResult noResults =
        clitest::RunCli(dir, "map '" + good + "' '" + notAnalysis + "' --spacing 5" + image);
    EXPECT_EQ(noResults.exitCode, 2);
    EXPECT_NE(
        noResults.err.find("The file doesn't contain a complete VELA analysis"), std::string::npos)
        << noResults.err;
    EXPECT_NE(noResults.err.find("draft.vla"), std::string::npos);
    EXPECT_TRUE(noResults.out.empty());

    for (const std::string &arguments : { "map '" + good + "' --spacing 0" + image,
             "map '" + good + "' --spacing -3" + image, "map '" + good + "'" + image,
             "map --spacing 5" + image, "map '" + good + "' --spacing 5",
             "map '" + dir.Path("missing.vla") + "' --spacing 5" + image,
             "map '" + good + "' --spacing 5 --colour red" + image }) {
        SCOPED_TRACE(arguments);
        const clitest::CliResult run = clitest::RunCli(dir, arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
        EXPECT_EQ(run.err.rfind("vela-cli map: ", 0), 0u) << run.err;
    }
}
