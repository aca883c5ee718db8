#include "app/profile/CGUIProfiloIniziale.h"

#include "app/chart/CChartWidget.h"
#include "app/chart/CFileExportDialog.h"
#include "app/controls/CGridCtrl.h"
#include "app/data/UserNumber.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/profile/CDialogAutomatica.h"
#include "app/profile/CProfileTable.h"
#include "app/profile/ProfileCharts.h"
#include "matrix/CMatrixArchive.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

// The lists as documents store their selection indexes: "40" twice and "1028" are kept.
const char *const ReceiverItems[] = { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
    "13", "14", "15", "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28",
    "29", "30", "31", "32", "35", "40", "45", "40", "64", "96", "128", "256", "512", "1028" };
const char *const ModeItems[] = { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
    "13", "14", "15", "20", "25", "30", "40", "50" };
const char *const IterationItems[] = { "1", "2", "3", "4", "5", "10", "15", "20", "25", "30", "35",
    "40", "50" };
const char *const ErrorItems[] = { "5", "10", "15", "20", "30", "40" };
const char *const SolverItems[] = { "50", "75", "100", "200", "300", "400", "500", "750", "1000" };
const char *const TextFileFilter =
    QT_TRANSLATE_NOOP("CGUIProfiloIniziale", "Text file (*.txt)|*.txt|");

template <std::size_t N> QComboBox *List(const char *const (&items)[N], QWidget *parent)
{
    auto *box = new QComboBox(parent);
    for (const char *item : items)
        box->addItem(QString::fromLatin1(item));
    return box;
}

int Whole(const QComboBox *box) { return box->currentText().toInt(); }

QString ChooseTextFile(QWidget *parent, bool save)
{
    const QString filter = QCoreApplication::translate("CGUIProfiloIniziale", TextFileFilter);
    if (save) {
        CFileExportDialog dialog(filter, parent);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    }
    return QFileDialog::getOpenFileName(parent, QString(), QString(),
        QCoreApplication::translate("CGUIProfiloIniziale", "Text file (*.txt)"));
}

} // namespace

