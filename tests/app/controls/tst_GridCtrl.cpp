// The editable grid: refused edits, list cells, clipboard round trip, stored form, printing.
#include "app/controls/CGridCtrl.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A 4 x 4 grid: header row and column, a Yes/No column, one read-only cell.
void FillLayerTable(CGridModel &model)
{
    model.SetRowCount(4);
    model.SetColumnCount(4);
    model.SetFixedRowCount(1);
    model.SetFixedColumnCount(1);
    const QStringList headers = { QStringLiteral("N."), QStringLiteral("Thickness"),
        QStringLiteral("Vs"), QStringLiteral("Vs fixed") };
    for (int column = 0; column < 4; ++column)
        model.SetItemText(0, column, headers[column]);
    for (int row = 1; row < 4; ++row) {
        model.SetItemText(row, 0, QString::number(row));
        model.SetItemText(row, 1, QString::number(row * 2));
        model.SetItemText(row, 2, QString::number(100 * row));
        model.SetCellKind(row, 3, GridCellKind::List,
            { QStringLiteral("Yes"), QString::fromUtf8("S\u00ec"), QStringLiteral("No") });
        model.SetItemText(row, 3, QStringLiteral("No"));
    }
    model.SetCellReadOnly(3, 1, true);
}

bool IsNumber(const QString &text)
{
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

} // namespace

class tst_GridCtrl : public QObject
{
    Q_OBJECT

private slots:
    void validatorRefusalRestoresTheTextInPlace();
    void readOnlyFixedAndListCellsRefuseOtherEdits_data();
    void readOnlyFixedAndListCellsRefuseOtherEdits();
    void listCellEditsWithADropDown();
    void rowsInsertedBeforeARowAndNeverAmongTheHeaders();
    void copyPasteRoundTripThroughTheClipboard();
    void pasteSkipsProtectedCellsAndDropsWhatFallsOutside();
    void cutEmptiesOnlyEditableCells();
    void storedFormReadsBackEqual();
    void truncatedOrForeignStoredFormIsRefusedAndGridKept_data();
    void truncatedOrForeignStoredFormIsRefusedAndGridKept();
    void printingLongGridsUsesSeveralPages();
};

void tst_GridCtrl::validatorRefusalRestoresTheTextInPlace()
{
    CGridCtrl grid;
    FillLayerTable(*grid.Model());
    grid.SetEndEditValidator(
        [](int, int column, const QString &text) { return column != 2 || IsNumber(text); });
    QSignalSpy edited(&grid, &CGridCtrl::CellEdited);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    const QModelIndex cell = grid.Model()->index(1, 2);
    auto typeInto = [&grid, &cell](const QString &text) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // old editors
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        auto *editor = grid.findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view ends the edit through a queued call
    };
    typeInto(QStringLiteral("abc"));
    QCOMPARE(grid.GetItemText(1, 2), QStringLiteral("100"));
    QCOMPARE(edited.count(), 0);
    typeInto(QStringLiteral("180,5")); // the check here takes "." only
    QCOMPARE(grid.GetItemText(1, 2), QStringLiteral("100"));
    typeInto(QStringLiteral("180.5"));
    QCOMPARE(grid.GetItemText(1, 2), QStringLiteral("180.5"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.first(), (QList<QVariant> { 1, 2 }));
}

void tst_GridCtrl::readOnlyFixedAndListCellsRefuseOtherEdits_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("editable cell") << 2 << 1 << "7" << true;
    QTest::newRow("read-only cell") << 3 << 1 << "7" << false;
    QTest::newRow("header row") << 0 << 1 << "X" << false;
    QTest::newRow("header column") << 2 << 0 << "X" << false;
    QTest::newRow("list option") << 2 << 3 << "Yes" << true;
    QTest::newRow("not a list option") << 2 << 3 << "Maybe" << false;
    QTest::newRow("outside the grid") << 9 << 9 << "X" << false;
}

