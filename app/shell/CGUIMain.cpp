#include "app/shell/CGUIMain.h"

#include "app/page/CDesktopOpen.h"
#include "app/page/UserMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *ShadowedLabel(const QString &text, int pointSize, bool bold, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont labelFont = label->font();
    labelFont.setPointSize(pointSize);
    labelFont.setBold(bold);
    label->setFont(labelFont);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    auto *shadow = new QGraphicsDropShadowEffect(label);
    shadow->setBlurRadius(8);
    shadow->setOffset(1, 2);
    shadow->setColor(QColor(0, 0, 0, 180));
    label->setGraphicsEffect(shadow);
    return label;
}

} // namespace

CGUIMain::CGUIMain(QWidget *parent, CGUISteps *steps)
    : CChildDialog(TemplateId, parent, steps)
{
    setObjectName(QStringLiteral("CGUIMain"));
    // The picture is the background: nothing may be filled under it.
    setAutoFillBackground(false);
    m_background.load(BackgroundPath(), "BMP");

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(36, 28, 36, 28);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(ShadowedLabel(QStringLiteral("VELA"), 40, true, this));
    titles->addWidget(
        ShadowedLabel(tr("Surface-wave analysis for site characterisation"), 14, false, this));
    titles->addStretch(1);
    grid->addLayout(titles, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("startPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(
        QStringLiteral("#startPanel { background: rgba(12, 30, 48, 150); border-radius: 10px; }"
                       "QPushButton { font-size: 15px; font-weight: bold; color: #14283b;"
                       "  background: rgba(255, 255, 255, 225); border: 1px solid #9fb3c8;"
                       "  border-radius: 8px; padding: 12px 18px; text-align: left; }"
                       "QPushButton:hover { background: #ffffff; border-color: #f0a030; }"
                       "QPushButton:focus { border: 2px solid #f0a030; }"
                       "QPushButton:pressed { background: #f0a030; }"));
    auto *buttons = new QVBoxLayout(panel);
    buttons->setContentsMargins(18, 18, 18, 18);
    buttons->setSpacing(12);
    const struct
    {
        const char *name;
        QString caption;
        void (CGUIMain::*action)();
    } rows[] = {
        { "analyseButton", tr("Analyse experimental data"), &CGUIMain::AnalyseExperimentalData },
        { "curveButton", tr("Insert dispersion curve"), &CGUIMain::InsertDispersionCurve },
    };
    for (const auto &row : rows) {
        auto *button = new QPushButton(row.caption, panel);
        button->setObjectName(QLatin1String(row.name));
        button->setMinimumSize(280, 52);
        connect(button, &QPushButton::clicked, this, row.action);
        buttons->addWidget(button);
    }
    auto *bibliography = new QPushButton(tr("Bibliography"), panel);
    bibliography->setObjectName(QStringLiteral("bibliographyButton"));
    bibliography->setMinimumSize(280, 52);
    connect(bibliography, &QPushButton::clicked, this,
        [this] { CDesktopOpen::OpenLocal(this, CDesktopOpen::DocumentsFolder()); });
    buttons->addWidget(bibliography);
    auto *help = new QPushButton(tr("Help"), panel);
    help->setObjectName(QStringLiteral("helpButton"));
    help->setMinimumSize(280, 52);
    connect(help, &QPushButton::clicked, this, [this] { OpenStepHelp(StepCode); });
    buttons->addWidget(help);
    grid->addWidget(panel, 0, 1, Qt::AlignRight | Qt::AlignBottom);
}

QString CGUIMain::BackgroundPath()
{
    const QString name = QStringLiteral("VELAIMG.dll");
    const QString current = QDir::current().filePath(name);
    if (QFileInfo::exists(current))
        return current;
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

void CGUIMain::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isNull()) {
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0.0, QColor(0x0d, 0x2a, 0x4a));
        gradient.setColorAt(1.0, QColor(0x5b, 0x5e, 0x66));
        painter.fillRect(rect(), gradient);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_background);
}

void CGUIMain::AnalyseExperimentalData()
{
    emit GotoStep(StepCode, Step::ActiveData + FreshPageFlag);
    emit DocModified();
}

void CGUIMain::InsertDispersionCurve()
{
    // The curve page starts empty: the path without traces.
    emit GotoStep(StepCode, Step::DispersionCurve + FreshPageFlag);
    emit DocModified();
}
