#include "app/shell/CPlaceholderPage.h"

#include "app/page/UserMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CPlaceholderPage::CPlaceholderPage(
    int stepCode, QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CChildDialog(TemplateId, parent, steps, analysis)
    , m_stepCode(stepCode)
{
    setObjectName(QStringLiteral("CPlaceholderPage%1").arg(stepCode));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    auto *title = new QLabel(StepName(stepCode), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    auto *note =
        new QLabel(tr("This page is not available in this version of the program yet."), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    if (const int previous = PreviousStep(stepCode)) {
        auto *button = new QPushButton(tr("Previous"), this);
        button->setObjectName(QStringLiteral("previousButton"));
        connect(button, &QPushButton::clicked, this,
            [this, previous] { emit GotoStep(m_stepCode, previous); });
        buttons->addWidget(button);
    }
    auto *help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("helpButton"));
    connect(help, &QPushButton::clicked, this, [this] { OpenStepHelp(m_stepCode); });
    buttons->addWidget(help);
    if (const int next = NextStep(stepCode)) {
        auto *button = new QPushButton(tr("Next"), this);
        button->setObjectName(QStringLiteral("nextButton"));
        connect(button, &QPushButton::clicked, this, [this, next] {
            emit GotoStep(m_stepCode, next + FreshPageFlag);
            emit DocModified();
        });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
}

int CPlaceholderPage::PreviousStep(int stepCode)
{
    switch (stepCode) {
    case Step::ActiveData:
    case Step::DispersionCurve:
        return Step::Start;
    case Step::Spectrum:
    case Step::PassiveData:
        return Step::ActiveData;
    case Step::GroundProfile:
        return Step::DispersionCurve;
    case Step::Results:
        return Step::GroundProfile;
    default:
        return 0;
    }
}

int CPlaceholderPage::NextStep(int stepCode)
{
    switch (stepCode) {
    case Step::ActiveData:
        return Step::Spectrum;
    case Step::Spectrum:
    case Step::PassiveData:
        return Step::DispersionCurve;
    case Step::DispersionCurve:
        return Step::GroundProfile;
    case Step::GroundProfile:
        return Step::Results;
    default:
        return 0;
    }
}

QString CPlaceholderPage::StepName(int stepCode)
{
    switch (stepCode) {
    case Step::ActiveData:
        return tr("Experimental data");
    case Step::Spectrum:
        return tr("Spectrum");
    case Step::PassiveData:
        return tr("Passive data (REMI)");
    case Step::DispersionCurve:
        return tr("Dispersion curve");
    case Step::GroundProfile:
        return tr("Ground profile");
    case Step::Results:
        return tr("Final results");
    default:
        return QString();
    }
}