void tst_GridCtrl::readOnlyFixedAndListCellsRefuseOtherEdits()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    CGridModel model;
    FillLayerTable(model);
    const QString before = model.GetItemText(row, column);
    QCOMPARE(model.setData(model.index(row, column), text), accepted);
    QCOMPARE(model.GetItemText(row, column), accepted ? text : before);
    QCOMPARE(bool(model.flags(model.index(row, column)) & Qt::ItemIsEditable),
        model.index(row, column).isValid() && !model.IsCellReadOnly(row, column));
}

void tst_GridCtrl::listCellEditsWithADropDown()
{
    CGridCtrl grid;
    FillLayerTable(*grid.Model());
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const QModelIndex cell = grid.Model()->index(2, 3);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto *combo = grid.findChild<QComboBox *>();
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QStringLiteral("No"));
    combo->setCurrentIndex(1);
    emit grid.itemDelegate()->commitData(combo);
    QCOMPARE(grid.GetItemText(2, 3), QString::fromUtf8("S\u00ec"));
}

void tst_GridCtrl::rowsInsertedBeforeARowAndNeverAmongTheHeaders()
{
    CGridModel model;
    FillLayerTable(model);
    QCOMPARE(model.InsertRow(3), 3); // before the last row, as the curve table does
    QCOMPARE(model.GetRowCount(), 5);
    QCOMPARE(model.GetItemText(3, 1), QString());
    QCOMPARE(model.GetItemText(4, 1), QStringLiteral("6"));
    QVERIFY(model.IsCellReadOnly(4, 1)); // the cell's state moves with its row
    QVERIFY(!model.IsCellReadOnly(3, 1));
    QCOMPARE(model.InsertRow(0), 5); // not inside the header: appended
    QCOMPARE(model.GetItemText(0, 1), QStringLiteral("Thickness"));
    QVERIFY(model.DeleteRow(3));
    QVERIFY(!model.DeleteRow(9));
    QCOMPARE(model.GetRowCount(), 5);
    QCOMPARE(model.GetItemText(3, 1), QStringLiteral("6"));
}

void tst_GridCtrl::copyPasteRoundTripThroughTheClipboard()
{
    CGridCtrl grid;
    FillLayerTable(*grid.Model());
    grid.SetRowCount(6);
    grid.selectionModel()->select(
        QItemSelection(grid.Model()->index(1, 1), grid.Model()->index(2, 2)),
        QItemSelectionModel::ClearAndSelect);
    grid.Copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2\t100\r\n4\t200\r\n"));
    grid.selectionModel()->select(grid.Model()->index(4, 1), QItemSelectionModel::ClearAndSelect);
    grid.Paste();
    QCOMPARE(grid.GetItemText(4, 1), QStringLiteral("2"));
    QCOMPARE(grid.GetItemText(4, 2), QStringLiteral("100"));
    QCOMPARE(grid.GetItemText(5, 1), QStringLiteral("4"));
    QCOMPARE(grid.GetItemText(5, 2), QStringLiteral("200"));
    QCOMPARE(grid.Model()->CopyText(4, 1, 5, 2), grid.Model()->CopyText(1, 1, 2, 2));
}

void tst_GridCtrl::pasteSkipsProtectedCellsAndDropsWhatFallsOutside()
{
    CGridModel model;
    FillLayerTable(model);
    model.SetEndEditValidator(
        [](int, int column, const QString &text) { return column != 2 || IsNumber(text); });
    // Spreadsheet text: LF line ends, a trailing line end, one value too many per row.
    const int changed =
        model.PasteText(2, 1, QStringLiteral("11\tx\tYes\tspill\n12\t13\tNo\tspill\n"));
    QCOMPARE(model.GetItemText(2, 1), QStringLiteral("11"));
    QCOMPARE(model.GetItemText(2, 2), QStringLiteral("200")); // refused by the check
    QCOMPARE(model.GetItemText(2, 3), QStringLiteral("Yes"));
    QCOMPARE(model.GetItemText(3, 1), QStringLiteral("6")); // read-only
    QCOMPARE(model.GetItemText(3, 2), QStringLiteral("13"));
    QCOMPARE(model.GetItemText(3, 3), QStringLiteral("No"));
    QCOMPARE(changed, 4);
    QCOMPARE(model.GetRowCount(), 4);
}

