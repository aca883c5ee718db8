#include "app/curve/CGUICurvaDispersione.h"

#include "app/chart/CChartWidget.h"
#include "app/controls/CGridCtrl.h"
#include "app/curve/CurveChart.h"
#include "app/data/CNomeExcel.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>

namespace {

QString Cursor(const char *format, double x, double y)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, x, y);
    return QString::fromLatin1(buffer);
}

} // namespace

CGUICurvaDispersione::CGUICurvaDispersione(
    QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CChildDialog(TemplateId, parent, steps, analysis)
{
    setObjectName(QStringLiteral("CGUICurvaDispersione"));
    m_chooseOpen = [this]() {
        return QFileDialog::getOpenFileName(this, QString(), QString(),
            tr("Text file (*.txt)") + QStringLiteral(";;") + tr("Excel file (*.xls *.xlsx)"));
    };
    m_chooseSave = [this]() {
        const QString text = tr("Text file (*.txt)");
        const QString excel = tr("Excel file (*.xlsx)");
        QString chosen;
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Save as..."), QString(), text + QStringLiteral(";;") + excel, &chosen);
        return qMakePair(path, chosen == excel);
    };
    m_chooseSheet = [this]() { return CNomeExcel::Ask(this); };

    auto *tableGroup = new QGroupBox(tr("Values of the dispersion curve"), this);
    auto *tableLayout = new QVBoxLayout(tableGroup);
    auto *hint = new QLabel(
        tr("Values can be introduced by hand, read from a file or pasted by hand"), tableGroup);
    hint->setWordWrap(true);
    tableLayout->addWidget(hint);
    m_toolBar = new QToolBar(tableGroup);
    m_toolBar->setObjectName(QStringLiteral("curveToolBar"));
    m_toolBar->setIconSize(QSize(18, 18));
    tableLayout->addWidget(m_toolBar);
    m_grid = new CGridCtrl(tableGroup);
    m_grid->setObjectName(QStringLiteral("curveGrid"));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tableLayout->addWidget(m_grid, 1);
    m_table = std::make_unique<CCurveTable>(analysis, m_grid->Model());

    auto *planeGroup = new QGroupBox(tr("Chart"), this);
    auto *planeLayout = new QHBoxLayout(planeGroup);
    // The same Italian captions in both languages.
    m_planeFv = new QRadioButton(tr("Piano f-v"), planeGroup);
    m_planeFv->setObjectName(QStringLiteral("planeFvRadio"));
    m_planeFp = new QRadioButton(tr("Piano f-p"), planeGroup);
    m_planeFp->setObjectName(QStringLiteral("planeFpRadio"));
    m_planeFv->setChecked(true);
    planeLayout->addWidget(m_planeFv);
    planeLayout->addWidget(m_planeFp);
    planeLayout->addStretch(1);
    m_cursor = new QLabel(planeGroup);
    m_cursor->setObjectName(QStringLiteral("cursorLabel"));
    m_cursor->setMinimumWidth(170);
    planeLayout->addWidget(m_cursor);

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(tableGroup, 1);
    leftLayout->addWidget(planeGroup);
    left->setMaximumWidth(560);
    left->setMinimumWidth(460);

    m_chart = new CChartWidget(this, ChartId);
    m_chart->setObjectName(QStringLiteral("curveChart"));
    m_chart->setMinimumSize(360, 300);
    m_chart->setToolTip(tr("Drag vertically with the left button to add a point with its "
                           "velocity range"));
    m_chart->SetPickingTool(true);

    m_previous = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), tr("Previous"), this);
    m_previous->setObjectName(QStringLiteral("previousButton"));
    m_help = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("Help"), this);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_next = new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward), tr("Next"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    m_next->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addStretch(1);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    buttons->addWidget(m_next);

    auto *page = new QGridLayout(this);
    page->addWidget(left, 0, 0);
    page->addWidget(m_chart, 0, 1);
    page->setColumnStretch(1, 1);
    page->setRowStretch(0, 1);
    page->addLayout(buttons, 1, 0, 1, 2);

    // Toolbar, left to right.
    const auto add = [this](QStyle::StandardPixmap icon, const QString &text, const char *name,
                         auto slot) {
        QAction *action = m_toolBar->addAction(style()->standardIcon(icon), text);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(text);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStyle::SP_FileIcon, tr("New table"), "newTableAction", &CGUICurvaDispersione::OnNewTable);
    add(QStyle::SP_DialogOpenButton, tr("Import"), "importAction", &CGUICurvaDispersione::OnImport);
    add(QStyle::SP_DialogSaveButton, tr("Save as"), "saveAsAction",
        &CGUICurvaDispersione::OnSaveAs);
    add(QStyle::SP_FileDialogDetailedView, tr("Print"), "printAction",
        [this]() { m_grid->PrintWithDialog(); });
    m_toolBar->addSeparator();
    add(QStyle::SP_DialogDiscardButton, tr("Cut"), "cutAction", [this]() {
        m_grid->Cut();
        AfterClipboard();
    });
    add(QStyle::SP_FileDialogContentsView, tr("Copy"), "copyAction", [this]() { m_grid->Copy(); });
    add(QStyle::SP_DialogApplyButton, tr("Paste"), "pasteAction", &CGUICurvaDispersione::OnPaste);
    add(QStyle::SP_DialogResetButton, tr("Clear the selected cells"), "clearAction", [this]() {
        int top = 0, leftColumn = 0, bottom = 0, right = 0;
        if (m_grid->SelectedRect(&top, &leftColumn, &bottom, &right))
            m_grid->Model()->ClearCells(top, leftColumn, bottom, right);
        AfterClipboard();
    });
    m_toolBar->addSeparator();
    add(QStyle::SP_MediaPlay, tr("Automatic points from the spectrum"), "automaticAction",
        &CGUICurvaDispersione::OnAutomaticPoints);
    add(QStyle::SP_TrashIcon, tr("Delete the selected rows"), "deleteRowsAction", [this]() {
        int top = 0, leftColumn = 0, bottom = 0, right = 0;
        if (!m_grid->SelectedRect(&top, &leftColumn, &bottom, &right))
            return;
        for (int row = bottom; row >= std::max(top, 1); --row)
            m_grid->Model()->DeleteRow(row);
        AfterClipboard();
    });

    m_grid->SetEndEditValidator([this](int row, int column, const QString &text) {
        QString message;
        const bool accepted = m_table->AcceptEdit(row, column, text, &message);
        if (!accepted && !message.isEmpty())
            CMessageBox::Show(this, message, tr("Error"), MessageRequest::Icon::Error);
        return accepted;
    });
    connect(m_grid, &CGridCtrl::CellEdited, this, &CGUICurvaDispersione::OnCellEdited);
    connect(m_chart, &CChartWidget::BarPicked, this, &CGUICurvaDispersione::OnBarPicked);
    connect(m_chart, &CChartWidget::CursorMoved, this, &CGUICurvaDispersione::OnCursorMoved);
    connect(m_chart, &CChartWidget::CursorLeft, this, &CGUICurvaDispersione::OnCursorLeft);
    connect(m_planeFv, &QRadioButton::toggled, this, &CGUICurvaDispersione::OnPlaneChanged);
    connect(m_previous, &QPushButton::clicked, this, &CGUICurvaDispersione::OnPrevious);
    connect(m_help, &QPushButton::clicked, this, &CGUICurvaDispersione::OnHelp);
    connect(m_next, &QPushButton::clicked, this, &CGUICurvaDispersione::OnNext);
}

