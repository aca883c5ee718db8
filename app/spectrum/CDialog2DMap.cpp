#include "app/spectrum/CDialog2DMap.h"

#include "app/chart/CChartImage.h"
#include "app/chart/CChartWidget.h"
#include "app/page/CMessageBox.h"
#include "app/spectrum/CVelocityScale.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

CDialog2DMap::CDialog2DMap(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("2D VELA"));
    setModal(true);
    resize(960, 600);

    auto *toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar->addAction(tr("Add..."), this, &CDialog2DMap::AskAndAdd)
        ->setObjectName(QStringLiteral("addAction"));
    m_upAction = toolBar->addAction(tr("Move up"), this, &CDialog2DMap::MoveUp);
    m_downAction = toolBar->addAction(tr("Move down"), this, &CDialog2DMap::MoveDown);
    toolBar->addAction(tr("Draw"), this, [this] { Draw(); })
        ->setObjectName(QStringLiteral("drawAction"));
    m_exportAction = toolBar->addAction(tr("Export..."), this, &CDialog2DMap::AskAndExport);
    m_exportAction->setObjectName(QStringLiteral("exportAction"));

    auto *traces = new QGroupBox(tr("Traces"), this);
    m_list = new QTableWidget(0, 1, traces);
    m_list->setHorizontalHeaderLabels({ tr("Files:") });
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->setVisible(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CDialog2DMap::UpdateCommands);
    auto *tracesLayout = new QVBoxLayout(traces);
    tracesLayout->addWidget(m_list);

    auto *distance = new QGroupBox(tr("Distance between traces"), this);
    auto *hint = new QLabel(tr("Please specify the distance between the traces"), distance);
    hint->setWordWrap(true);
    m_distance = new QLineEdit(distance);
    connect(m_distance, &QLineEdit::returnPressed, this, [this] { Draw(); });
    auto *distanceLayout = new QVBoxLayout(distance);
    distanceLayout->addWidget(hint);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->addWidget(new QLabel(tr("Distance between traces [m]"), distance));
    fieldRow->addWidget(m_distance);
    distanceLayout->addLayout(fieldRow);

    auto *side = new QVBoxLayout;
    side->addWidget(traces, 1);
    side->addWidget(distance);

    m_chart = new CChartWidget(this, 0, ChartStyleNoContextMenu);
    m_chart->setMinimumSize(480, 360);
    CChartRegion region;
    region.SetBottomLabel(tr("Position [m]"));
    region.SetLeftLabel(tr("Depth [m]"));
    m_chart->SetRegion(std::move(region));

    // Without it the colours of the section would not say which velocities they stand for.
    m_scale = new CVelocityScale(this);

    auto *body = new QHBoxLayout;
    body->addLayout(side, 0);
    body->addWidget(m_chart, 1);
    body->addWidget(m_scale, 0);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addLayout(body);
    UpdateCommands();
}

CDialog2DMap::~CDialog2DMap() = default;

