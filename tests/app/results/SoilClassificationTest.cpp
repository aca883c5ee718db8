// Vs30 and the codes' averages against hand-worked profiles and an independent depth
// integration; the questionnaire row by row under both long-standing sets of definitions;
// NTC 2018 and ASCE 7-22 categories worked out by hand, boundaries included.
#include "app/results/CSoilClassification.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

struct L
{
    double thickness;
    double vs;
    bool alluvial = false;
};

std::vector<SoilLayer> Profile(std::initializer_list<L> layers)
{
    std::vector<SoilLayer> profile;
    for (const L &layer : layers)
        profile.push_back({ layer.thickness, layer.vs, layer.alluvial });
    return profile;
}

// Travel-time average by brute force: the slowness sampled at the middle of 1 mm steps from
// `offset` down to offset + depth, the last layer continuing without end.
double IntegratedAverage(const std::vector<SoilLayer> &layers, double offset, double depth)
{
    const int steps = int(std::lround(depth * 1000.0));
    const double step = depth / steps;
    double time = 0.0;
    for (int i = 0; i < steps; ++i) {
        const double z = offset + (i + 0.5) * step;
        double top = 0.0;
        size_t layer = 0;
        while (layer + 1 < layers.size() && z >= top + layers[layer].thickness)
            top += layers[layer++].thickness;
        time += step / layers[layer].vs;
    }
    return depth / time;
}

} // namespace

TEST(Vs30, LayersThickerThanThirtyMetresNeverReachTheHalfSpace)
{
    for (double halfSpace : { 300.0, 1000.0, 5000.0 }) {
        const auto layers = Profile({ { 20, 200 }, { 20, 400 }, { 0, halfSpace } });
        EXPECT_NEAR(ComputeVs30(layers, 0, 0.0), 30.0 / (20.0 / 200 + 10.0 / 400), 1e-9);
    }
}

TEST(Vs30, OneLayerOverTheHalfSpaceAtTenMetres)
{
    const auto layers = Profile({ { 10, 150 }, { 0, 600 } });
    EXPECT_NEAR(ComputeVs30(layers, 0, 0.0), 30.0 / (10.0 / 150 + 20.0 / 600), 1e-9);
    EXPECT_NEAR(ComputeVs30(layers, 0, 0.0), 300.0, 1e-9);
}

TEST(Vs30, ReferenceDepthCountsOnlyWhatLiesBelowIt)
{
    const auto layers = Profile({ { 20, 200 }, { 20, 400 }, { 0, 1000 } });
    // 15 m of the first layer, then 15 m of the second.
    EXPECT_NEAR(ComputeVs30(layers, 0, 5.0), 30.0 / (15.0 / 200 + 15.0 / 400), 1e-9);
    // On a boundary: the second layer and 10 m of half-space.
    EXPECT_NEAR(ComputeVs30(layers, 0, 20.0), 30.0 / (20.0 / 400 + 10.0 / 1000), 1e-9);
    // Below every layer only the half-space is left.
    EXPECT_NEAR(ComputeVs30(layers, 0, 55.0), 1000.0, 1e-9);
    // A thick first layer: the part below d is cut at 30 m.
    EXPECT_NEAR(ComputeVs30(Profile({ { 50, 300 }, { 0, 900 } }), 0, 2.0), 300.0, 1e-9);
}

TEST(Vs30, StartsAtTheLayerAskedFor)
{
    const auto layers = Profile({ { 8, 100 }, { 10, 300 }, { 0, 900 } });
    EXPECT_NEAR(ComputeVs30(layers, 1, 0.0), 30.0 / (10.0 / 300 + 20.0 / 900), 1e-9);
    EXPECT_NEAR(ComputeVs30(layers, 2, 0.0), 900.0, 1e-9);
    EXPECT_NEAR(ComputeVs30(Profile({ { 0, 420 } }), 0, 0.0), 420.0, 1e-12);
}

TEST(Vs30, NothingToAverageGivesZeroInsteadOfInfinity)
{
    EXPECT_EQ(ComputeVs30({}, 0, 0.0), 0.0);
    EXPECT_EQ(ComputeVs30(Profile({ { 10, 0 }, { 0, 500 } }), 0, 0.0), 0.0);
    EXPECT_EQ(ComputeVs30(Profile({ { 10, 200 }, { 0, 0 } }), 0, 0.0), 0.0);
}

