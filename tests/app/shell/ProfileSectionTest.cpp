// The profile page's document section: written and read back equal in both format versions,
// with and without computed results, and refused whole when cut short anywhere.
#include "app/shell/ProfileSection.h"
#include "app/controls/CGridModel.h"
#include "matrix/CMatrixArchive.h"

#include <gtest/gtest.h>

namespace {

void FillTable(CGridModel &table, int layers)
{
    table.SetColumnCount(14);
    table.SetRowCount(layers + 1);
    table.SetFixedRowCount(1);
    table.SetFixedColumnCount(1);
    for (int row = 1; row <= layers; ++row) {
        table.SetItemText(row, 0, QString::number(row));
        table.SetItemText(row, 7, QString::number(150 + 50 * row));
        table.SetCellKind(row, 5, GridCellKind::List, { "Yes", "No" });
        table.SetCellReadOnly(row, 13, true);
    }
}

CMatrix Column(std::initializer_list<double> values)
{
    return CMatrix(int(values.size()), 1, values);
}

ProfileSection Computed(int layers)
{
    ProfileSection section;
    section.layerCountIndex = layers - 2;
    section.spacingText = QStringLiteral("1,5");
    section.receiversDepthText = QStringLiteral("0");
    section.receiversIndex = 23;
    section.iterationsIndex = 5;
    section.modesIndex = 2;
    section.maxErrorIndex = 3;
    section.apparentLegend = true;
    section.modesLegend = true;
    section.frequencies = Column({ 5, 10, 20 });
    section.velocities = Column({ 320, 250, 190 });
    section.upperBounds = Column({ 350, 270, 200 });
    section.lowerBounds = Column({ 300, 230, 180 });
    section.apparentMisfit = 0.0625;
    section.effectiveMisfit = 0.078125;
    section.forwardValid = true;
    section.hasLayers = true;
    section.apparentCurve = CComplexMatrix(3, 1);
    section.effectiveCurve = CComplexMatrix(3, 1);
    section.resultFrequencies = section.frequencies;
    section.modalVelocities = CMatrix(3, 2, { 318, 0, 251, 402, 191, 330 });
    section.relativeWidths = Column({ 0.5, 0.25 });
    section.pointIndices = Column({ 2, 1 });
    section.uncertaintyIndex = 1;
    for (int layer = 0; layer < layers; ++layer) {
        section.finalVs.push_back(180.5 + layer);
        section.finalVsTexts.push_back(QString::number(180.5 + layer));
    }
    return section;
}

std::vector<std::uint8_t> Written(
    const ProfileSection &section, const CGridModel &table, int version)
{
    CMatrixArchive ar;
    section.Write(ar, table, version);
    return ar.GetBuffer();
}

} // namespace

TEST(ProfileSection, ReadsBackEqualInBothVersions)
{
    for (int version : { 0, 1 }) {
        for (bool computed : { false, true }) {
            SCOPED_TRACE(testing::Message() << "version " << version << " computed " << computed);
            CGridModel table;
            FillTable(table, 3);
            ProfileSection section = computed ? Computed(3) : ProfileSection();
            const auto bytes = Written(section, table, version);

            CGridModel readTable;
            ProfileSection read;
            CMatrixArchive in(bytes);
            read.Read(in, readTable, version);
            EXPECT_TRUE(in.AtEnd());
            EXPECT_TRUE(read == section);
            EXPECT_TRUE(readTable == table);
        }
    }
    // The current format reserves 999 int32 after the uncertainty list; the older has none.
    CGridModel table;
    FillTable(table, 3);
    EXPECT_EQ(
        Written(Computed(3), table, 1).size() - Written(Computed(3), table, 0).size(), 999u * 4u);
}

TEST(ProfileSection, EveryTruncationIsRefusedAndChangesNothing)
{
    CGridModel table;
    FillTable(table, 2);
    const auto bytes = Written(Computed(2), table, 1);

    CGridModel target;
    FillTable(target, 5);
    ProfileSection kept;
    kept.spacingText = QStringLiteral("kept");
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CMatrixArchive in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + long(size)));
        ProfileSection section = kept;
        EXPECT_THROW(section.Read(in, target, 1), CArchiveException) << size;
        ASSERT_TRUE(section == kept) << size;
        ASSERT_EQ(target.GetRowCount(), 6) << size;
    }
}
