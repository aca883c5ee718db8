#include "app/results/CGUIRisultati.h"

#include "app/controls/CGridCtrl.h"
#include "app/data/UserNumber.h"
#include "app/page/CMessageBox.h"
#include "app/results/ResultsChapter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {

QRadioButton *Radio(const QString &caption, const QString &name, QWidget *parent)
{
    auto *radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    return radio;
}

// Unchecks every button of a group (an exclusive group keeps one checked otherwise).
void Uncheck(QButtonGroup *group)
{
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

CGUIRisultati::CGUIRisultati(QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CChildDialog(TemplateId, parent, steps, analysis)
{
    setObjectName(QStringLiteral("CGUIRisultati"));

    auto *title = new QLabel(tr("Final results"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    auto *summaryGroup = new QGroupBox(tr("Schema riassuntivo"), this);
    m_summary = new CGridCtrl(summaryGroup);
    m_summary->setObjectName(QStringLiteral("summaryGrid"));
    (new QVBoxLayout(summaryGroup))->addWidget(m_summary);

    auto *categoryGroup = new QGroupBox(tr("Type of ground"), this);
    m_categories = new QTableWidget(categoryGroup);
    m_categories->setObjectName(QStringLiteral("categoryTable"));
    m_categories->setColumnCount(3);
    m_categories->setHorizontalHeaderLabels(
        { tr("Site"), tr("Geotechnical description"), tr("Vs30 [m/s]") });
    m_categories->verticalHeader()->hide();
    m_categories->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_categories->setSelectionMode(QAbstractItemView::NoSelection);
    m_categories->setFocusPolicy(Qt::NoFocus);
    m_categories->setWordWrap(false);
    m_categories->setColumnWidth(0, 50);
    m_categories->setColumnWidth(1, 360);
    m_categories->setColumnWidth(2, 100);
    m_categories->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    (new QVBoxLayout(categoryGroup))->addWidget(m_categories);

    // The questions, each a label with its answers.
    auto *questionGroup = new QGroupBox(tr("Soil classification"), this);
    auto *questions = new QGridLayout(questionGroup);
    questions->setColumnStretch(0, 1);
    for (int row = 0; row < CSoilClassification::RowCount; ++row) {
        m_questions[row] = new QLabel(questionGroup);
        m_questions[row]->setWordWrap(true);
        m_questions[row]->setObjectName(QStringLiteral("question%1").arg(row));
        questions->addWidget(m_questions[row], row, 0);
        if (row == 7)
            break;
        m_answers[row] = new QButtonGroup(this);
        m_yes[row] = Radio(tr("Yes"), QStringLiteral("yes%1").arg(row), questionGroup);
        m_no[row] = Radio(tr("No"), QStringLiteral("no%1").arg(row), questionGroup);
        m_answers[row]->addButton(m_yes[row]);
        m_answers[row]->addButton(m_no[row]);
        questions->addWidget(m_yes[row], row, 1);
        questions->addWidget(m_no[row], row, 2);
        if (row == 0) {
            connect(
                m_yes[0], &QRadioButton::clicked, this, [this] { OnCodeChosen(SoilCode::Dm2008); });
            connect(m_no[0], &QRadioButton::clicked, this,
                [this] { OnCodeChosen(SoilCode::Opcm2003); });
            continue;
        }
        connect(m_yes[row], &QRadioButton::clicked, this,
            [this, row] { OnAnswer(row, SoilAnswer::Yes); });
        connect(m_no[row], &QRadioButton::clicked, this,
            [this, row] { OnAnswer(row, SoilAnswer::No); });
    }
    m_dontKnow = Radio(tr("Don't know"), QStringLiteral("dontKnow1"), questionGroup);
    m_answers[1]->addButton(m_dontKnow);
    questions->addWidget(m_dontKnow, 1, 3);
    connect(
        m_dontKnow, &QRadioButton::clicked, this, [this] { OnAnswer(1, SoilAnswer::DontKnow); });
    // The codes in force today, chosen with the two above.
    m_otherCodes = new QLabel(tr("Or classify under:"), questionGroup);
    m_ntc = Radio(tr("NTC 2018"), QStringLiteral("codeNtc2018"), questionGroup);
    m_asce = Radio(tr("ASCE 7-22"), QStringLiteral("codeAsce722"), questionGroup);
    m_answers[0]->addButton(m_ntc);
    m_answers[0]->addButton(m_asce);
    auto *otherCodes = new QHBoxLayout;
    otherCodes->addWidget(m_otherCodes);
    otherCodes->addWidget(m_ntc);
    otherCodes->addWidget(m_asce);
    otherCodes->addStretch(1);
    questions->addLayout(otherCodes, CSoilClassification::RowCount, 0, 1, 4);
    connect(m_ntc, &QRadioButton::clicked, this, [this] { OnCodeChosen(SoilCode::Ntc2018); });
    connect(m_asce, &QRadioButton::clicked, this, [this] { OnCodeChosen(SoilCode::Asce722); });
    m_bedrock = new QComboBox(questionGroup);
    m_bedrock->setObjectName(QStringLiteral("bedrockCombo"));
    questions->addWidget(m_bedrock, 7, 1, 1, 3);
    connect(m_bedrock, &QComboBox::activated, this, &CGUIRisultati::OnBedrockChosen);
    questions->setRowStretch(CSoilClassification::RowCount + 1, 1);

    // Offset, the average of the code, the category.
    m_offsetLabel = new QLabel(tr("Offset"), this);
    m_offset = new QLineEdit(QStringLiteral("0"), this);
    m_offset->setObjectName(QStringLiteral("offsetEdit"));
    m_offset->setMaximumWidth(80);
    m_referenceLabel = new QLabel(tr("Reference plane z=0"), this);
    connect(m_offset, &QLineEdit::textEdited, this, &CGUIRisultati::OnOffsetEdited);
    m_averageLabel = new QLabel(this);
    m_average = new QLineEdit(this);
    m_average->setObjectName(QStringLiteral("averageEdit"));
    m_average->setReadOnly(true);
    m_average->setMaximumWidth(80);
    m_depth = new QLabel(this);
    m_depth->setObjectName(QStringLiteral("depthLabel"));
    m_ensemble = new QLabel(this);
    m_ensemble->setObjectName(QStringLiteral("ensembleLine"));
    m_ensemble->setWordWrap(true);
    m_status = new QLineEdit(this);
    m_status->setObjectName(QStringLiteral("statusEdit"));
    m_status->setReadOnly(true);
    QFont statusFont = m_status->font();
    statusFont.setBold(true);
    m_status->setFont(statusFont);
    auto *values = new QHBoxLayout;
    values->addWidget(m_offsetLabel);
    values->addWidget(m_offset);
    values->addWidget(m_referenceLabel);
    values->addSpacing(16);
    values->addWidget(m_averageLabel);
    values->addWidget(m_average);
    values->addWidget(m_depth);
    values->addSpacing(16);
    values->addWidget(m_status, 1);

    auto *previous =
        new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), tr("Previous"), this);
    previous->setObjectName(QStringLiteral("previousButton"));
    auto *help =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("Help"), this);
    help->setObjectName(QStringLiteral("helpButton"));
    auto *save =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), tr("Save..."), this);
    save->setObjectName(QStringLiteral("saveButton"));
    auto *exit =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), tr("Exit"), this);
    exit->setObjectName(QStringLiteral("exitButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(previous);
    buttons->addStretch(1);
    buttons->addWidget(help);
    buttons->addWidget(save);
    buttons->addStretch(1);
    buttons->addWidget(exit);
    connect(previous, &QPushButton::clicked, this, &CGUIRisultati::OnPrevious);
    connect(help, &QPushButton::clicked, this, &CGUIRisultati::OnHelp);
    connect(save, &QPushButton::clicked, this, &CGUIRisultati::OnSave);
    connect(exit, &QPushButton::clicked, this, &CGUIRisultati::OnExit);

    auto *page = new QGridLayout(this);
    page->addWidget(title, 0, 0, 1, 2);
    page->addWidget(summaryGroup, 1, 0, 1, 2);
    page->addWidget(categoryGroup, 2, 0);
    page->addWidget(questionGroup, 2, 1);
    page->setColumnStretch(0, 4);
    page->setColumnStretch(1, 3);
    page->setRowStretch(2, 1);
    page->addLayout(values, 3, 0, 1, 2);
    page->addWidget(m_ensemble, 4, 0, 1, 2);
    page->addLayout(buttons, 5, 0, 1, 2);
}

void CGUIRisultati::InitPage()
{
    const DispersionAnalysis *analysis = Analysis();
    ResultsForm::FillSummary(
        *m_summary->Model(), analysis ? analysis->m_profile.layers : std::vector<LayerRecord>());
    FitSummary();
    m_classification.SetProfile(ResultsForm::LayersOfSummary(*m_summary->Model()));
    m_classification.Init();
    m_codeChosen = false;
    m_offset->setText(QStringLiteral("0"));
    ShowOffset(false);
    m_ensemble->setText(EnsembleLine());
    m_ensemble->setVisible(!m_ensemble->text().isEmpty());
    Refresh();
}

QString CGUIRisultati::EnsembleLine() const
{
    const DispersionAnalysis *a = Analysis();
    return a ? ResultsForm::EnsembleLine(
               a->m_results.vs30P10, a->m_results.vs30P90, a->m_results.depthOfInvestigation)
             : QString();
}

void CGUIRisultati::FitSummary()
{
    // Every column as wide as its widest text, the header row (drawn bold) included.
    QFont bold = m_summary->font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics(m_summary->font());
    for (int column = 0; column < m_summary->GetColumnCount(); ++column) {
        int width = boldMetrics.horizontalAdvance(m_summary->GetItemText(0, column));
        for (int row = 1; row < m_summary->GetRowCount(); ++row)
            width = std::max(width, metrics.horizontalAdvance(m_summary->GetItemText(row, column)));
        m_summary->setColumnWidth(column, width + 16);
    }
    // Tall enough for the layers of a usual profile; longer ones scroll.
    const int rows = std::min(m_summary->GetRowCount(), 8);
    m_summary->setFixedHeight(
        rows * m_summary->verticalHeader()->defaultSectionSize() + 2 * m_summary->frameWidth() + 2);
}

void CGUIRisultati::ShowOffset(bool shown)
{
    m_offsetLabel->setVisible(shown);
    m_offset->setVisible(shown);
    m_referenceLabel->setVisible(shown);
}

void CGUIRisultati::OnCodeChosen(SoilCode code)
{
    m_codeChosen = true;
    m_classification.SetCode(code);
    // The offset applies to the codes that measure from a reference plane.
    if (code == SoilCode::Opcm2003)
        m_offset->setText(QStringLiteral("0"));
    ShowOffset(code != SoilCode::Opcm2003);
    Refresh();
    emit DocModified();
}

void CGUIRisultati::OnOffsetEdited(const QString &text)
{
    m_classification.SetOffset(ParseUserNumber(text).value_or(0.0));
    Refresh();
    emit DocModified();
}

void CGUIRisultati::OnAnswer(int row, SoilAnswer answer)
{
    const double offset = m_classification.Offset();
    m_classification.Answer(row, answer);
    // Alluvial strata under the old definitions move the reference back to the surface.
    if (m_classification.Offset() != offset)
        m_offset->setText(QStringLiteral("0"));
    Refresh();
    if (m_classification.TakeSoilNatureWarning())
        CMessageBox::Show(this, tr("Verify soil nature before proceeding with soil classification"),
            tr("Error"), MessageRequest::Icon::Error);
    emit DocModified();
}

void CGUIRisultati::OnBedrockChosen(int index)
{
    m_classification.ChooseBedrock(index);
    Refresh();
    emit DocModified();
}

void CGUIRisultati::FillCategoryTable()
{
    const SoilCode code = m_classification.Code();
    if (m_tableFilled && code == m_tableCode)
        return;
    m_tableFilled = true;
    m_tableCode = code;
    const QList<CategoryRow> rows = ResultsForm::CategoryRows(code);
    m_categories->setRowCount(int(rows.size()));
    m_categories->horizontalHeaderItem(2)->setText(ResultsForm::AverageCaption(code));
    for (int row = 0; row < int(rows.size()); ++row) {
        QString description = rows[row].description;
        description.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        const QString texts[3] = { rows[row].site, description, rows[row].velocities };
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            item->setTextAlignment(
                column == 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            if (column == 1)
                item->setToolTip(description);
            m_categories->setItem(row, column, item);
        }
    }
    m_categories->resizeRowsToContents();
}

void CGUIRisultati::Refresh()
{
    const SoilCode code = m_classification.Code();
    FillCategoryTable();
    const bool questionnaire = m_classification.UsesQuestionnaire();
    for (int row = 0; row < CSoilClassification::RowCount; ++row) {
        // Under the codes in force today only liquefaction and the substrate are asked.
        const bool shown =
            row == 0 || row == 2 || (row == 7 && code != SoilCode::Asce722) || questionnaire;
        m_questions[row]->setText(ResultsForm::Question(code, row));
        m_questions[row]->setVisible(shown);
        const bool enabled = m_classification.RowEnabled(row);
        m_questions[row]->setEnabled(enabled);
        if (row == 7) {
            m_bedrock->setVisible(shown);
            continue;
        }
        const SoilAnswer answer = m_classification.RowAnswer(row);
        for (QAbstractButton *button : m_answers[row]->buttons()) {
            button->setEnabled(enabled);
            button->setVisible(shown);
        }
        if (row == 0)
            continue;
        Uncheck(m_answers[row]);
        if (answer == SoilAnswer::Yes)
            m_yes[row]->setChecked(true);
        else if (answer == SoilAnswer::No)
            m_no[row]->setChecked(true);
        else if (answer == SoilAnswer::DontKnow)
            m_dontKnow->setChecked(true);
    }
    m_otherCodes->setVisible(true);
    Uncheck(m_answers[0]);
    if (m_codeChosen) {
        QRadioButton *chosen[] = { m_no[0], m_yes[0], m_ntc, m_asce };
        chosen[int(code)]->setChecked(true);
    }

    const QStringList entries = ResultsForm::BedrockEntries(*m_summary->Model());
    if (m_bedrock->count() != entries.size()) {
        m_bedrock->clear();
        m_bedrock->addItems(entries);
    }
    m_bedrock->setCurrentIndex(m_classification.BedrockChoice());
    m_bedrock->setEnabled(m_classification.RowEnabled(7));

    m_averageLabel->setText(ResultsForm::AverageCaption(code));
    // Shown truncated to whole m/s, as the field always has.
    m_average->setText(QString::number(int(m_classification.CodeAverage())));
    m_depth->setVisible(code == SoilCode::Ntc2018);
    if (code == SoilCode::Ntc2018)
        m_depth->setText(tr("H = %1 m").arg(m_classification.VsEq().h, 0, 'g', 4));
    m_status->setText(ResultsForm::StatusText(m_classification));

    // The category shown is highlighted in the table.
    const QString category = m_classification.Category();
    for (int row = 0; row < m_categories->rowCount(); ++row) {
        const bool highlighted = m_categories->item(row, 0)->text() == category;
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem *item = m_categories->item(row, column);
            item->setBackground(highlighted ? palette().highlight() : QBrush());
            item->setForeground(highlighted ? palette().highlightedText() : QBrush());
        }
    }
}