TEST(AverageVs, AgreesWithADepthIntegrationOnRandomProfiles)
{
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> thickness(0.5, 25.0), vs(80.0, 1500.0),
        offset(0.0, 20.0);
    std::uniform_int_distribution<int> count(1, 7);
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<SoilLayer> layers(count(random));
        for (SoilLayer &layer : layers)
            layer = { thickness(random), vs(random), false };
        layers.back().thickness = 0.0;
        const double d = trial % 4 == 0 ? 0.0 : offset(random);
        for (double depth : { 30.0, AsceAverageDepth }) {
            SCOPED_TRACE(testing::Message() << "trial " << trial << " depth " << depth);
            const double expected = IntegratedAverage(layers, d, depth);
            EXPECT_NEAR(AverageVs(layers, 0, d, depth), expected, 1e-4 * expected);
        }
    }
}

// ---- NTC 2018 ----

TEST(Ntc2018, EquivalentVelocityAndCategoryOfHandWorkedProfiles)
{
    struct Case
    {
        const char *name;
        std::vector<SoilLayer> layers;
        double offset, vsEq, h;
        const char *category;
    };
    const Case cases[] = {
        { "rock under 2 m", Profile({ { 2, 300 }, { 0, 900 } }), 0, 300, 2, "A" },
        { "rock under exactly 3 m", Profile({ { 3, 150 }, { 0, 900 } }), 0, 150, 3, "A" },
        { "rock under 3.5 m", Profile({ { 3.5, 200 }, { 0, 900 } }), 0, 200, 3.5, "E" },
        { "stiff over rock at 20 m", Profile({ { 10, 400 }, { 10, 600 }, { 0, 900 } }), 0,
            20.0 / (10.0 / 400 + 10.0 / 600), 20, "B" },
        { "medium over rock at 20 m", Profile({ { 10, 250 }, { 10, 400 }, { 0, 1000 } }), 0,
            20.0 / (10.0 / 250 + 10.0 / 400), 20, "E" },
        { "rock at exactly 30 m", Profile({ { 30, 200 }, { 0, 900 } }), 0, 200, 30, "E" },
        { "no substrate", Profile({ { 20, 200 }, { 20, 300 }, { 0, 600 } }), 0,
            30.0 / (20.0 / 200 + 10.0 / 300), 30, "C" },
        { "soft, no substrate", Profile({ { 40, 150 }, { 0, 500 } }), 0, 150, 30, "D" },
        { "too soft", Profile({ { 40, 90 }, { 0, 500 } }), 0, 90, 30, "" },
        { "reference plane at 5 m", Profile({ { 20, 200 }, { 20, 300 }, { 0, 600 } }), 5,
            30.0 / (15.0 / 200 + 15.0 / 300), 30, "C" },
        { "reference plane, rock 15 m below it", Profile({ { 10, 250 }, { 10, 400 }, { 0, 1000 } }),
            5, 15.0 / (5.0 / 250 + 10.0 / 400), 15, "E" },
        { "reference plane in the rock", Profile({ { 4, 200 }, { 0, 1000 } }), 6, 1000, 0, "A" },
        { "exactly 360", Profile({ { 40, 360 }, { 0, 500 } }), 0, 360, 30, "B" },
        { "exactly 180", Profile({ { 40, 180 }, { 0, 500 } }), 0, 180, 30, "C" },
        { "exactly 100", Profile({ { 40, 100 }, { 0, 500 } }), 0, 100, 30, "D" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const EquivalentVelocity eq = ComputeVsEq(c.layers, c.offset, FirstBedrockLayer(c.layers));
        EXPECT_NEAR(eq.vsEq, c.vsEq, 1e-9 * c.vsEq);
        EXPECT_NEAR(eq.h, c.h, 1e-12);
        EXPECT_EQ(NtcCategory(eq.vsEq, eq.substrateDepth), QString::fromLatin1(c.category));

        CSoilClassification page;
        page.SetProfile(c.layers);
        page.Init();
        page.SetCode(SoilCode::Ntc2018);
        page.SetOffset(c.offset);
        page.AnswerPlainly();
        EXPECT_EQ(page.Category(), QString::fromLatin1(c.category));
        EXPECT_EQ(page.SiteSpecific(), c.category[0] == '\0');
        EXPECT_NEAR(page.CodeAverage(), c.vsEq, 1e-9 * c.vsEq);
    }
}

TEST(Ntc2018, LiquefiableSoilNeedsASiteSpecificAnalysis)
{
    CSoilClassification page;
    page.SetProfile(Profile({ { 10, 400 }, { 0, 900 } }));
    page.Init();
    page.SetCode(SoilCode::Ntc2018);
    EXPECT_FALSE(page.RowEnabled(1));
    ASSERT_TRUE(page.RowEnabled(2));
    page.Answer(2, SoilAnswer::Yes);
    EXPECT_TRUE(page.SiteSpecific());
    EXPECT_TRUE(page.Category().isEmpty());
    // Changing the answer classifies, with the substrate proposed and open to change.
    page.Answer(2, SoilAnswer::No);
    EXPECT_FALSE(page.SiteSpecific());
    EXPECT_EQ(page.Category(), "B");
    EXPECT_EQ(page.BedrockChoice(), 1);
    // "Not found": H = 30 m of 400 m/s soil and then the half-space.
    page.ChooseBedrock(page.BedrockChoiceCount() - 1);
    EXPECT_NEAR(page.CodeAverage(), 30.0 / (10.0 / 400 + 20.0 / 900), 1e-9);
    EXPECT_EQ(page.Category(), "B");
}

// ---- ASCE 7-22 ----

TEST(Asce722, SiteClassBandsIncludeTheirUpperLimits)
{
    const struct
    {
        double vs;
        const char *siteClass;
    } cases[] = { { 1600, "A" }, { 1524.01, "A" }, { 1524, "B" }, { 914.41, "B" }, { 914.4, "BC" },
        { 640.1, "C" }, { 442, "CD" }, { 304.8, "D" }, { 213.4, "DE" }, { 152.41, "DE" },
        { 152.4, "E" }, { 60, "E" } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.vs);
        EXPECT_EQ(AsceSiteClass(c.vs), QString::fromLatin1(c.siteClass));
        // Through the page, on a half-space of that velocity.
        CSoilClassification page;
        page.SetProfile(Profile({ { 0, c.vs } }));
        page.Init();
        page.SetCode(SoilCode::Asce722);
        page.AnswerPlainly();
        EXPECT_EQ(page.Category(), QString::fromLatin1(c.siteClass));
    }
}

