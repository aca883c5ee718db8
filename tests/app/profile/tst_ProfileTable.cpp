// The profile table's rules on a grid model, as the page's in-place edits drive them.
#include "app/controls/CGridModel.h"
#include "app/profile/CProfileTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// A curve of three points with bounds: 0.4 v / f gives depths 8, 4 and 1.6 m.
ExperimentalCurve ThreePointCurve()
{
    ExperimentalCurve c;
    c.frequencies = CMatrix::Column({ 10, 25, 50 });
    c.velocities = CMatrix::Column({ 200, 250, 200 });
    c.maxVelocities = CMatrix::Column({ 220, 300, 260 });
    c.minVelocities = CMatrix::Column({ 180, 200, 140 });
    c.standardDeviations = CMatrix::Column({ 40.0 / 6, 100.0 / 6, 120.0 / 6 });
    return c;
}

QString Whole(double v) { return QString::asprintf("%.0f", v); }

} // namespace

class tst_ProfileTable : public QObject
{
    Q_OBJECT

private:
    CGridModel m_grid;
    CProfileTable m_table { &m_grid, QStringLiteral("Yes"), QStringLiteral("No") };

private Q_SLOTS:
    void init()
    {
        m_table.Attach();
        m_table.SetDefaultTable(ThreePointCurve());
    }

    void defaultTableProposesVsFromTheNearestCurvePoint()
    {
        QCOMPARE(m_grid.GetRowCount(), 10);
        QCOMPARE(m_table.LayerCount(), 8);
        QCOMPARE(m_grid.GetItemText(9, ColLayer), QStringLiteral("9"));
        QCOMPARE(m_grid.GetItemText(9, ColThickness), QStringLiteral("oo"));
        // Layer middles 1, 3.5, 6.5, 10, ... m against the point depths 8, 4, 1.6 m.
        const double a[] = { 200 / 0.9, 250 / 0.9, 200 / 0.9 };
        const int nearest[] = { 2, 1, 0, 0, 0, 0, 0, 0 };
        for (int l = 0; l < 8; ++l) {
            const double vs = a[nearest[l]];
            QCOMPARE(m_grid.GetItemText(l + 1, ColVs), Whole(vs));
            QCOMPARE(m_grid.GetItemText(l + 1, ColVsMax), Whole(2 * vs));
            QCOMPARE(m_grid.GetItemText(l + 1, ColVsMin), Whole(0.5 * vs));
            QCOMPARE(m_grid.GetItemText(l + 1, ColVp), Whole(vs * std::sqrt(1.6 / 0.6)));
            QCOMPARE(int(m_table.Points()(l)), nearest[l]);
        }
        QCOMPARE(m_grid.GetItemText(9, ColVs), Whole(a[0])); // the half-space: first point
        QCOMPARE(m_table.Widths()(1), (300.0 - 200.0) / 250.0);
        QCOMPARE(m_grid.GetItemText(3, ColDepth), QStringLiteral("-8"));
        QCOMPARE(m_grid.GetItemText(8, ColDepth), QStringLiteral("-32"));
        QCOMPARE(m_grid.GetItemText(9, ColDepth), QStringLiteral("-oo"));
        QVERIFY(m_grid.IsCellReadOnly(1, ColDepth));
        QVERIFY(m_grid.IsCellReadOnly(1, ColFinalVs));
    }

    void slowCurveProposesTenMetresPerSecond()
    {
        ExperimentalCurve slow = ThreePointCurve();
        slow.velocities = CMatrix::Column({ 5, 8, 6 });
        const InitialVsProposal p = ProposeInitialVs(slow, { 2, 3 });
        QCOMPARE(int(p.vs.size()), 3);
        for (double vs : p.vs)
            QCOMPARE(vs, 10.0);
    }

    void poissonAcceptsTheRangeAndRecomputesVp()
    {
        QVERIFY(!m_grid.EndEdit(1, ColPoisson, QStringLiteral("0.5")));
        QCOMPARE(m_grid.GetItemText(1, ColPoisson), QStringLiteral("0.2"));
        QVERIFY(!m_grid.EndEdit(1, ColPoisson, QStringLiteral("0.09")));
        QVERIFY(m_grid.EndEdit(1, ColPoisson, QStringLiteral("0,1")));
        QVERIFY(m_grid.EndEdit(1, ColPoisson, QStringLiteral("0.49")));
        // nu = 0.25 gives Vp = sqrt(3) Vs.
        m_grid.SetItemText(1, ColVs, QStringLiteral("300"));
        QVERIFY(m_grid.EndEdit(1, ColPoisson, QStringLiteral("0.25")));
        QCOMPARE(m_grid.GetItemText(1, ColVp), Whole(300 * std::sqrt(3.0)));
        // Without Vs the ratio gives Vs back from Vp.
        m_grid.SetItemText(2, ColVs, QString());
        m_grid.SetItemText(2, ColVp, QStringLiteral("1000"));
        QVERIFY(m_grid.EndEdit(2, ColPoisson, QStringLiteral("0.25")));
        QCOMPARE(m_grid.GetItemText(2, ColVs), Whole(1000 / std::sqrt(3.0)));
    }