CGUIProfiloIniziale::CGUIProfiloIniziale(
    QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CChildDialog(TemplateId, parent, steps, analysis)
{
    setObjectName(QStringLiteral("CGUIProfiloIniziale"));
    m_runnerPath = QCoreApplication::applicationDirPath() + QStringLiteral("/runner");

    m_grid = new CGridCtrl(this);
    m_grid->setObjectName(QStringLiteral("profileTable"));
    m_table = new CProfileTable(m_grid->Model(), tr("Yes"), tr("No"));
    m_table->setParent(this);
    m_table->Attach();
    connect(m_grid, &CGridCtrl::CellEdited, this, [this] { Modified(); });
    connect(m_table, &CProfileTable::TableChanged, this, [this] { RedrawCharts(); });

    // Toolbar of the table.
    auto *toolbar = new QHBoxLayout;
    auto tool = [&](const QString &text, const char *name, auto slot) {
        auto *button = new QToolButton(this);
        button->setText(text);
        button->setObjectName(QLatin1String(name));
        connect(button, &QToolButton::clicked, this, slot);
        toolbar->addWidget(button);
    };
    tool(tr("New"), "newButton", [this] { OnNew(); });
    tool(tr("Open"), "openButton", [this] { OnOpen(); });
    tool(tr("Save"), "saveButton", [this] { OnSave(); });
    tool(tr("Print"), "printButton", [this] { m_grid->PrintWithDialog(); });
    tool(tr("Cut"), "cutButton", [this] {
        m_grid->Cut();
        m_table->RecomputeDepths();
        Modified();
    });
    tool(tr("Copy"), "copyButton", [this] { m_grid->Copy(); });
    tool(tr("Paste"), "pasteButton", [this] {
        m_grid->Paste();
        m_table->RecomputeDepths();
        Modified();
    });
    toolbar->addStretch(1);

    // Run parameters.
    auto *parameters = new QGroupBox(tr("Parameters"), this);
    auto *form = new QGridLayout(parameters);
    m_layers = new QComboBox(parameters);
    for (int n = 1; n <= CProfileTable::MaxLayers; ++n)
        m_layers->addItem(QString::number(n));
    m_spacing = new QLineEdit(parameters);
    m_depth = new QLineEdit(parameters);
    m_depth->setVisible(false);
    m_receivers = List(ReceiverItems, parameters);
    m_modes = List(ModeItems, parameters);
    m_iterations = List(IterationItems, parameters);
    m_maxError = List(ErrorItems, parameters);
    m_solver = List(SolverItems, parameters);
    m_solver->setVisible(false);
    m_strong = new QCheckBox(tr("Allow strong stiffness contrasts"), parameters);
    // One start is the written search; more starts run it from starts drawn inside the bounds.
    m_starts = new QComboBox(parameters);
    m_starts->setObjectName(QStringLiteral("startsList"));
    m_starts->addItem(tr("1 (from the table)"), 1);
    m_starts->addItem(QStringLiteral("10"), 10);
    m_starts->addItem(QStringLiteral("40"), 40);
    int row = 0;
    auto add = [&](const QString &label, QWidget *field) {
        form->addWidget(new QLabel(label, parameters), row, 0);
        form->addWidget(field, row++, 1);
    };
    add(tr("Number of layers (half-space excluded)"), m_layers);
    add(tr("Receivers spacing [m]"), m_spacing);
    add(tr("Number of receivers"), m_receivers);
    add(tr("Number of modes"), m_modes);
    add(tr("Number of iterations"), m_iterations);
    add(tr("Maximum error [%]"), m_maxError);
    add(tr("Starts of the automatic search"), m_starts);
    form->addWidget(m_strong, row++, 0, 1, 2);
    auto *trial = new QPushButton(tr("Trial and error solution"), parameters);
    trial->setObjectName(QStringLiteral("trialButton"));
    auto *automatic = new QPushButton(tr("Automatic inversion"), parameters);
    automatic->setObjectName(QStringLiteral("automaticButton"));
    form->addWidget(trial, row++, 0, 1, 2);
    form->addWidget(automatic, row++, 0, 1, 2);
    connect(trial, &QPushButton::clicked, this, &CGUIProfiloIniziale::OnTrialAndError);
    connect(automatic, &QPushButton::clicked, this, &CGUIProfiloIniziale::OnAutomaticInversion);
    connect(m_layers, &QComboBox::activated, this, &CGUIProfiloIniziale::OnLayerCountChanged);
    for (QComboBox *box : { m_receivers, m_modes, m_iterations, m_maxError, m_solver })
        connect(box, &QComboBox::activated, this, [this] { Modified(); });
    connect(m_spacing, &QLineEdit::textEdited, this, [this] { Modified(); });
    connect(m_strong, &QCheckBox::toggled, this, [this] { Modified(); });

    // Charts with their legend boxes and the uncertainty list.
    m_dispersionChart = new CChartWidget(this, DispersionChartId);
    m_profileChart = new CChartWidget(this, ProfileChartId);
    m_showExperimental = new QCheckBox(tr("Experimental"), this);
    m_showModes = new QCheckBox(tr("Modes of Rayleigh"), this);
    m_showApparent = new QCheckBox(tr("Apparent"), this);
    m_showEffective = new QCheckBox(tr("Effective"), this);
    auto *legend = new QHBoxLayout;
    for (QCheckBox *box : { m_showExperimental, m_showModes, m_showApparent, m_showEffective }) {
        box->setChecked(true);
        legend->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this] {
            RedrawCharts();
            Modified();
        });
    }
    legend->addStretch(1);
    m_uncertainty = new QComboBox(this);
    m_uncertainty->addItems({ tr("No uncertainty curve"), tr("0.1 sigma (8%)"),
        tr("0.5 sigma (40%)"), tr("1 sigma (66%)"), tr("Ensemble band (10-90%)") });
    legend->addWidget(m_uncertainty);
    connect(m_uncertainty, &QComboBox::activated, this, [this] {
        RedrawCharts();
        Modified();
    });
    m_misfit = new QLabel(this);
    m_misfit->setObjectName(QStringLiteral("misfitText"));
    // The findings of a search run to several lines: the charts give way to them, never the
    // other way round.
    m_misfit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    m_misfit->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Navigation.
    auto *previous = new QPushButton(tr("< Previous"), this);
    auto *help = new QPushButton(tr("Help"), this);
    m_next = new QPushButton(tr("Next >"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    connect(previous, &QPushButton::clicked, this, &CGUIProfiloIniziale::OnPrevious);
    connect(help, &QPushButton::clicked, this, &CGUIProfiloIniziale::OnHelp);
    connect(m_next, &QPushButton::clicked, this, &CGUIProfiloIniziale::OnNext);
    auto *navigation = new QHBoxLayout;
    navigation->addWidget(m_misfit, 1, Qt::AlignTop);
    navigation->addWidget(previous, 0, Qt::AlignBottom);
    navigation->addWidget(help, 0, Qt::AlignBottom);
    navigation->addWidget(m_next, 0, Qt::AlignBottom);

    auto *top = new QHBoxLayout;
    auto *tableSide = new QVBoxLayout;
    tableSide->addLayout(toolbar);
    tableSide->addWidget(m_grid, 1);
    top->addLayout(tableSide, 3);
    top->addWidget(parameters, 1);
    auto *charts = new QHBoxLayout;
    charts->addWidget(m_dispersionChart, 3);
    charts->addWidget(m_profileChart, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 2);
    layout->addLayout(legend);
    layout->addLayout(charts, 3);
    layout->addLayout(navigation);
}

CGUIProfiloIniziale::~CGUIProfiloIniziale() = default;

void CGUIProfiloIniziale::InitPage()
{
    m_filling = true;
    DispersionAnalysis *a = Analysis();
    const ExperimentalCurve curve = a ? a->m_curve : ExperimentalCurve();
    m_layers->setCurrentIndex(CProfileTable::DefaultLayers - 1);
    const double spacing = a ? a->m_active.receiverSpacing : 0.0;
    m_spacing->setText(spacing > 0 ? FormatUserNumber(spacing) : QStringLiteral("1"));
    const double depth = a ? a->m_active.receiversDepth : 0.0;
    m_depth->setText(depth > 0 ? FormatUserNumber(depth) : QStringLiteral("0"));
    const int stored = a ? a->m_active.receiversUsed : 0;
    const int found = stored > 0 ? m_receivers->findText(QString::number(stored)) : -1;
    m_receivers->setCurrentIndex(found >= 0 ? found : m_receivers->findText(QStringLiteral("20")));
    m_modes->setCurrentIndex(0);
    m_iterations->setCurrentIndex(0);
    m_maxError->setCurrentIndex(m_maxError->findText(QStringLiteral("20")));
    m_solver->setCurrentIndex(m_solver->findText(QStringLiteral("75")));
    m_strong->setChecked(false);
    m_uncertainty->setCurrentIndex(0);
    m_starts->setCurrentIndex(0);
    m_ensemble = EnsembleSummary();
    KeepEnsemble();
    m_table->SetDefaultTable(curve);
    const std::vector<int> widths = CProfileTable::ColumnWidths();
    for (int c = 0; c < int(widths.size()); ++c)
        m_grid->setColumnWidth(c, widths[std::size_t(c)]);
    m_grid->horizontalHeader()->setVisible(false);
    m_grid->verticalHeader()->setVisible(false);
    m_filling = false;
    RedrawCharts();
}

void CGUIProfiloIniziale::Modified()
{
    if (!m_filling)
        emit DocModified();
}

bool CGUIProfiloIniziale::ValidateInput()
{
    const QString caption = tr("Uncorrect input parameters");
    const std::optional<double> spacing = ParseUserNumber(m_spacing->text());
    if (!spacing || *spacing <= 0) {
        CMessageBox::Show(this, tr("Receivers distance must be positive"), caption);
        m_spacing->setFocus();
        return true;
    }
    const std::optional<double> depth = ParseUserNumber(m_depth->text());
    if (depth && *depth < 0) {
        CMessageBox::Show(this, tr("Receivers depth must be positive"), caption);
        m_depth->setFocus();
        return true;
    }
    int row = 0, column = 0;
    if (m_table->FirstMissingCell(&row, &column)) {
        CMessageBox::Show(this, tr("Some fields of the table are missing!"), caption);
        m_grid->FocusCell(row, column);
        return true;
    }
    return false;
}

void CGUIProfiloIniziale::CollectProfile()
{
    DispersionAnalysis *a = Analysis();
    if (!a)
        return;
    GroundProfile &p = a->m_profile;
    m_table->Collect(p);
    p.receiverSpacing = ParseUserNumber(m_spacing->text()).value_or(1.0);
    p.receiversDepth = ParseUserNumber(m_depth->text()).value_or(0.0);
    p.receiverCount = Whole(m_receivers);
    p.modeCount = Whole(m_modes);
    p.solverParameter = Whole(m_solver);
    p.iterationCount = Whole(m_iterations);
    p.strongContrasts = m_strong->isChecked();
    p.targetMisfit = Whole(m_maxError) * 0.01;
}

int CGUIProfiloIniziale::RunForwardJob()
{
    DispersionAnalysis *a = Analysis();
    if (!a)
        return 1;
    emit DocModified();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_misfit->clear();
    EngineRunRequest request;
    request.runnerPath = m_runnerPath.toStdString();
    const ProfileRunReport report = ::RunForwardJob(*a, m_validity, request);
    QApplication::restoreOverrideCursor();
    if (report.notStarted)
        CMessageBox::Show(this, report.message, QString(), MessageRequest::Icon::Error);
    else if (report.code != 0 && !report.message.isEmpty())
        CMessageBox::Show(this, tr("The computation failed: %1").arg(report.message), QString(),
            MessageRequest::Icon::Error);
    return report.code;
}

int CGUIProfiloIniziale::RunSearchJob(const EngineRunRequest &request, int starts)
{
    m_ensemble = EnsembleSummary();
    m_finalCurvesMissing = false;
    DispersionAnalysis *a = Analysis();
    if (!a)
        return 0;
    if (starts > 1)
        ::RunManyStartJob(*a, m_validity, request, starts, &m_ensemble);
    else
        m_finalCurvesMissing = ::RunSearchJob(*a, m_validity, request).finalCurvesMissing;
    KeepEnsemble();
    return 0;
}

void CGUIProfiloIniziale::KeepEnsemble()
{
    // The results page reads the Vs30 range and the depth of investigation from the analysis.
    if (DispersionAnalysis *a = Analysis()) {
        const bool valid = m_ensemble.valid;
        a->m_results.vs30P10 = valid ? m_ensemble.vs30P10 : 0.0;
        a->m_results.vs30P90 = valid ? m_ensemble.vs30P90 : 0.0;
        a->m_results.depthOfInvestigation = valid ? m_ensemble.depthOfInvestigation : 0.0;
    }
}

int CGUIProfiloIniziale::SearchStarts() const
{
    return std::max(1, m_starts->currentData().toInt());
}

void CGUIProfiloIniziale::OnTrialAndError()
{
    if (ValidateInput())
        return;
    CollectProfile();
    m_next->setEnabled(false);
    m_ensemble = EnsembleSummary();
    KeepEnsemble();
    if (RunForwardJob() != 0)
        return;
    m_next->setEnabled(true);
    if (DispersionAnalysis *a = Analysis()) {
        m_table->SetFinalVs(a->m_results.finalVs);
        m_misfit->setText(MisfitText(a->m_results.apparentMisfit, a->m_results.effectiveMisfit));
        // The final Vs texts are the table's now.
        m_table->Collect(a->m_profile);
    }
    RedrawCharts();
}

void CGUIProfiloIniziale::OnAutomaticInversion()
{
    if (ValidateInput())
        return;
    CollectProfile();
    DispersionAnalysis *a = Analysis();
    if (!a)
        return;
    a->m_search = SearchProgress();
    m_next->setEnabled(false);
    m_misfit->clear();
    emit DocModified();
    if (m_runSearchDialog) {
        m_runSearchDialog();
    } else {
        CDialogAutomatica dialog(this, this, SearchStarts());
        dialog.exec();
    }
    if (m_validity.searchValid)
        m_table->SetFinalVs(a->m_results.finalVs);
    m_table->Collect(a->m_profile);
    m_next->setEnabled(m_validity.searchValid);
    if (m_validity.searchValid && m_ensemble.valid)
        m_misfit->setText(MisfitText(a->m_results.apparentMisfit, a->m_results.effectiveMisfit)
            + QStringLiteral("\r\n") + EnsembleText(m_ensemble));
    else if (m_validity.searchValid && m_finalCurvesMissing)
        m_misfit->setText(MissingCurvesText(KeptModelApparentMisfit(*a)));
    RedrawCharts();
}

std::vector<ProfileReportItem> CGUIProfiloIniziale::ReportItems() const
{
    const DispersionAnalysis *a = Analysis();
    if (!a)
        return {};
    return ProfileReport(*a, m_validity.searchValid, m_uncertainty->currentIndex(), &m_ensemble);
}

QString CGUIProfiloIniziale::MisfitLabelText() const { return m_misfit->text(); }

void CGUIProfiloIniziale::RedrawCharts()
{
    DispersionAnalysis *a = Analysis();
    if (!a)
        return;
    // The profile chart draws the table as it stands.
    if (!m_filling)
        m_table->Collect(a->m_profile);
    const bool valid = m_validity.forwardValid || m_validity.searchValid;
    DispersionLegend legend;
    legend.experimental = m_showExperimental->isChecked();
    legend.modes = m_showModes->isChecked();
    legend.apparent = m_showApparent->isChecked();
    legend.effective = m_showEffective->isChecked();
    m_dispersionChart->SetRegion(BuildDispersionChart(*a, legend, valid));
    m_dispersionChart->Refresh();
    m_dispersionChart->ZoomAll();
    m_profileChart->SetRegion(BuildProfileChart(*a, m_table->Widths(), m_table->Points(),
        m_uncertainty->currentIndex(), valid, &m_ensemble));
    m_profileChart->Refresh();
    m_profileChart->ZoomAll();
}

void CGUIProfiloIniziale::OnLayerCountChanged(int index)
{
    m_table->SetLayerCount(index + 1);
    RedrawCharts();
    Modified();
}

void CGUIProfiloIniziale::OnNew()
{
    m_layers->setCurrentIndex(CProfileTable::DefaultLayers - 1);
    m_table->SetDefaultTable(Analysis() ? Analysis()->m_curve : ExperimentalCurve());
    RedrawCharts();
    Modified();
}

void CGUIProfiloIniziale::OnOpen(const QString &given)
{
    const QString path = given.isEmpty() ? ChooseTextFile(this, false) : given;
    if (path.isEmpty())
        return;
    const ProfileImportResult result = m_table->ImportText(path);
    if (!result.ok) {
        CMessageBox::Show(this, result.message, tr("Error"), MessageRequest::Icon::Error);
        return;
    }
    m_layers->setCurrentIndex(m_table->LayerCount() - 1);
    RedrawCharts();
    Modified();
}

void CGUIProfiloIniziale::OnSave(const QString &given)
{
    QString path = given.isEmpty() ? ChooseTextFile(this, true) : given;
    if (path.isEmpty())
        return;
    if (!path.toLower().endsWith(QStringLiteral(".txt")))
        path += QStringLiteral(".txt");
    QString error;
    if (!m_table->ExportText(path, &error))
        CMessageBox::Show(this, tr("The file %1 could not be written: %2").arg(path, error),
            QString(), MessageRequest::Icon::Error);
}

void CGUIProfiloIniziale::OnPrevious() { emit GotoStep(StepCode, Step::DispersionCurve); }

void CGUIProfiloIniziale::OnHelp() { OpenStepHelp(StepCode); }

void CGUIProfiloIniziale::OnNext()
{
    if (ValidateInput())
        return;
    CollectProfile();
    emit GotoStep(StepCode, Step::Results + FreshPageFlag);
}

ProfilePageState CGUIProfiloIniziale::ControlsToState() const
{
    ProfilePageState s;
    s.layersIndex = m_layers->currentIndex();
    s.spacingText = m_spacing->text();
    s.depthText = m_depth->text();
    s.receiversIndex = m_receivers->currentIndex();
    s.iterationsIndex = m_iterations->currentIndex();
    s.modesIndex = m_modes->currentIndex();
    s.errorIndex = m_maxError->currentIndex();
    s.apparentBox = m_showApparent->isChecked();
    s.strongContrasts = m_strong->isChecked();
    s.effectiveBox = m_showEffective->isChecked();
    s.modesBox = m_showModes->isChecked();
    s.experimentalBox = m_showExperimental->isChecked();
    s.forwardValid = m_validity.forwardValid;
    s.searchValid = m_validity.searchValid;
    s.uncertaintyIndex = m_uncertainty->currentIndex();
    s.widths = m_table->Widths();
    s.points = m_table->Points();
    s.ensemble = m_ensemble;
    return s;
}

void CGUIProfiloIniziale::StateToControls(const ProfilePageState &s)
{
    m_filling = true;
    m_layers->setCurrentIndex(s.layersIndex);
    m_spacing->setText(s.spacingText);
    m_depth->setText(s.depthText);
    m_receivers->setCurrentIndex(s.receiversIndex);
    m_iterations->setCurrentIndex(s.iterationsIndex);
    m_modes->setCurrentIndex(s.modesIndex);
    m_maxError->setCurrentIndex(s.errorIndex);
    m_showApparent->setChecked(s.apparentBox);
    m_strong->setChecked(s.strongContrasts);
    m_showEffective->setChecked(s.effectiveBox);
    m_showModes->setChecked(s.modesBox);
    m_showExperimental->setChecked(s.experimentalBox);
    m_validity.forwardValid = s.forwardValid;
    m_validity.searchValid = s.searchValid;
    m_uncertainty->setCurrentIndex(s.uncertaintyIndex);
    m_table->SetProposal(s.widths, s.points);
    m_ensemble = s.ensemble;
    KeepEnsemble();
    m_filling = false;
}

int CGUIProfiloIniziale::SaveSection(CMatrixArchive &ar, int version)
{
    DispersionAnalysis *a = Analysis();
    DispersionAnalysis empty;
    CollectProfile();
    WriteProfileSection(ar, version, *m_grid->Model(), ControlsToState(), a ? *a : empty);
    return 0;
}

int CGUIProfiloIniziale::LoadSection(CMatrixArchive &ar, int version)
{
    DispersionAnalysis *a = Analysis();
    DispersionAnalysis scratch;
    ProfilePageState state;
    ReadProfileSection(ar, version, *m_grid->Model(), state, a ? *a : scratch);
    StateToControls(state);
    // The table read back carries its texts and kinds; the yes/no words are this language's.
    m_filling = true;
    m_table->Collect(a ? a->m_profile : scratch.m_profile);
    m_filling = false;
    RedrawCharts();
    return 0;
}

int CGUIProfiloIniziale::WriteReport(ReportWriter &report)
{
    WriteProfileChapter(
        report, ReportItems(), m_dispersionChart->Region(), m_profileChart->Region());
    return 0;
}

int CGUIProfiloIniziale::OnExportText(CChartWidget *chart, const QString &path)
{
    const DispersionAnalysis *a = Analysis();
    if (!a || !chart)
        return 0;
    if (chart->ControlId() == DispersionChartId)
        WriteDispersionExport(path, *a);
    else if (chart->ControlId() == ProfileChartId)
        WriteProfileExport(path, *a, &m_ensemble);
    return 0;
}