void CGUIRisultati::OnPrevious() { emit GotoStep(StepCode, 20); }

void CGUIRisultati::OnHelp() { OpenStepHelp(StepCode); }

void CGUIRisultati::OnSave() { emit WriteReportRequest(); }

void CGUIRisultati::OnExit()
{
    if (CMessageBox::Show(this, tr("Are you sure you want to quit the program?"),
            tr("Confirm exit"), MessageRequest::Icon::Question, MessageRequest::Buttons::YesNo)
        == CMessageBox::Answer::Yes)
        window()->close();
}

int CGUIRisultati::SaveSection(CMatrixArchive &ar, int)
{
    ResultsForm::WriteSection(ar, *m_summary->Model(),
        ResultsForm::StateOf(m_classification, m_offset->text(), m_codeChosen));
    return 0;
}

int CGUIRisultati::LoadSection(CMatrixArchive &ar, int)
{
    ResultsPageState state;
    ResultsForm::ReadSection(ar, *m_summary->Model(), state);
    ResultsForm::LabelSummary(*m_summary->Model());
    FitSummary();
    // The answers are given again to the profile as stored: the page comes back as it was.
    m_classification.SetProfile(ResultsForm::LayersOfSummary(*m_summary->Model()));
    m_classification.Init();
    m_classification.Replay(state.code, ParseUserNumber(state.offsetText).value_or(0.0),
        state.answers, state.bedrockChoice);
    m_codeChosen = state.codeChosen;
    m_offset->setText(state.offsetText);
    ShowOffset(m_codeChosen && state.code != SoilCode::Opcm2003);
    Refresh();
    return 0;
}

int CGUIRisultati::WriteReport(ReportWriter &report)
{
    ResultsChapter::Write(report, m_classification, m_offset->text(),
        ResultsForm::BedrockEntries(*m_summary->Model()), m_codeChosen, EnsembleLine());
    return 0;
}