    void waterTableSetsPoissonAndRecomputesVp()
    {
        m_grid.SetItemText(1, ColVs, QStringLiteral("200"));
        QVERIFY(m_grid.EndEdit(1, ColWaterTable, QStringLiteral("Yes")));
        QCOMPARE(m_grid.GetItemText(1, ColPoisson), QStringLiteral("0.48"));
        QVERIFY(m_grid.IsCellReadOnly(1, ColPoisson));
        QCOMPARE(m_grid.GetItemText(1, ColVp), Whole(200 * std::sqrt(1.04 / 0.04)));
        QVERIFY(m_grid.EndEdit(1, ColWaterTable, QStringLiteral("No")));
        QVERIFY(!m_grid.IsCellReadOnly(1, ColPoisson));
    }

    void vsMovesItsBoundsAndFixedVsLocksThem()
    {
        m_grid.SetItemText(1, ColVsMin, QStringLiteral("100"));
        m_grid.SetItemText(1, ColVsMax, QStringLiteral("400"));
        QVERIFY(m_grid.EndEdit(1, ColVs, QStringLiteral("500")));
        QCOMPARE(m_grid.GetItemText(1, ColVsMax), QStringLiteral("750"));
        QCOMPARE(m_grid.GetItemText(1, ColVsMin), QStringLiteral("100"));
        QVERIFY(m_grid.EndEdit(1, ColVs, QStringLiteral("60")));
        QCOMPARE(m_grid.GetItemText(1, ColVsMin), QStringLiteral("40"));
        // With Poisson 0.2, Vp follows Vs.
        QCOMPARE(m_grid.GetItemText(1, ColVp), Whole(60 * std::sqrt(1.6 / 0.6)));
        // Bounds must enclose Vs while it is not fixed.
        QVERIFY(!m_grid.EndEdit(1, ColVsMin, QStringLiteral("70")));
        QVERIFY(!m_grid.EndEdit(1, ColVsMax, QStringLiteral("59")));
        QVERIFY(m_grid.EndEdit(1, ColVsMax, QStringLiteral("61")));
        QVERIFY(m_grid.EndEdit(1, ColVsFixed, QStringLiteral("Yes")));
        QVERIFY(m_grid.IsCellReadOnly(1, ColVsMin));
        QVERIFY(m_grid.IsCellReadOnly(1, ColVsMax));
        QVERIFY(m_grid.EndEdit(1, ColVsFixed, QStringLiteral("No")));
        QVERIFY(!m_grid.IsCellReadOnly(1, ColVsMin));
    }

    void thicknessTakesOneNumberAndEmptyOneClearsTheDepths()
    {
        QVERIFY(!m_grid.EndEdit(2, ColThickness, QStringLiteral("3 m")));
        QVERIFY(m_grid.EndEdit(2, ColThickness, QStringLiteral("2,5")));
        QCOMPARE(m_grid.GetItemText(2, ColDepth), QStringLiteral("-4.5"));
        m_table.SetLayerCount(1);
        m_grid.SetItemText(1, ColThickness, QString());
        m_table.RecomputeDepths();
        QCOMPARE(m_grid.GetItemText(1, ColDepth), QString());
        QCOMPARE(m_grid.GetItemText(2, ColDepth), QStringLiteral("-oo"));
    }

