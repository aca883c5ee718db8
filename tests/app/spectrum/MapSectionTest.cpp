// The 2D Vs section: profiles read back from documents written frame by frame as a saved
// analysis is (results table included), from the profile page's text export and from model
// files; the picture's size, interpolation, layer walk and colour range checked against values
// worked out here; damaged files refused; the report read back by an independent RTF reader.
#include "app/spectrum/MapSection.h"
#include "app/spectrum/FkSpectrum.h"
#include "tests/app/results/ReportRtfText.h"
#include "tests/app/spectrum/MapDocuments.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

MapProfile Profile(const std::vector<double> &thickness, const std::vector<double> &velocity)
{
    return MakeMapProfile(thickness, velocity);
}

QRgb Pixel(const MapSectionImage &section, int column, int row)
{
    return section.image.pixel(column, row);
}

} // namespace

TEST(MapSection, ReadsTheResultsTableOfSavedDocuments)
{
    QTemporaryDir dir;
    // Written by the results page: the half-space row's thickness cell holds "oo".
    const QString path = WriteFile(
        dir, "a.vla", MapAnalysis({ { 2.5, 180 }, { 4, 260.5 }, { 6.5, 410 }, { 0, 720 } }));
    const MapReadResult read = CMapSection::ReadFile(path);
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.profile.path, path);
    ASSERT_EQ(read.profile.LayerCount(), 4);
    const std::vector<double> velocity = { 180, 260.5, 410, 720 };
    const std::vector<double> bottom = { 2.5, 6.5, 13.0, 13.0 };
    for (int k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(read.profile.velocity[static_cast<std::size_t>(k)],
            velocity[static_cast<std::size_t>(k)]);
        EXPECT_DOUBLE_EQ(
            read.profile.bottom[static_cast<std::size_t>(k)], bottom[static_cast<std::size_t>(k)]);
    }
    EXPECT_DOUBLE_EQ(read.profile.leastVelocity, 180.0);
    EXPECT_DOUBLE_EQ(read.profile.greatestVelocity, 720.0);

    // Decimal commas, as typed on a page, are read as decimal points.
    const MapReadResult typed = CMapSection::ReadDocument(
        MapDocument({ { "2,5", "180" }, { "4", "260,5" }, { "", "720" } }));
    ASSERT_TRUE(typed.ok);
    EXPECT_EQ(typed.profile.bottom, (std::vector<double> { 2.5, 6.5, 6.5 }));
    EXPECT_DOUBLE_EQ(typed.profile.velocity[1], 260.5);

    // More layers than a fixed record of ten would hold are all read, the deepest included.
    std::vector<std::pair<double, double>> many;
    for (int k = 0; k < 15; ++k)
        many.push_back({ 1.0, 100.0 + 20 * k });
    const MapReadResult deep = CMapSection::ReadDocument(MapAnalysis(many));
    ASSERT_TRUE(deep.ok);
    ASSERT_EQ(deep.profile.LayerCount(), 15);
    EXPECT_DOUBLE_EQ(deep.profile.velocity.back(), 380.0);
    EXPECT_DOUBLE_EQ(deep.profile.bottom.back(), 14.0); // the half-space adds no depth
    EXPECT_DOUBLE_EQ(deep.profile.greatestVelocity, 380.0);
}

TEST(MapSection, RefusesDocumentsWithoutACompleteResultsTable)
{
    const QByteArray noResults = MapDocument({ { "3", "200" }, { "", "400" } }, false);
    const MapReadResult missing = CMapSection::ReadDocument(noResults);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, CMapSection::NoResultsMessage());
    EXPECT_EQ(missing.profile.LayerCount(), 0);

    // Every truncation of a complete document is refused with a message, never read past.
    const QByteArray whole = MapAnalysis({ { 3, 200 }, { 5, 300 }, { 0, 400 } });
    const qsizetype tableStart = whole.lastIndexOf("RIS\r\n") + 5;
    for (qsizetype size = tableStart; size < tableStart + 400 && size < whole.size(); ++size) {
        const MapReadResult cut = CMapSection::ReadDocument(whole.left(size));
        if (cut.ok) {
            // Only once the whole table is there may the profile be read.
            EXPECT_EQ(cut.profile.LayerCount(), 3) << size;
        } else {
            EXPECT_FALSE(cut.message.isEmpty()) << size;
        }
    }
    EXPECT_FALSE(CMapSection::ReadDocument(whole.left(tableStart + 20)).ok);

    // Unusable numbers in the table.
    EXPECT_FALSE(CMapSection::ReadDocument(MapDocument({ { "3", "fast" }, { "", "400" } })).ok);
    EXPECT_FALSE(CMapSection::ReadDocument(MapDocument({ { "x", "200" }, { "", "400" } })).ok);
    EXPECT_FALSE(CMapSection::ReadDocument(MapDocument({ { "3", "0" }, { "", "400" } })).ok);
    EXPECT_FALSE(CMapSection::ReadDocument(MapDocument({ { "-3", "200" }, { "", "400" } })).ok);
    EXPECT_FALSE(CMapSection::ReadDocument(MapDocument({})).ok);
}