TEST(Asce722, AveragesTheTopHundredFeetBelowTheReferencePlane)
{
    const auto layers = Profile({ { 10, 200 }, { 0, 500 } });
    CSoilClassification page;
    page.SetProfile(layers);
    page.Init();
    page.SetCode(SoilCode::Asce722);
    EXPECT_NEAR(page.Vs100ft(), 30.48 / (10.0 / 200 + 20.48 / 500), 1e-9);
    page.AnswerPlainly();
    EXPECT_EQ(page.Category(), "CD"); // 335.1 m/s
    page.SetOffset(4.0);
    EXPECT_NEAR(page.Vs100ft(), 30.48 / (6.0 / 200 + 24.48 / 500), 1e-9);
    EXPECT_TRUE(page.Category().isEmpty());
    page.Answer(2, SoilAnswer::Yes); // liquefiable, or peat thicker than 3 m
    EXPECT_EQ(page.Category(), "F");
}

// ---- the questionnaire under DM 14 January 2008 and O.P.C.M. 3274 ----

namespace {

const std::vector<SoilLayer> Rock = Profile({ { 2, 400 }, { 0, 1200 } }); // Vs30 1058.8
const std::vector<SoilLayer> Stiff = Profile({ { 10, 300 }, { 10, 500 }, { 0, 700 } }); // 443.7
const std::vector<SoilLayer> Medium = Profile({ { 10, 150 }, { 20, 300 }, { 0, 400 } }); // 225
const std::vector<SoilLayer> Soft = Profile({ { 10, 100 }, { 20, 150 }, { 0, 1000 } }); // 128.6
const std::vector<SoilLayer> SoftOnRock = Profile({ { 15, 90 }, { 0, 900 } }); // 163.6
const std::vector<SoilLayer> SoftOnDeepRock = Profile({ { 25, 120 }, { 0, 900 } }); // 140.3
const std::vector<SoilLayer> VerySoft = Profile({ { 30, 80 }, { 0, 300 } }); // 80

CSoilClassification Started(const std::vector<SoilLayer> &layers, SoilCode code)
{
    CSoilClassification page;
    page.SetProfile(layers);
    page.Init();
    page.SetCode(code);
    return page;
}

// The rows 1..7 that are enabled, as a string of digits.
std::string EnabledRows(const CSoilClassification &page)
{
    std::string rows;
    for (int row = 1; row < CSoilClassification::RowCount; ++row) {
        if (page.RowEnabled(row))
            rows += char('0' + row);
    }
    return rows;
}

} // namespace