    void layerCountChangesKeepTheHalfSpaceLast()
    {
        const QString halfSpaceVs = m_grid.GetItemText(9, ColVs);
        m_table.SetLayerCount(3);
        QCOMPARE(m_grid.GetRowCount(), 5);
        QCOMPARE(m_grid.GetItemText(4, ColLayer), QStringLiteral("4"));
        QCOMPARE(m_grid.GetItemText(4, ColVs), halfSpaceVs);
        m_table.SetLayerCount(5);
        QCOMPARE(m_grid.GetRowCount(), 7);
        QCOMPARE(m_grid.GetItemText(6, ColLayer), QStringLiteral("6"));
        QCOMPARE(m_grid.GetItemText(4, ColVs), QString());
        QCOMPARE(m_grid.GetItemText(4, ColVsFixed), QStringLiteral("No"));
        QCOMPARE(m_grid.CellKind(4, ColAlluvial), GridCellKind::List);
        QVERIFY(m_grid.IsCellReadOnly(4, ColDepth));
        int row = 0, column = 0;
        QVERIFY(m_table.FirstMissingCell(&row, &column));
        QCOMPARE(row, 4);
        QCOMPARE(column, int(ColThickness));
    }

    void collectReadsEveryRowAndTheHalfSpaceAsZeroThickness()
    {
        m_grid.SetItemText(3, ColFinalVs, QStringLiteral("321"));
        GroundProfile p;
        m_table.Collect(p);
        QCOMPARE(p.LayerCount(), 9);
        QCOMPARE(p.layers[0].thickness, 2.0);
        QCOMPARE(p.layers[8].thicknessText, QStringLiteral("0"));
        QCOMPARE(p.layers[8].thickness, 0.0);
        QCOMPARE(p.layers[2].finalVs, 321.0);
        QCOMPARE(p.layers[1].finalVs, p.layers[1].vs);
        QVERIFY(!p.layers[0].waterTable);

        // A table written with the other language's words reads the same.
        CGridModel italian;
        CProfileTable reader(&italian, QStringLiteral("SI"), QStringLiteral("NO"));
        reader.SetDefaultTable(ThreePointCurve());
        italian.SetItemText(1, ColWaterTable, QStringLiteral("No"));
        italian.SetItemText(2, ColWaterTable, QStringLiteral("Yes"));
        italian.SetItemText(3, ColVsFixed, QStringLiteral("SI"));
        GroundProfile q;
        reader.Collect(q);
        QVERIFY(!q.layers[0].waterTable);
        QVERIFY(q.layers[1].waterTable);
        QVERIFY(q.layers[2].vsFixed);
        QVERIFY(!q.layers[3].vsFixed);
    }

    void savedTableOpensAgainAndTheOlderFormStillReads()
    {
        QTemporaryDir dir;
        m_grid.SetItemText(2, ColDescription, QStringLiteral("clay, soft"));
        m_grid.EndEdit(4, ColVsFixed, QStringLiteral("Yes"));
        const QString path = dir.filePath(QStringLiteral("profile.txt"));
        QVERIFY(m_table.ExportText(path, nullptr));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray first = file.readLine();
        QCOMPARE(first.count(','), 14);
        QVERIFY(first.endsWith(", \r\n"));
        file.close();

        CGridModel other;
        CProfileTable reader(&other, QStringLiteral("Yes"), QStringLiteral("No"));
        reader.SetDefaultTable(ExperimentalCurve());
        reader.SetLayerCount(2);
        QVERIFY(reader.ImportText(path).ok);
        m_grid.SetItemText(2, ColDescription, QStringLiteral("clay; soft"));
        QVERIFY(other == m_grid);

        // The older form: twelve commas (no final Vs column), consecutive commas as one.
        const QString older = dir.filePath(QStringLiteral("older.txt"));
        QFile out(older);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("Layer,Description,h,z,Density,Water,Poisson,Vs,Fixed,Min,Max,Vp,Alluvial\r\n"
                  "1,sand,4,-4,1800,No,0.3,200,No,100,400,374,No\r\n"
                  "2,rock,0,-oo,2000,No,0.25,600,No,300,1200,1039,No\r\n"
                  "end of table\r\n");
        out.close();
        QVERIFY(reader.ImportText(older).ok);
        QCOMPARE(reader.LayerCount(), 1);
        QCOMPARE(other.GetItemText(1, ColVs), QStringLiteral("200"));
        QCOMPARE(other.GetItemText(2, ColVs), QStringLiteral("600"));
        QCOMPARE(other.GetItemText(2, ColThickness), QStringLiteral("oo"));

        // Two table lines make no profile; the table stays as it was.
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write("a,b,c,d,e,f,g,h,i,j,k,l,m\r\n1,2,3,4,5,6,7,8,9,10,11,12,13\r\n");
        out.close();
        const ProfileImportResult refused = reader.ImportText(older);
        QVERIFY(!refused.ok);
        QCOMPARE(refused.message, QStringLiteral("Insufficient number of layers!"));
        QCOMPARE(reader.LayerCount(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_ProfileTable)
#include "tst_ProfileTable.moc"