TEST(MapSection, ReadsTextProfilesOfBothKinds)
{
    // The profile page's export of its profile chart.
    const MapReadResult exported =
        CMapSection::ReadText("%Velocity\r\n%% 3x2\r\n%d[m]\tvs[m/s]\r\n2.000000\t150.000000\r\n"
                              "8.000000\t300.000000\r\nInf\t600.000000\r\n");
    ASSERT_TRUE(exported.ok) << exported.message.toStdString();
    EXPECT_EQ(exported.profile.velocity, (std::vector<double> { 150, 300, 600 }));
    EXPECT_EQ(exported.profile.bottom, (std::vector<double> { 2, 10, 10 }));

    // A model file: thickness, Vp, Vs, density (Poisson optional), the half-space last.
    const MapReadResult model = CMapSection::ReadText(
        "# site 3\n3, 500, 200, 1800\n7 900 350 1900 0.3\n\n0 1500 700 2100\n");
    ASSERT_TRUE(model.ok) << model.message.toStdString();
    EXPECT_EQ(model.profile.velocity, (std::vector<double> { 200, 350, 700 }));
    EXPECT_EQ(model.profile.bottom, (std::vector<double> { 3, 10, 10 }));

    EXPECT_FALSE(CMapSection::ReadText("%only comments\n").ok);
    EXPECT_FALSE(CMapSection::ReadText("3 200 100\n").ok);
    EXPECT_FALSE(CMapSection::ReadText("Inf 300\n2 100\n").ok);
    const MapReadResult bad = CMapSection::ReadText("3 500 abc 1800\n");
    EXPECT_FALSE(bad.ok);
    EXPECT_TRUE(bad.message.startsWith("Line 1")) << bad.message.toStdString();
}

TEST(MapSection, SizeAndPlaceOfTheSection)
{
    const MapProfile a = Profile({ 5, 0 }, { 200, 400 });
    const MapProfile b = Profile({ 8, 0 }, { 250, 500 });
    const MapProfile c = Profile({ 12, 0 }, { 150, 450 });
    const MapSectionImage three = CMapSection::Draw({ a, b, c }, 10.0);
    EXPECT_EQ(three.image.width(), 41);
    EXPECT_EQ(three.image.height(), 100);
    EXPECT_DOUBLE_EQ(three.length, 20.0);
    EXPECT_DOUBLE_EQ(three.zMax, 12.0);
    EXPECT_NEAR(three.depth, 13.2, 1e-12);
    EXPECT_DOUBLE_EQ(three.vMin, 150.0);
    EXPECT_DOUBLE_EQ(three.vMax, 500.0);

    const MapSectionImage one = CMapSection::Draw({ b }, 10.0);
    EXPECT_EQ(one.image.width(), 1);
    EXPECT_EQ(one.image.height(), 100);
    EXPECT_DOUBLE_EQ(one.length, 0.0);

    EXPECT_TRUE(CMapSection::Draw({}, 10.0).image.isNull());
}