void tst_GridCtrl::cutEmptiesOnlyEditableCells()
{
    CGridCtrl grid;
    FillLayerTable(*grid.Model());
    grid.selectionModel()->select(
        QItemSelection(grid.Model()->index(2, 1), grid.Model()->index(3, 3)),
        QItemSelectionModel::ClearAndSelect);
    grid.Cut();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("4\t200\tNo\r\n6\t300\tNo\r\n"));
    QCOMPARE(grid.GetItemText(2, 1), QString());
    QCOMPARE(grid.GetItemText(3, 2), QString());
    QCOMPARE(grid.GetItemText(3, 1), QStringLiteral("6")); // read-only stays
    QCOMPARE(grid.GetItemText(2, 3), QStringLiteral("No")); // a list cell has no empty choice
}

void tst_GridCtrl::storedFormReadsBackEqual()
{
    CGridModel model;
    FillLayerTable(model);
    model.SetItemText(2, 3, QString::fromUtf8("S\u00ec"));
    model.SetItemText(1, 1, QString(300, QLatin1Char('x'))); // a long counted string
    CMatrixArchive out;
    model.Store(out);
    CMatrixArchive in(out.GetBuffer());
    CGridModel loaded;
    loaded.Load(in);
    QVERIFY(in.AtEnd());
    QVERIFY(loaded == model);
    QVERIFY(loaded.IsCellReadOnly(3, 1));
    QCOMPARE(loaded.CellKind(2, 3), GridCellKind::List);
    QCOMPARE(loaded.GetItemText(2, 3), QString::fromUtf8("S\u00ec"));
    CMatrixArchive again;
    loaded.Store(again);
    QCOMPARE(again.GetBuffer(), out.GetBuffer());
}

void tst_GridCtrl::truncatedOrForeignStoredFormIsRefusedAndGridKept_data()
{
    QTest::addColumn<int>("damage");
    QTest::newRow("cut in the middle") << 0;
    QTest::newRow("another object's tag") << 1;
    QTest::newRow("negative row count") << 2;
    QTest::newRow("more cells than bytes") << 3;
}

void tst_GridCtrl::truncatedOrForeignStoredFormIsRefusedAndGridKept()
{
    QFETCH(int, damage);
    CGridModel source;
    FillLayerTable(source);
    CMatrixArchive out;
    source.Store(out);
    std::vector<std::uint8_t> bytes = out.GetBuffer();
    const std::size_t tagLength = 1 + 8; // one length byte, "VelaGrid"
    if (damage == 0)
        bytes.resize(bytes.size() / 2);
    else if (damage == 1)
        bytes[1] = 'X';
    else if (damage == 2)
        bytes[tagLength + 4 + 3] = 0x80; // high byte of the row count
    else
        bytes[tagLength + 4 + 1] = 0x07; // 1796 rows of 4 cells in a few hundred bytes
    CGridModel target;
    target.SetRowCount(2);
    target.SetColumnCount(2);
    target.SetItemText(1, 1, QStringLiteral("kept"));
    CMatrixArchive in(bytes);
    CArchiveException::Cause cause = CArchiveException::EndOfFile;
    try {
        target.Load(in);
        QFAIL("damaged stored form was read");
    } catch (const CArchiveException &error) {
        cause = error.GetCause();
    }
    // Foreign headers are refused before anything is allocated for the cells they announce.
    if (damage != 0)
        QCOMPARE(cause, CArchiveException::BadClass);
    QCOMPARE(target.GetRowCount(), 2);
    QCOMPARE(target.GetItemText(1, 1), QStringLiteral("kept"));
}

void tst_GridCtrl::printingLongGridsUsesSeveralPages()
{
    QTemporaryDir dir;
    CGridCtrl grid;
    grid.SetRowCount(300);
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    for (int row = 0; row < 300; ++row)
        grid.SetItemText(row, 1, QString::number(row));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("grid.pdf")));
    grid.Print(&printer);
    QFile pdf(dir.filePath(QStringLiteral("grid.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF"));
    // 300 rows do not fit on one page.
    QVERIFY(content.count("/Type /Page") - content.count("/Type /Pages") > 1);
}

QTEST_MAIN(tst_GridCtrl)
#include "tst_GridCtrl.moc"
