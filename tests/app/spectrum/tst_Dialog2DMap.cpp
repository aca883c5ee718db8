// The 2D map dialog with three saved analyses: inserting after the selection, moving with the
// commands' enabling, the redraw in the new order, the distance field's messages, a document
// without results refused with its message, and the export.
#include "app/chart/CChartImage.h"
#include "app/chart/CChartWidget.h"
#include "app/page/CMessageBoxCapture.h"
#include "app/spectrum/CDialog2DMap.h"
#include "app/spectrum/CVelocityScale.h"
#include "tests/app/spectrum/MapDocuments.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class tst_Dialog2DMap : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_north, m_middle, m_south, m_draft;

    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    static QStringList Names(const CDialog2DMap &dialog)
    {
        QStringList names;
        for (int row = 0; row < dialog.FileList()->rowCount(); ++row)
            names.append(dialog.FileList()->item(row, 0)->text());
        return names;
    }

    // The velocity of every listed profile's top layer, in list order.
    static QList<double> TopVelocities(const CDialog2DMap &dialog)
    {
        QList<double> velocities;
        for (const MapProfile &profile : dialog.Profiles())
            velocities.append(profile.velocity.front());
        return velocities;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_north = Write("north.vla", MapAnalysis({ { 4, 180 }, { 8, 320 }, { 0, 650 } }));
        m_middle = Write("middle.vla", MapAnalysis({ { 6, 240 }, { 0, 520 } }));
        m_south = Write("south.vla", MapAnalysis({ { 2, 150 }, { 5, 280 }, { 0, 700 } }));
        m_draft = Write("draft.vla", MapDocument({ { "3", "200" }, { "", "400" } }, false));
    }

    void listsAndMovesThreeAnalyses()
    {
        CMessageBoxCapture boxes;
        CDialog2DMap dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("2D VELA"));
        QCOMPARE(dialog.FileList()->horizontalHeaderItem(0)->text(), QStringLiteral("Files:"));
        QCOMPARE(dialog.Chart()->Region().BottomLabel(), QStringLiteral("Position [m]"));
        dialog.DistanceField()->setText("10");

        QCOMPARE(dialog.AddFiles({ m_north, m_south }), 2);
        // Inserted after the selected first row.
        dialog.SelectProfile(0);
        QCOMPARE(dialog.AddFiles({ m_middle }), 1);
        QCOMPARE(Names(dialog), (QStringList { "north.vla", "middle.vla", "south.vla" }));
        QVERIFY(boxes.requests.isEmpty());
        QCOMPARE(dialog.Section().image.width(), 41);
        QCOMPARE(dialog.Section().length, 20.0);
        const auto *picture =
            dynamic_cast<const CChartImage *>(dialog.Chart()->Region().Objects().at(0).get());
        QVERIFY(picture);
        QCOMPARE(picture->PixelWidth(), 41);
        QCOMPARE(picture->Right(), 20.0);
        QCOMPARE(picture->Bottom(), -1.1 * 12.0);
        // The colour scale beside it spans the velocities of the section.
        QVERIFY(dialog.Scale()->HasRange());
        QCOMPARE(dialog.Scale()->Least(), dialog.Section().vMin);
        QCOMPARE(dialog.Scale()->Greatest(), dialog.Section().vMax);

        // Enabling follows the selection.
        dialog.SelectProfile(0);
        QVERIFY(!dialog.MoveUpAction()->isEnabled());
        QVERIFY(dialog.MoveDownAction()->isEnabled());
        dialog.SelectProfile(2);
        QVERIFY(dialog.MoveUpAction()->isEnabled());
        QVERIFY(!dialog.MoveDownAction()->isEnabled());
        dialog.SelectProfile(-1);
        QVERIFY(!dialog.MoveUpAction()->isEnabled());
        QVERIFY(!dialog.MoveDownAction()->isEnabled());

        // Moving the last one up redraws in the new order: its column moves with it.
        const QImage before = dialog.Section().image;
        dialog.SelectProfile(2);
        dialog.MoveUpAction()->trigger();
        QCOMPARE(Names(dialog), (QStringList { "north.vla", "south.vla", "middle.vla" }));
        QCOMPARE(TopVelocities(dialog), (QList<double> { 180, 150, 240 }));
        QCOMPARE(dialog.SelectedProfile(), 1);
        const QImage after = dialog.Section().image;
        for (int r = 0; r < 100; ++r) {
            QCOMPARE(after.pixel(20, r), before.pixel(40, r));
            QCOMPARE(after.pixel(40, r), before.pixel(20, r));
            QCOMPARE(after.pixel(0, r), before.pixel(0, r));
        }
        dialog.MoveUpAction()->trigger();
        QCOMPARE(Names(dialog), (QStringList { "south.vla", "north.vla", "middle.vla" }));
        QVERIFY(!dialog.MoveUpAction()->isEnabled());
        dialog.MoveUp(); // nothing above the first
        QCOMPARE(Names(dialog).first(), QStringLiteral("south.vla"));
        dialog.MoveDownAction()->trigger();
        QCOMPARE(Names(dialog), (QStringList { "north.vla", "south.vla", "middle.vla" }));
        QVERIFY(boxes.requests.isEmpty());
    }

    void refusesAnAnalysisWithoutResults()
    {
        CMessageBoxCapture boxes;
        CDialog2DMap dialog;
        dialog.DistanceField()->setText("5");
        QCOMPARE(dialog.AddFiles({ m_north, m_draft, m_middle }), 2);
        QCOMPARE(Names(dialog), (QStringList { "north.vla", "middle.vla" }));
        QCOMPARE(boxes.requests.size(), 1);
        QVERIFY(
            boxes.requests[0].text.contains("The file doesn't contain a complete VELA analysis"));
        QVERIFY(boxes.requests[0].text.contains("draft.vla"));
    }

    void distanceFieldMessages()
    {
        CMessageBoxCapture boxes;
        CDialog2DMap dialog;
        QCOMPARE(dialog.AddFiles({ m_middle }), 1);
        // Added with an empty field: the drawing asks for the distance.
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].text,
            QStringLiteral("Please insert the distance between the traces"));
        QCOMPARE(boxes.requests[0].caption, QStringLiteral("Error"));
        QVERIFY(dialog.Section().image.isNull());

        dialog.DistanceField()->setText("-4");
        QVERIFY(!dialog.Draw());
        QCOMPARE(boxes.requests.last().text,
            QStringLiteral("The distance between the traces should be a positive number"));
        QVERIFY(dialog.Section().image.isNull());

        dialog.DistanceField()->setText("7,5");
        QVERIFY(dialog.Draw());
        QCOMPARE(dialog.Section().image.width(), 1);
        QCOMPARE(boxes.requests.size(), 2);
    }

    void exportsTheSection()
    {
        CMessageBoxCapture boxes;
        CDialog2DMap dialog;
        dialog.DistanceField()->setText("12");
        dialog.AddFiles({ m_north, m_middle, m_south });
        const QString path = m_dir.filePath("section.rtf");
        QVERIFY(dialog.ExportTo(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        QVERIFY(rtf.startsWith("{\\rtf"));
        QVERIFY(rtf.contains("Distance between traces: 12 m"));
        QVERIFY(rtf.contains("1. north.vla"));
        QVERIFY(rtf.contains("3. south.vla"));
        QVERIFY(rtf.contains("{\\pict"));

        QVERIFY(!dialog.ExportTo(m_dir.filePath("missing/folder/x.rtf")));
        QCOMPARE(boxes.requests.size(), 1);
    }
};

QTEST_MAIN(tst_Dialog2DMap)
#include "tst_Dialog2DMap.moc"