TEST(Questionnaire, StartAsksOnlyAboutTheSoilNature)
{
    CSoilClassification page = Started(Stiff, SoilCode::Dm2008);
    EXPECT_TRUE(page.RowEnabled(0));
    EXPECT_EQ(EnabledRows(page), "1");
    EXPECT_NEAR(page.Vs30(), 30.0 / (10.0 / 300 + 10.0 / 500 + 10.0 / 700), 1e-9);
}

TEST(Questionnaire, WithoutAProfileNothingCanBeAnswered)
{
    for (SoilCode code :
        { SoilCode::Dm2008, SoilCode::Opcm2003, SoilCode::Ntc2018, SoilCode::Asce722 }) {
        CSoilClassification page = Started({}, code);
        EXPECT_EQ(EnabledRows(page), "");
        page.AnswerPlainly();
        page.Answer(1, SoilAnswer::Yes);
        page.Answer(2, SoilAnswer::No);
        EXPECT_TRUE(page.Category().isEmpty());
        EXPECT_FALSE(page.SiteSpecific());
    }
}

TEST(Questionnaire, RowOneDecidesWhetherTheSiteIsClassifiedAtAll)
{
    for (SoilCode code : { SoilCode::Dm2008, SoilCode::Opcm2003 }) {
        CSoilClassification page = Started(Stiff, code);
        page.Answer(1, SoilAnswer::No);
        EXPECT_EQ(page.Category(), "S2");
        EXPECT_EQ(EnabledRows(page), "1");

        page.Answer(1, SoilAnswer::DontKnow);
        EXPECT_TRUE(page.Category().isEmpty());
        EXPECT_TRUE(page.TakeSoilNatureWarning());
        EXPECT_FALSE(page.TakeSoilNatureWarning());
        EXPECT_EQ(EnabledRows(page), "1");

        page.Answer(1, SoilAnswer::Yes);
        EXPECT_TRUE(page.Category().isEmpty());
        EXPECT_EQ(EnabledRows(page), "12");
        page.Answer(2, SoilAnswer::Yes);
        EXPECT_EQ(page.Category(), "S2");
    }
}

TEST(Questionnaire, Vs30ClassificationOfEachBandUnderBothSets)
{
    struct Case
    {
        const std::vector<SoilLayer> *layers;
        const char *category;
    };
    for (const Case &c : { Case { &Stiff, "B" }, Case { &Medium, "C" } }) {
        // New definitions: tentative, confirmed by the question on gradual improvement.
        CSoilClassification page = Started(*c.layers, SoilCode::Dm2008);
        page.Answer(1, SoilAnswer::Yes);
        page.Answer(2, SoilAnswer::No);
        EXPECT_TRUE(page.Category().isEmpty());
        EXPECT_EQ(page.Tentative(), c.category);
        EXPECT_EQ(EnabledRows(page), "126");
        page.Answer(6, SoilAnswer::Yes);
        EXPECT_EQ(page.Category(), c.category);
        page.Answer(6, SoilAnswer::No);
        EXPECT_EQ(page.Category(), "S2");
        // Old definitions: at once.
        CSoilClassification old = Started(*c.layers, SoilCode::Opcm2003);
        old.Answer(1, SoilAnswer::Yes);
        old.Answer(2, SoilAnswer::No);
        EXPECT_EQ(old.Category(), c.category);
        EXPECT_EQ(EnabledRows(old), "12");
    }
}