TEST(MapSection, InterpolatesBetweenNeighboursAndWalksTheLayers)
{
    // Two half-spaces at the extremes of the range: each column is a known share of the way.
    const MapProfile slow = Profile({ 10 }, { 100 });
    const MapProfile fast = Profile({ 10 }, { 300 });
    const MapSectionImage pair = CMapSection::Draw({ slow, fast }, 5.0);
    ASSERT_EQ(pair.image.width(), 21);
    for (int column = 0; column < 20; ++column) {
        const int entry = std::min(63, static_cast<int>(std::floor(64.0 * column / 19.0)));
        EXPECT_EQ(Pixel(pair, column, 50), SpectrumColour(entry)) << column;
    }
    EXPECT_EQ(Pixel(pair, 20, 0), SpectrumColour(63));

    // Layer boundaries at 5 m and 10 m, z_max 10 m: pixel row r lies at 0.11 r m, so the walk
    // reaches the second layer at the first row below 5 m (r = 46) and the half-space at the
    // first row below 10 m (r = 91).
    const MapProfile layered = Profile({ 5, 5, 0 }, { 200, 400, 600 });
    const MapProfile reference = Profile({ 1 }, { 200 });
    const MapSectionImage walked = CMapSection::Draw({ layered, reference }, 5.0);
    auto expected = [](double v) {
        return SpectrumColour(std::min(63, static_cast<int>(std::floor(64.0 * (v - 200) / 400))));
    };
    for (int r = 0; r < 100; ++r) {
        const double depth = r * 0.11;
        const double v = depth > 10.0 ? 600 : depth > 5.0 ? 400 : 200;
        EXPECT_EQ(Pixel(walked, 0, r), expected(v)) << r;
        EXPECT_EQ(Pixel(walked, 20, r), expected(200)) << r;
    }

    // Layers thinner than a pixel row: the walk moves on by one layer per row, so row r shows
    // layer r + 1 until the half-space is reached.
    const MapProfile thin =
        Profile({ 0.05, 0.05, 0.05, 0.05, 0.05, 0 }, { 200, 280, 360, 440, 520, 600 });
    const MapSectionImage lagging = CMapSection::Draw({ thin, Profile({ 10 }, { 200 }) }, 5.0);
    const double thinVelocity[] = { 200, 280, 360, 440, 520, 600, 600 };
    for (int r = 0; r < 7; ++r)
        EXPECT_EQ(Pixel(lagging, 0, r), expected(thinVelocity[r])) << r;

    // A shallow profile among deeper ones keeps its last layer's velocity to the bottom.
    const MapProfile shallow = Profile({ 1, 0 }, { 200, 500 });
    const MapProfile deep = Profile({ 30, 0 }, { 300, 500 });
    const MapSectionImage mixed = CMapSection::Draw({ shallow, deep }, 5.0);
    for (int r = 10; r < 100; ++r)
        EXPECT_EQ(Pixel(mixed, 0, r), SpectrumColour(63)) << r;
}

TEST(MapSection, OneVelocityEverywhereAndOrderOfProfiles)
{
    // No velocity range at all: one colour, whatever the layers.
    const MapSectionImage flat =
        CMapSection::Draw({ Profile({ 3, 0 }, { 250, 250 }), Profile({ 7 }, { 250 }) }, 4.0);
    for (int r = 0; r < 100; ++r) {
        for (int c = 0; c < flat.image.width(); ++c)
            ASSERT_EQ(Pixel(flat, c, r), SpectrumColour(0)) << c << "," << r;
    }

    // Exchanging two profiles exchanges the picture's columns where they stand.
    const MapProfile a = Profile({ 4, 0 }, { 150, 600 });
    const MapProfile b = Profile({ 9, 0 }, { 350, 450 });
    const MapProfile c = Profile({ 2, 0 }, { 200, 300 });
    const MapSectionImage before = CMapSection::Draw({ a, b, c }, 10.0);
    const MapSectionImage after = CMapSection::Draw({ b, a, c }, 10.0);
    for (int r = 0; r < 100; ++r) {
        EXPECT_EQ(Pixel(before, 0, r), Pixel(after, 20, r)) << r;
        EXPECT_EQ(Pixel(before, 20, r), Pixel(after, 0, r)) << r;
        EXPECT_EQ(Pixel(before, 40, r), Pixel(after, 40, r)) << r;
    }
    EXPECT_NE(before.image, after.image);
}