CGUICurvaDispersione::~CGUICurvaDispersione() = default;

void CGUICurvaDispersione::InitPage()
{
    CChartRegion &region = m_chart->Region();
    region.SetTitle(tr("Experimental dispersion curve"));
    region.SetBottomLabel(tr("f [Hz]"));
    region.SetLeftLabel(tr("v [m/s]"));
    region.SetLegendVisible(false);
    m_chart->Refresh();
    m_table->Reset();
}

void CGUICurvaDispersione::FirstRefresh() { Redraw(true); }

void CGUICurvaDispersione::Redraw(bool resetView)
{
    m_table->Check();
    m_next->setEnabled(m_table->NextEnabled());
    DrawChart();
    if (!resetView)
        return;
    bool image = false;
    ChartBounds points;
    for (const auto &object : m_chart->Region().Objects()) {
        if (object->GetKind() == CChartObject::Kind::Image)
            image = true;
        else
            points.Include(object->Bounds());
    }
    if (image) {
        m_chart->ZoomAll();
        return;
    }
    // Without a spectrum: a plane from the origin in which bars can be picked straight away,
    // wide enough for every point.
    const bool fv = m_table->Plane() == CurvePlane::FrequencyVelocity;
    double right = 100.0;
    double top = fv ? 1000.0 : 10.0;
    if (points.valid) {
        right = std::max(right, 1.1 * points.xMax);
        top = std::max(top, 1.1 * points.yMax);
    }
    m_chart->Plot()->xAxis->setRange(0.0, right);
    m_chart->Plot()->yAxis->setRange(0.0, top);
    m_chart->Plot()->replot();
}