int CDialog2DMap::SelectedProfile() const
{
    const QList<QTableWidgetItem *> items = m_list->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

void CDialog2DMap::SelectProfile(int index)
{
    if (index >= 0 && index < m_list->rowCount())
        m_list->selectRow(index);
    else
        m_list->clearSelection();
    UpdateCommands();
}

void CDialog2DMap::FillList()
{
    const int selected = SelectedProfile();
    m_list->setRowCount(static_cast<int>(m_profiles.size()));
    for (int row = 0; row < m_list->rowCount(); ++row) {
        auto *item = new QTableWidgetItem(
            QFileInfo(m_profiles[static_cast<std::size_t>(row)].path).fileName());
        item->setToolTip(m_profiles[static_cast<std::size_t>(row)].path);
        m_list->setItem(row, 0, item);
    }
    SelectProfile(selected);
}

void CDialog2DMap::UpdateCommands()
{
    const int selected = SelectedProfile();
    const int last = static_cast<int>(m_profiles.size()) - 1;
    m_upAction->setEnabled(selected > 0);
    m_downAction->setEnabled(selected >= 0 && selected < last);
    m_exportAction->setEnabled(!m_profiles.empty());
}

int CDialog2DMap::AddFiles(const QStringList &paths)
{
    const int selected = SelectedProfile();
    // After the selected row; at the end when none or the last one is selected.
    std::size_t at = selected < 0 ? m_profiles.size() : static_cast<std::size_t>(selected) + 1;
    int added = 0;
    for (const QString &path : paths) {
        const MapReadResult read = CMapSection::ReadFile(path);
        if (!read.ok) {
            CMessageBox::Show(this,
                QFileInfo(path).fileName() + QStringLiteral(":\n") + read.message, QString(),
                MessageRequest::Icon::Warning);
            continue;
        }
        m_profiles.insert(m_profiles.begin() + static_cast<std::ptrdiff_t>(at), read.profile);
        ++at;
        ++added;
    }
    if (added == 0)
        return 0;
    FillList();
    SelectProfile(static_cast<int>(at) - 1);
    Draw();
    return added;
}

void CDialog2DMap::Exchange(int first, int second)
{
    std::swap(
        m_profiles[static_cast<std::size_t>(first)], m_profiles[static_cast<std::size_t>(second)]);
    FillList();
    SelectProfile(second);
    Draw();
}

void CDialog2DMap::MoveUp()
{
    const int selected = SelectedProfile();
    if (selected > 0)
        Exchange(selected, selected - 1);
}

void CDialog2DMap::MoveDown()
{
    const int selected = SelectedProfile();
    if (selected >= 0 && selected + 1 < static_cast<int>(m_profiles.size()))
        Exchange(selected, selected + 1);
}

bool CDialog2DMap::Draw()
{
    if (m_profiles.empty())
        return false;
    const QString problem = CMapSection::CheckSpacing(m_distance->text(), m_spacing);
    if (!problem.isEmpty()) {
        CMessageBox::Show(this, problem, tr("Error"), MessageRequest::Icon::Error);
        return false;
    }
    m_section = CMapSection::Draw(m_profiles, m_spacing);
    ShowSection();
    return true;
}

void CDialog2DMap::ShowSection()
{
    CChartRegion &region = m_chart->Region();
    region.Clear();
    const QImage image = m_section.image.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width()) * image.height());
    for (int row = 0; row < image.height(); ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(row));
        pixels.insert(pixels.end(), line, line + image.width());
    }
    auto picture = std::make_unique<CChartImage>();
    picture->SetPixels(image.width(), image.height(), std::move(pixels));
    // A single profile is one column at position 0: shown one spacing wide so that it can be
    // seen at all.
    const double halfWidth = m_profiles.size() == 1 ? m_spacing / 2.0 : 0.0;
    const double depth = m_section.depth > 0.0 ? m_section.depth : 1.0;
    picture->SetRect(-halfWidth, -depth, m_section.length + halfWidth, 0.0);
    region.Add(std::move(picture));
    m_chart->Refresh();
    m_chart->ZoomAll();
    m_scale->SetRange(m_section.vMin, m_section.vMax);
}

bool CDialog2DMap::ExportTo(const QString &path)
{
    // The report shows the list as it stands now.
    if (!Draw())
        return false;
    MapReport report;
    report.spacing = m_spacing;
    for (const MapProfile &profile : m_profiles)
        report.files.append(QFileInfo(profile.path).fileName());
    report.section = m_section;
    report.bannerPath = QCoreApplication::applicationDirPath() + QStringLiteral("/VELAbar.jpg");
    if (!CMapSection::WriteReport(path, report)) {
        CMessageBox::Show(this, tr("The report could not be written to %1").arg(path), tr("Error"),
            MessageRequest::Icon::Error);
        return false;
    }
    return true;
}

void CDialog2DMap::AskAndAdd()
{
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, QString(), QString(), tr("VELA Files (*.vla);;Text Files (*.txt)"));
    if (!paths.isEmpty())
        AddFiles(paths);
}

void CDialog2DMap::AskAndExport()
{
    if (m_profiles.empty())
        return;
    QString path =
        QFileDialog::getSaveFileName(this, QString(), QString(), tr("Rich Text Format (*.rtf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rtf");
    ExportTo(path);
}