TEST(MapSection, ColourScaleAgreesWithTheSectionAndItsLabelsAreRound)
{
    // Every layer's colour in the section is the scale's colour at that layer's velocity.
    const MapProfile a = Profile({ 4, 6, 0 }, { 150, 320, 600 });
    const MapProfile b = Profile({ 5, 0 }, { 210, 480 });
    const MapSectionImage section = CMapSection::Draw({ a, b }, 10.0);
    const int rows = 451; // one row per m/s between 150 and 600
    const QImage scale = MapScaleImage(section.vMin, section.vMax, rows);
    ASSERT_EQ(scale.height(), rows);
    auto scaleAt = [&](double v) {
        const double t = (v - section.vMin) / (section.vMax - section.vMin);
        return scale.pixel(0, std::clamp(int((1.0 - t) * rows), 0, rows - 1));
    };
    EXPECT_EQ(scale.pixel(0, 0), SpectrumColour(63));
    EXPECT_EQ(scale.pixel(0, rows - 1), SpectrumColour(0));
    // Column 0 is profile a alone, the last column profile b; rows in the first layers and
    // near the bottom.
    EXPECT_EQ(Pixel(section, 0, 1), scaleAt(150));
    EXPECT_EQ(Pixel(section, 0, 60), scaleAt(320));
    EXPECT_EQ(Pixel(section, 0, 99), scaleAt(600));
    EXPECT_EQ(Pixel(section, 20, 1), scaleAt(210));
    EXPECT_EQ(Pixel(section, 20, 99), scaleAt(480));
    // Lying down in the report: least at the left, greatest at the right, every row alike.
    const QImage strip = MapScaleStrip(section.vMin, section.vMax, rows, 12);
    ASSERT_EQ(strip.size(), QSize(rows, 12));
    for (int y : { 0, 11 }) {
        EXPECT_EQ(strip.pixel(0, y), scale.pixel(0, rows - 1));
        EXPECT_EQ(strip.pixel(rows / 3, y), scale.pixel(0, rows - 1 - rows / 3));
        EXPECT_EQ(strip.pixel(rows - 1, y), scale.pixel(0, 0));
    }
    // One velocity everywhere: one colour, as the section.
    const QImage flat = MapScaleImage(250, 250, 10);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(flat.pixel(0, r), SpectrumColour(0));

    // Labels: steps of 1, 2 or 5 times a power of ten, inside the range, two to six of them.
    EXPECT_EQ(MapScaleTicks(150, 600), (std::vector<double> { 200, 300, 400, 500, 600 }));
    EXPECT_EQ(MapScaleTicks(300, 300), (std::vector<double> { 300 }));
    for (const auto &range : std::vector<std::pair<double, double>> {
             { 101, 109.5 }, { 87.3, 1640 }, { 199.9, 200.4 }, { 5, 2000 }, { 412, 431 } }) {
        const std::vector<double> ticks = MapScaleTicks(range.first, range.second);
        SCOPED_TRACE(range.first);
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), 6u);
        EXPECT_GE(ticks.front(), range.first);
        EXPECT_LE(ticks.back(), range.second * (1 + 1e-12));
        const double step = ticks[1] - ticks[0];
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6
            || std::fabs(mantissa - 5) < 1e-6)
            << step;
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i] - ticks[i - 1], step, 1e-9 * step);
    }
}

TEST(MapSection, DistanceField)
{
    double spacing = -1.0;
    EXPECT_EQ(
        CMapSection::CheckSpacing("  ", spacing), "Please insert the distance between the traces");
    EXPECT_EQ(CMapSection::CheckSpacing("0", spacing),
        "The distance between the traces should be a positive number");
    EXPECT_EQ(CMapSection::CheckSpacing("-2", spacing),
        "The distance between the traces should be a positive number");
    EXPECT_EQ(CMapSection::CheckSpacing("ten", spacing),
        "The distance between the traces should be a positive number");
    EXPECT_DOUBLE_EQ(spacing, -1.0);
    EXPECT_TRUE(CMapSection::CheckSpacing("7,5", spacing).isEmpty());
    EXPECT_DOUBLE_EQ(spacing, 7.5);
}

TEST(MapSection, ReportHoldsDistanceFilesAndPictures)
{
    QTemporaryDir dir;
    QImage banner(60, 6, QImage::Format_RGB32);
    banner.fill(Qt::darkBlue);
    const QString bannerPath = dir.filePath("banner.bmp");
    ASSERT_TRUE(banner.save(bannerPath, "BMP"));

    MapReport report;
    report.spacing = 12.5;
    report.files = { "north.vla", "middle.vla", "south.vla" };
    report.section =
        CMapSection::Draw({ Profile({ 5, 0 }, { 200, 400 }), Profile({ 8, 0 }, { 250, 500 }),
                              Profile({ 3 }, { 300 }) },
            report.spacing);
    report.bannerPath = bannerPath;
    const QString path = dir.filePath("section.rtf");
    ASSERT_TRUE(CMapSection::WriteReport(path, report));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    file.close();
    EXPECT_TRUE(rtf.contains("{\\fonttbl"));
    EXPECT_TRUE(rtf.contains("Times New Roman"));
    EXPECT_TRUE(rtf.contains("\\red255\\green0\\blue0"));
    const RtfShownDocument shown = ReadRtf(rtf);
    EXPECT_TRUE(shown.wellFormed);
    EXPECT_EQ(shown.pictureHex.size(), 3); // the banner, the section and its colour scale
    EXPECT_GE(shown.Find("Distance between traces: 12.5 m"), 0);
    const int first = shown.Find("1. north.vla");
    ASSERT_GE(first, 0);
    EXPECT_EQ(shown.Find("2. middle.vla"), first + 1);
    EXPECT_EQ(shown.Find("3. south.vla"), first + 2);
    EXPECT_GT(shown.Find("Colour scale: 200 m/s (left) to 500 m/s (right)"), first + 2);

    // Without its banner the report still holds the section and its scale.
    report.bannerPath = dir.filePath("missing.jpg");
    ASSERT_TRUE(CMapSection::WriteReport(path, report));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadRtf(file.readAll()).pictureHex.size(), 2);

    // A folder that does not exist: failure, and nothing written.
    EXPECT_FALSE(CMapSection::WriteReport(dir.filePath("no/such/folder/x.rtf"), report));
}