void CGUICurvaDispersione::DrawChart()
{
    m_chart->SetRegion(CurveChartRegion(Analysis(), *m_table));
    m_chart->Refresh();
}

void CGUICurvaDispersione::OnCellEdited(int row, int)
{
    m_table->AfterEdit(row);
    emit DocModified();
    Redraw(false);
}

void CGUICurvaDispersione::AfterClipboard()
{
    const bool emptied = m_table->KeepOneEmptyRow();
    emit DocModified();
    Redraw(emptied);
}

void CGUICurvaDispersione::OnPaste()
{
    // Room for every pasted line below the selection: the grid drops what falls outside it.
    int top = 0, leftColumn = 0, bottom = 0, right = 0;
    if (!m_grid->SelectedRect(&top, &leftColumn, &bottom, &right))
        top = m_grid->GetRowCount() - 1;
    const QString text = QApplication::clipboard()->text();
    const int lines = static_cast<int>(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    while (m_grid->GetRowCount() < std::max(top, 1) + lines + 1)
        m_grid->Model()->InsertRow();
    m_grid->Paste();
    AfterClipboard();
}

void CGUICurvaDispersione::OnNewTable()
{
    m_table->Reset();
    emit DocModified();
    Redraw(true);
}

void CGUICurvaDispersione::OnImport()
{
    const QString path = m_chooseOpen();
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    QString message;
    bool ok = false;
    if (suffix == QLatin1String("xls") || suffix == QLatin1String("xlsx")) {
        const std::optional<QString> sheet = m_chooseSheet();
        if (!sheet)
            return;
        ok = m_table->Import(path, &*sheet, &message);
    } else {
        ok = m_table->Import(path, nullptr, &message);
    }
    if (!ok && !message.isEmpty())
        CMessageBox::Show(this, message, tr("Error"), MessageRequest::Icon::Error);
    if (ok)
        emit DocModified();
    Redraw(true);
}

void CGUICurvaDispersione::OnSaveAs()
{
    const QPair<QString, bool> chosen = m_chooseSave();
    QString path = chosen.first;
    if (path.isEmpty())
        return;
    // The extension follows the chosen type.
    const QString wanted = chosen.second ? QStringLiteral("xlsx") : QStringLiteral("txt");
    const QFileInfo info(path);
    if (info.suffix().toLower() != wanted)
        path = (info.suffix().isEmpty() ? path
                                        : info.path() + QLatin1Char('/') + info.completeBaseName())
            + QLatin1Char('.') + wanted;
    QString message;
    if (!m_table->Export(path, chosen.second, &message))
        CMessageBox::Show(this, message, tr("Error"), MessageRequest::Icon::Error);
}

void CGUICurvaDispersione::OnAutomaticPoints()
{
    if (!m_table->TakeAutomaticPoints()) {
        CMessageBox::Show(
            this, tr("Function not available"), tr("Error"), MessageRequest::Icon::Error);
        return;
    }
    emit DocModified();
    Redraw(true);
}

void CGUICurvaDispersione::OnBarPicked(int objectId, double frequency, double y1, double y2)
{
    const bool wasEmpty = m_table->DataRowCount() == 0;
    switch (m_table->AddBar(frequency, y1, y2, objectId)) {
    case CCurveTable::BarResult::Ignored:
        break;
    case CCurveTable::BarResult::Duplicate:
        CMessageBox::Show(
            this, tr("Frequency already present!"), tr("Error"), MessageRequest::Icon::Error);
        break;
    case CCurveTable::BarResult::Added:
        emit DocModified();
        break;
    }
    // The bar itself is replaced by the point's error bar.
    Redraw(wasEmpty && m_table->DataRowCount() > 0);
}

void CGUICurvaDispersione::OnCursorMoved(double x, double y)
{
    if (m_table->Plane() == CurvePlane::FrequencyVelocity)
        m_cursor->setText(Cursor("(%.2f Hz;%.2f m/s)", x, y));
    else
        m_cursor->setText(Cursor("(%.2f Hz;%.6f s/m)", x, y * 0.001));
}

void CGUICurvaDispersione::OnCursorLeft() { m_cursor->clear(); }

void CGUICurvaDispersione::OnPlaneChanged()
{
    const CurvePlane plane =
        m_planeFv->isChecked() ? CurvePlane::FrequencyVelocity : CurvePlane::FrequencySlowness;
    if (plane == m_table->Plane())
        return;
    m_table->SetPlane(plane);
    emit DocModified();
    Redraw(true);
}

void CGUICurvaDispersione::OnPrevious()
{
    const DispersionAnalysis *analysis = Analysis();
    int target = Step::Start;
    if (analysis && analysis->m_bPassivePrepared)
        target = Step::PassiveData;
    else if (analysis && analysis->m_bAnalysed)
        target = Step::Spectrum;
    emit GotoStep(StepCode, target);
}

void CGUICurvaDispersione::OnHelp() { OpenStepHelp(StepCode); }

void CGUICurvaDispersione::OnNext()
{
    const CurveCheck check = m_table->Check();
    m_next->setEnabled(m_table->NextEnabled());
    if (!check.ok) {
        CMessageBox::Show(this, check.message, tr("Error"), MessageRequest::Icon::Error);
        m_grid->FocusCell(check.row + 1, static_cast<int>(check.column));
        CMessageBox::Show(this, tr("Verify input data"), tr("Error"), MessageRequest::Icon::Error);
        return;
    }
    emit GotoStep(StepCode, Step::GroundProfile + FreshPageFlag);
    emit DocModified();
}

int CGUICurvaDispersione::SaveSection(CMatrixArchive &ar, int)
{
    m_table->StoreSection(ar);
    return 0;
}

int CGUICurvaDispersione::LoadSection(CMatrixArchive &ar, int)
{
    m_table->LoadSection(ar);
    const QSignalBlocker blockFv(m_planeFv);
    const QSignalBlocker blockFp(m_planeFp);
    m_planeFv->setChecked(m_table->Plane() == CurvePlane::FrequencyVelocity);
    m_planeFp->setChecked(m_table->Plane() == CurvePlane::FrequencySlowness);
    Redraw(true);
    return 0;
}

QList<QStringList> CGUICurvaDispersione::ReportTable() const { return m_table->ReportTable(); }

int CGUICurvaDispersione::WriteReport(ReportWriter &report)
{
    WriteCurveChapter(report, Analysis(), *m_table);
    return 0;
}

int CGUICurvaDispersione::OnExportText(CChartWidget *chart, const QString &path)
{
    // A file that cannot be written ends the export without a message.
    if (chart == m_chart)
        m_table->WriteChartText(path);
    return 0;
}