TEST(Questionnaire, RockAsksAboutTheAlterationLayer)
{
    CSoilClassification old = Started(Rock, SoilCode::Opcm2003);
    old.Answer(1, SoilAnswer::Yes);
    old.Answer(2, SoilAnswer::No);
    EXPECT_EQ(EnabledRows(old), "125");
    old.Answer(5, SoilAnswer::Yes);
    EXPECT_EQ(old.Category(), "S2");
    old.Answer(5, SoilAnswer::No);
    EXPECT_EQ(old.Category(), "A");

    CSoilClassification page = Started(Rock, SoilCode::Dm2008);
    page.Answer(1, SoilAnswer::Yes);
    page.Answer(2, SoilAnswer::No);
    page.Answer(5, SoilAnswer::No);
    EXPECT_TRUE(page.Category().isEmpty());
    EXPECT_EQ(page.Tentative(), "A");
    EXPECT_EQ(EnabledRows(page), "1257");
    // Rock at the surface stays A whatever layer is confirmed as bed rock.
    page.ChooseBedrock(1);
    EXPECT_NEAR(page.BedrockDepth(), 2.0, 1e-12);
    EXPECT_EQ(EnabledRows(page), "12567");
    page.Answer(6, SoilAnswer::Yes);
    EXPECT_EQ(page.Category(), "A");
}

TEST(Questionnaire, SoftSitesAreClassifiedByTheDepthOfTheBedRock)
{
    struct Case
    {
        const char *name;
        const std::vector<SoilLayer> *layers;
        bool notFound;
        double depth;
        const char *category;
    };
    const Case cases[] = {
        { "rock at 15 m", &SoftOnRock, false, 15, "E" },
        { "rock at 25 m", &SoftOnDeepRock, false, 25, "S2" },
        { "rock at 30 m", &Soft, false, 30, "D" },
        { "not found", &Soft, true, 1000, "D" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CSoilClassification page = Started(*c.layers, SoilCode::Dm2008);
        page.Answer(1, SoilAnswer::Yes);
        page.Answer(2, SoilAnswer::No);
        EXPECT_EQ(page.Tentative(), "D");
        EXPECT_EQ(EnabledRows(page), "127");
        page.ChooseBedrock(c.notFound ? page.BedrockChoiceCount() - 1 : int(c.layers->size()) - 1);
        EXPECT_NEAR(page.BedrockDepth(), c.depth, 1e-12);
        if (QString::fromLatin1(c.category) == "S2") {
            EXPECT_EQ(page.Category(), "S2");
            EXPECT_EQ(EnabledRows(page), "12");
            continue;
        }
        EXPECT_TRUE(page.Category().isEmpty());
        EXPECT_EQ(page.Tentative(), c.category);
        page.Answer(6, SoilAnswer::Yes);
        EXPECT_EQ(page.Category(), c.category);
    }
    // Under the old definitions a soft site is D at once.
    CSoilClassification old = Started(SoftOnRock, SoilCode::Opcm2003);
    old.Answer(1, SoilAnswer::Yes);
    old.Answer(2, SoilAnswer::No);
    EXPECT_EQ(old.Category(), "D");
}

TEST(Questionnaire, VerySoftSitesAskAboutSpecialLayers)
{
    // New definitions: a soft fine layer thicker than 8 m, then peat thicker than 3 m.
    CSoilClassification page = Started(VerySoft, SoilCode::Dm2008);
    page.Answer(1, SoilAnswer::Yes);
    page.Answer(2, SoilAnswer::No);
    EXPECT_EQ(EnabledRows(page), "123");
    page.Answer(3, SoilAnswer::Yes);
    EXPECT_EQ(page.Category(), "S1");
    EXPECT_EQ(EnabledRows(page), "123");
    page.Answer(3, SoilAnswer::No);
    EXPECT_TRUE(page.Category().isEmpty());
    EXPECT_EQ(EnabledRows(page), "1234");
    page.Answer(4, SoilAnswer::Yes);
    EXPECT_EQ(page.Category(), "S1");
    page.Answer(4, SoilAnswer::No);
    EXPECT_EQ(page.Tentative(), "D");
    EXPECT_EQ(EnabledRows(page), "12347");

    // Old definitions: a clayey layer thicker than 10 m, then its plasticity index.
    CSoilClassification old = Started(VerySoft, SoilCode::Opcm2003);
    old.Answer(1, SoilAnswer::Yes);
    old.Answer(2, SoilAnswer::No);
    old.Answer(3, SoilAnswer::Yes);
    EXPECT_TRUE(old.Category().isEmpty());
    EXPECT_EQ(EnabledRows(old), "1234");
    old.Answer(4, SoilAnswer::Yes);
    EXPECT_EQ(old.Category(), "S1");
    old.Answer(4, SoilAnswer::No);
    EXPECT_EQ(old.Category(), "D");
    old.Answer(3, SoilAnswer::No);
    EXPECT_EQ(old.Category(), "D");
    EXPECT_EQ(EnabledRows(old), "123");
}

TEST(Questionnaire, BoundariesOfTheVs30Bands)
{
    const struct
    {
        double vs30;
        const char *old;
        const char *rows; // enabled after row 2 "No" under the new definitions
    } cases[] = { { 800, "", "125" }, { 799.9, "B", "126" }, { 360, "B", "126" },
        { 359.9, "C", "126" }, { 180, "C", "126" }, { 179.9, "D", "127" }, { 100.1, "D", "127" },
        { 100, "", "123" } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.vs30);
        const auto halfSpace = Profile({ { 0, c.vs30 } });
        CSoilClassification page = Started(halfSpace, SoilCode::Dm2008);
        page.Answer(1, SoilAnswer::Yes);
        page.Answer(2, SoilAnswer::No);
        EXPECT_EQ(EnabledRows(page), c.rows);
        CSoilClassification old = Started(halfSpace, SoilCode::Opcm2003);
        old.Answer(1, SoilAnswer::Yes);
        old.Answer(2, SoilAnswer::No);
        EXPECT_EQ(old.Category(), QString::fromLatin1(c.old));
    }
}

TEST(Questionnaire, AlluvialStrataUnderTheOldDefinitions)
{
    // 10 m of alluvium at 200 m/s on rock: E at once, Vs30 taken below the alluvium.
    CSoilClassification page =
        Started(Profile({ { 10, 200, true }, { 0, 1000 } }), SoilCode::Opcm2003);
    page.Answer(1, SoilAnswer::Yes);
    page.Answer(2, SoilAnswer::No);
    EXPECT_EQ(page.Category(), "E");
    EXPECT_NEAR(page.Vs30(), 1000.0, 1e-9);

    // Alluvium on stiff soil: Vs30 below it decides (30 / (20/400 + 10/600) = 450: B).
    page = Started(Profile({ { 10, 200, true }, { 20, 400 }, { 0, 600 } }), SoilCode::Opcm2003);
    page.Answer(1, SoilAnswer::Yes);
    page.Answer(2, SoilAnswer::No);
    EXPECT_NEAR(page.Vs30(), 450.0, 1e-9);
    EXPECT_EQ(page.Category(), "B");

    // 4 m of alluvium is too thin to count: Vs30 from the surface.
    page = Started(Profile({ { 4, 200, true }, { 0, 1500 } }), SoilCode::Opcm2003);
    page.Answer(1, SoilAnswer::Yes);
    page.Answer(2, SoilAnswer::No);
    EXPECT_NEAR(page.Vs30(), 30.0 / (4.0 / 200 + 26.0 / 1500), 1e-9); // 803.6
    EXPECT_EQ(EnabledRows(page), "125");
}

TEST(Questionnaire, EditsThatChangeTheBasisResetTheAnswers)
{
    CSoilClassification page = Started(Stiff, SoilCode::Dm2008);
    page.AnswerPlainly();
    ASSERT_EQ(page.Category(), "B");
    // Going back to row 1 drops what followed it.
    page.Answer(1, SoilAnswer::No);
    EXPECT_EQ(page.Category(), "S2");
    EXPECT_EQ(page.RowAnswer(2), SoilAnswer::None);
    EXPECT_EQ(page.RowAnswer(6), SoilAnswer::None);

    page.AnswerPlainly();
    page.SetOffset(5.0);
    EXPECT_TRUE(page.Category().isEmpty());
    EXPECT_EQ(EnabledRows(page), "1");
    EXPECT_EQ(page.RowAnswer(1), SoilAnswer::None);
    EXPECT_NEAR(page.Vs30(), 30.0 / (5.0 / 300 + 10.0 / 500 + 15.0 / 700), 1e-9);

    // Under the old definitions the offset field is hidden, and so is its depth.
    page.SetCode(SoilCode::Opcm2003);
    EXPECT_EQ(page.Offset(), 0.0);
    EXPECT_NEAR(page.Vs30(), 30.0 / (10.0 / 300 + 10.0 / 500 + 10.0 / 700), 1e-9);
    // A disabled row takes no answer.
    page.Answer(6, SoilAnswer::Yes);
    EXPECT_EQ(page.RowAnswer(6), SoilAnswer::None);
}

TEST(Questionnaire, ReplayingTheAnswersGivesBackTheState)
{
    for (SoilCode code :
        { SoilCode::Dm2008, SoilCode::Opcm2003, SoilCode::Ntc2018, SoilCode::Asce722 }) {
        for (const auto *layers : { &Rock, &Stiff, &SoftOnRock, &VerySoft }) {
            CSoilClassification page = Started(*layers, code);
            if (code != SoilCode::Opcm2003)
                page.SetOffset(1.5);
            page.AnswerPlainly();
            std::array<SoilAnswer, CSoilClassification::RowCount> answers {};
            for (int row = 0; row < CSoilClassification::RowCount; ++row)
                answers[row] = page.RowAnswer(row);

            CSoilClassification copy;
            copy.SetProfile(*layers);
            copy.Init();
            copy.Replay(code, page.Offset(), answers, page.BedrockChoice());
            EXPECT_EQ(copy.Category(), page.Category());
            EXPECT_EQ(copy.Tentative(), page.Tentative());
            EXPECT_EQ(EnabledRows(copy), EnabledRows(page));
            EXPECT_EQ(copy.BedrockChoice(), page.BedrockChoice());
            EXPECT_EQ(copy.Vs30(), page.Vs30());
        }
    }
}

// ---- a real inverted profile ----

namespace {

// The inverted model of a published teaching record: thickness, Vp, Vs, density per line
// after a header, the last line the half-space (799.97 m/s: just short of bed rock).
std::vector<SoilLayer> RealProfile()
{
    std::vector<SoilLayer> layers;
    FILE *file =
        std::fopen(VELA_REALWORLD_DIR "/reference/albca_shot1/Shot1_inverted_model.txt", "r");
    if (!file)
        return layers;
    char line[256];
    bool header = true;
    while (std::fgets(line, sizeof line, file)) {
        double thickness = 0, vp = 0, vs = 0, density = 0;
        if (header) {
            header = false;
            continue;
        }
        if (std::sscanf(line, "%lf, %lf, %lf, %lf", &thickness, &vp, &vs, &density) == 4)
            layers.push_back({ thickness, vs, false });
    }
    std::fclose(file);
    return layers;
}

} // namespace

TEST(RealProfile, EveryCodeOnAnInvertedProfileOverNearlyRock)
{
    const std::vector<SoilLayer> layers = RealProfile();
    ASSERT_EQ(layers.size(), 6u);
    EXPECT_EQ(FirstBedrockLayer(layers), -1); // 799.97 m/s is not bed rock
    const double vs30 = IntegratedAverage(layers, 0.0, 30.0);
    EXPECT_NEAR(ComputeVs30(layers, 0, 0.0), vs30, 1e-4 * vs30);
    EXPECT_NEAR(vs30, 599.3, 0.1);

    const struct
    {
        SoilCode code;
        double average;
        const char *category;
    } cases[] = { { SoilCode::Dm2008, vs30, "B" }, { SoilCode::Opcm2003, vs30, "B" },
        { SoilCode::Ntc2018, vs30, "B" },
        { SoilCode::Asce722, IntegratedAverage(layers, 0.0, AsceAverageDepth), "C" } };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.code));
        CSoilClassification page = Started(layers, c.code);
        page.AnswerPlainly();
        EXPECT_NEAR(page.CodeAverage(), c.average, 1e-4 * c.average);
        EXPECT_EQ(page.Category(), c.category);
    }
    // With the half-space taken for bed rock, NTC 2018 averages only the 8.93 m above it.
    CSoilClassification ntc = Started(layers, SoilCode::Ntc2018);
    ntc.Answer(2, SoilAnswer::No);
    ntc.ChooseBedrock(5);
    EXPECT_NEAR(ntc.VsEq().h, 8.93, 1e-9);
    EXPECT_NEAR(ntc.CodeAverage(), IntegratedAverage(layers, 0.0, 8.93), 1e-3);
    EXPECT_EQ(ntc.Category(), "B");
}
