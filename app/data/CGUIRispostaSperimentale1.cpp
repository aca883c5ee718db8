#include "app/data/CGUIRispostaSperimentale1.h"

#include "app/data/ActiveDataChapter.h"

#include "app/chart/CChartWidget.h"
#include "app/chart/CFileExportDialog.h"
#include "app/data/CNomeExcel.h"
#include "app/data/TraceChart.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceStack.h"
#include "app/data/TraceTextExport.h"
#include "app/data/UserNumber.h"
#include "app/page/CMessageBox.h"
#include "app/page/UserMessages.h"
#include "app/results/ReportWriter.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "app/spectrum/FkSpectrum.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

// The import filter of the browse dialog, "description|patterns|...||". Excel workbooks of
// the newer kind (.xlsx) are read as well.
const char *const TraceFileFilter = QT_TRANSLATE_NOOP("CGUIRispostaSperimentale1",
    "All supported files|*.txt;*.seg2;*.sg2;*.dat;*.xls;*.su;*.segy;*.sgy;"
    "*.drm;*.xlsx|Text file (*.TXT)|*.txt|Seg2 file (*.SEG2,*.SG2,*.DAT)|"
    "*.seg2;*.sg2;*.dat|Excel file (*.XLS)|*.xls;*.xlsx|SU file (*.SU)|*.su|"
    "SEGY file (*.SEGY,*.SGY)|*.segy;*.sgy|DRM file (*.DRM)|*.drm||");

// Remembers the "don't show again" choice of the concatenation hint.
const char *const ConcatenateHintKey = "{3BF2F8BE-5886-11DF-AA0E-E465DFD72085}";

// Width of the column of fields beside the chart [px].
const int ControlPanelWidth = 440;

QLabel *WrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLineEdit *NumberEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaximumWidth(110);
    return edit;
}

} // namespace

CGUIRispostaSperimentale1::CGUIRispostaSperimentale1(
    QWidget *parent, CGUISteps *steps, DispersionAnalysis *analysis)
    : CGUIRispostaSperimentale1(parent, steps, analysis, TemplateId, ActiveDataSectionTag)
{
}

CGUIRispostaSperimentale1::CGUIRispostaSperimentale1(QWidget *parent, CGUISteps *steps,
    DispersionAnalysis *analysis, int templateId, const char *sectionTag)
    : CChildDialog(templateId, parent, steps, analysis)
    , m_sectionTag(sectionTag)
{
    setObjectName(QStringLiteral("CGUIRispostaSperimentale1"));
    m_chooseFile = [this]() {
        return QFileDialog::getOpenFileName(
            this, QString(), QString(), FileFilters().join(QStringLiteral(";;")));
    };
    m_chooseSheet = [this]() { return CNomeExcel::Ask(this); };

    auto *controls = new QVBoxLayout;
    controls->setSpacing(8);

    auto *fileGroup = new QGroupBox(tr("Data file"), this);
    auto *fileLayout = new QGridLayout(fileGroup);
    fileLayout->addWidget(WrappedLabel(tr("Experimental traces can be given in formats TXT, SEG2, "
                                          "SEGY, XLS, SU or DRM"),
                              fileGroup),
        0, 0, 1, 3);
    m_fileName = new QLineEdit(fileGroup);
    m_fileName->setObjectName(QStringLiteral("fileNameEdit"));
    m_fileName->setReadOnly(true);
    m_browse = new QToolButton(fileGroup);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    m_browse->setToolTip(tr("Open a trace file"));
    m_stack = new QToolButton(fileGroup);
    m_stack->setObjectName(QStringLiteral("stackButton"));
    m_stack->setText(tr("Stack"));
    m_stack->setToolTip(tr("Add a repeated blow at the same source position to the traces, "
                           "trace by trace"));
    fileLayout->addWidget(m_fileName, 1, 0);
    fileLayout->addWidget(m_browse, 1, 1);
    fileLayout->addWidget(m_stack, 1, 2);
    m_information = new QLabel(fileGroup);
    m_information->setObjectName(QStringLiteral("informationLabel"));
    fileLayout->addWidget(m_information, 2, 0, 1, 3);
    controls->addWidget(fileGroup);

    auto *spacingGroup = new QGroupBox(tr("Distance between 2 consecutive receivers"), this);
    auto *spacingLayout = new QGridLayout(spacingGroup);
    spacingLayout->addWidget(
        WrappedLabel(tr("Specify distance between receivers."), spacingGroup), 0, 0, 1, 2);
    spacingLayout->addWidget(new QLabel(tr("Receivers distance [m]"), spacingGroup), 1, 0);
    m_spacing = NumberEdit("spacingEdit", spacingGroup);
    spacingLayout->addWidget(m_spacing, 1, 1);
    controls->addWidget(spacingGroup);

    auto *sourceGroup = new QGroupBox(tr("Source position"), this);
    auto *sourceLayout = new QGridLayout(sourceGroup);
    m_reversed = new QCheckBox(tr("Mark if source is near the last receiver."), sourceGroup);
    m_reversed->setObjectName(QStringLiteral("reversedCheck"));
    sourceLayout->addWidget(m_reversed, 0, 0, 1, 2);
    auto *offsetLabel = new QLabel(tr("Source to first receiver [m]"), sourceGroup);
    sourceLayout->addWidget(offsetLabel, 1, 0);
    m_sourceOffset = NumberEdit("sourceOffsetEdit", sourceGroup);
    m_sourceOffset->setToolTip(
        tr("Used by the phase-shift image; left empty, one receiver spacing is taken"));
    sourceLayout->addWidget(m_sourceOffset, 1, 1);
    // Only an active shot has a source position and repeated blows.
    if (std::strcmp(sectionTag, ActiveDataSectionTag) != 0) {
        offsetLabel->hide();
        m_sourceOffset->hide();
        m_stack->hide();
    }
    controls->addWidget(sourceGroup);

    auto *stepGroup = new QGroupBox(tr("Time step"), this);
    auto *stepLayout = new QGridLayout(stepGroup);
    stepLayout->addWidget(
        WrappedLabel(tr("Time step used in field is required"), stepGroup), 0, 0, 1, 2);
    stepLayout->addWidget(new QLabel(tr("Time sampling [ms]"), stepGroup), 1, 0);
    m_timeStep = NumberEdit("timeStepEdit", stepGroup);
    stepLayout->addWidget(m_timeStep, 1, 1);
    controls->addWidget(stepGroup);

    auto *receiverGroup = new QGroupBox(tr("Receivers selection"), this);
    auto *receiverLayout = new QGridLayout(receiverGroup);
    receiverLayout->addWidget(
        WrappedLabel(tr("Choose receivers to be used in the analysis."), receiverGroup), 0, 0, 1,
        2);
    receiverLayout->addWidget(new QLabel(tr("Use receivers up to"), receiverGroup), 1, 0);
    m_firstReceiver = new QComboBox(receiverGroup);
    m_firstReceiver->setObjectName(QStringLiteral("firstReceiverCombo"));
    m_firstReceiver->hide(); // the analysis always starts at the first receiver
    m_lastReceiver = new QComboBox(receiverGroup);
    m_lastReceiver->setObjectName(QStringLiteral("lastReceiverCombo"));
    m_lastReceiver->setMinimumWidth(80);
    receiverLayout->addWidget(m_lastReceiver, 1, 1);
    controls->addWidget(receiverGroup);

    auto *windowGroup = new QGroupBox(tr("Time window"), this);
    auto *windowLayout = new QGridLayout(windowGroup);
    windowLayout->addWidget(WrappedLabel(tr("Time window must contain useful motion. Given time "
                                            "interval can be directly adapted by the code to "
                                            "reduce computational time."),
                                windowGroup),
        0, 0, 1, 4);
    windowLayout->addWidget(
        WrappedLabel(tr("Consider time interval starting from"), windowGroup), 1, 0, 1, 4);
    m_windowStart = NumberEdit("windowStartEdit", windowGroup);
    m_windowEnd = NumberEdit("windowEndEdit", windowGroup);
    windowLayout->addWidget(m_windowStart, 2, 0);
    windowLayout->addWidget(new QLabel(tr("to"), windowGroup), 2, 1);
    windowLayout->addWidget(m_windowEnd, 2, 2);
    windowLayout->addWidget(new QLabel(tr("ms"), windowGroup), 2, 3);
    controls->addWidget(windowGroup);
    controls->addStretch(1);

    // Depths are not asked for: the hidden boxes always hold "0".
    m_receiversDepth = NumberEdit("receiversDepthEdit", this);
    m_sourceDepth = NumberEdit("sourceDepthEdit", this);
    m_receiversDepth->hide();
    m_sourceDepth->hide();

    m_chart = new CChartWidget(this, ChartId);
    m_chart->setObjectName(QStringLiteral("traceChart"));
    m_chart->setMinimumSize(360, 300);
    // How the traces are laid out is a view setting: it is not stored in the document.
    m_metresView = new QCheckBox(tr("Distance from the source [m]"), this);
    m_metresView->setObjectName(QStringLiteral("metresViewCheck"));
    m_metresView->setToolTip(tr("Place the traces at their distance from the source and fill "
                                "their positive lobes"));
    m_commonScale = new QCheckBox(tr("One amplitude scale for the whole record"), this);
    m_commonScale->setObjectName(QStringLiteral("commonScaleCheck"));
    m_commonScale->setToolTip(
        tr("Scale all traces alike, so that the amplitude decay with offset shows"));
    auto *viewOptions = new QHBoxLayout;
    viewOptions->addWidget(m_metresView);
    viewOptions->addWidget(m_commonScale);
    viewOptions->addStretch(1);
    auto *chartColumn = new QVBoxLayout;
    chartColumn->addWidget(m_chart, 1);
    chartColumn->addLayout(viewOptions);

    m_previous = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), tr("Previous"), this);
    m_previous->setObjectName(QStringLiteral("previousButton"));
    m_help = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("Help"), this);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_next = new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward), tr("Next"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addStretch(1);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    if (templateId == TemplateId) {
        // The way to the ambient-noise page: nothing else leads there from a new analysis.
        auto *passive = new QPushButton(tr("Passive analysis (REMI)"), this);
        passive->setObjectName(QStringLiteral("passiveButton"));
        passive->setToolTip(tr("Analyse an ambient-noise record (no active source) instead"));
        connect(passive, &QPushButton::clicked, this, &CGUIRispostaSperimentale1::OnPassive);
        buttons->addWidget(passive);
        setTabOrder(m_help, passive);
        setTabOrder(passive, m_next);
    }
    buttons->addWidget(m_next);

    auto *controlPanel = new QWidget(this);
    controlPanel->setLayout(controls);
    controlPanel->setFixedWidth(ControlPanelWidth);
    // A wrapped label does not pass the height its text needs at the panel's width on to the
    // page's minimum size, so a short view would clip it instead of scrolling: each gets that
    // height as its minimum. The information line changes with the file: three lines.
    m_information->setWordWrap(true);
    for (QLabel *label : controlPanel->findChildren<QLabel *>()) {
        if (label == m_information)
            label->setMinimumHeight(3 * label->fontMetrics().lineSpacing());
        else if (label->wordWrap())
            label->setMinimumHeight(label->heightForWidth(ControlPanelWidth - 60));
    }
    auto *page = new QGridLayout(this);
    page->addWidget(controlPanel, 0, 0);
    page->addLayout(chartColumn, 0, 1);
    page->setColumnStretch(1, 1);
    page->addLayout(buttons, 1, 0, 1, 2);

    connect(m_browse, &QToolButton::clicked, this, &CGUIRispostaSperimentale1::OnBrowse);
    connect(m_stack, &QToolButton::clicked, this, &CGUIRispostaSperimentale1::OnStack);
    connect(m_previous, &QPushButton::clicked, this, &CGUIRispostaSperimentale1::OnPrevious);
    connect(m_help, &QPushButton::clicked, this, &CGUIRispostaSperimentale1::OnHelp);
    connect(m_next, &QPushButton::clicked, this, &CGUIRispostaSperimentale1::OnNext);
    connect(m_reversed, &QCheckBox::clicked, this, &CGUIRispostaSperimentale1::OnReversedClicked);
    for (QCheckBox *box : { m_metresView, m_commonScale })
        connect(box, &QCheckBox::toggled, this, [this] {
            if (m_set.loaded)
                DrawChart();
        });
    connect(m_lastReceiver, &QComboBox::activated, this,
        &CGUIRispostaSperimentale1::OnLastReceiverActivated);
    // The three checked fields are checked on every loss of focus (see eventFilter).
    for (QLineEdit *edit : { m_timeStep, m_windowStart, m_windowEnd })
        edit->installEventFilter(this);
    for (QLineEdit *edit : { m_spacing, m_timeStep, m_windowStart, m_windowEnd, m_sourceOffset })
        connect(edit, &QLineEdit::textEdited, this, &CGUIRispostaSperimentale1::DocModified);
}

CGUIRispostaSperimentale1::~CGUIRispostaSperimentale1() = default;

QStringList CGUIRispostaSperimentale1::FileFilters()
{
    return DialogFilters(QCoreApplication::translate("CGUIRispostaSperimentale1", TraceFileFilter));
}

QStringList CGUIRispostaSperimentale1::DialogFilters(const QString &filter)
{
    QStringList filters;
    for (const auto &type : CFileExportDialog::SplitFilter(filter)) {
        QStringList patterns = type.second.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // The dialog matches patterns by case on this platform; field files come in both.
        for (const QString &pattern : type.second.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << pattern.toUpper();
        filters << type.first + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                + QLatin1Char(')');
    }
    return filters;
}

void CGUIRispostaSperimentale1::InitPage()
{
    CChartRegion &region = m_chart->Region();
    region.SetTitle(tr("Measures"));
    region.SetBottomLabel(tr("Sensors"));
    region.SetLeftLabel(tr("Time [s]"));
    region.SetLegendVisible(false);
    m_chart->Refresh();
    EnableParameters(false);
    m_form.ResetAfterRead(m_set);
    ControlsFromForm();
    m_next->setEnabled(false);
}

void CGUIRispostaSperimentale1::EnableParameters(bool enable)
{
    for (QWidget *control : std::initializer_list<QWidget *> { m_timeStep, m_spacing, m_windowStart,
             m_windowEnd, m_firstReceiver, m_lastReceiver, m_reversed, m_receiversDepth,
             m_sourceDepth, m_chart, m_metresView, m_commonScale, m_stack, m_sourceOffset })
        control->setEnabled(enable);
}

void CGUIRispostaSperimentale1::FormFromControls()
{
    m_form.fileName = m_fileName->text();
    m_form.receiversDepth = m_receiversDepth->text();
    m_form.sourceDepth = m_sourceDepth->text();
    m_form.timeStep = m_timeStep->text();
    m_form.receiverSpacing = m_spacing->text();
    m_form.windowStart = m_windowStart->text();
    m_form.windowEnd = m_windowEnd->text();
    m_form.receiverItems = m_lastReceiver->count();
    m_form.firstReceiverIndex = m_firstReceiver->currentIndex();
    m_form.lastReceiverIndex = m_lastReceiver->currentIndex();
    m_form.lastReceiverText = m_lastReceiver->currentText();
    m_form.reversedBox = m_reversed->isChecked();
    m_form.sourceOffset = m_sourceOffset->isHidden() ? QString() : m_sourceOffset->text();
}

void CGUIRispostaSperimentale1::ControlsFromForm()
{
    m_fileName->setText(m_form.fileName);
    m_receiversDepth->setText(m_form.receiversDepth);
    m_sourceDepth->setText(m_form.sourceDepth);
    m_timeStep->setText(m_form.timeStep);
    m_spacing->setText(m_form.receiverSpacing);
    m_windowStart->setText(m_form.windowStart);
    m_windowEnd->setText(m_form.windowEnd);
    if (m_lastReceiver->count() != m_form.receiverItems) {
        QStringList items;
        for (int i = 1; i <= m_form.receiverItems; ++i)
            items << QString::number(i);
        m_firstReceiver->clear();
        m_lastReceiver->clear();
        m_firstReceiver->addItems(items);
        m_lastReceiver->addItems(items);
    }
    m_firstReceiver->setCurrentIndex(m_form.firstReceiverIndex);
    m_lastReceiver->setCurrentIndex(m_form.lastReceiverIndex);
    m_reversed->setChecked(m_form.reversedBox);
    m_sourceOffset->setText(m_form.sourceOffset);
}

void CGUIRispostaSperimentale1::OnBrowse()
{
    bool append = false;
    // Appending needs traces to append to.
    if (!m_fileName->text().isEmpty() && m_set.loaded) {
        MessageRequest question;
        question.text = tr("Insert the new traces AFTER the current traces?");
        question.caption = tr("Append traces");
        question.icon = MessageRequest::Icon::Question;
        question.buttons = MessageRequest::Buttons::YesNoCancel;
        // Enter reads the new file afresh: merging two records must be asked for.
        question.noIsDefault = true;
        const CMessageBox::Answer answer = CMessageBox::Show(this, question);
        if (answer == CMessageBox::Answer::Cancel)
            return;
        append = answer == CMessageBox::Answer::Yes;
    }
    const QString path = m_chooseFile ? m_chooseFile() : QString();
    if (path.isEmpty())
        return;
    OpenTraceFile(path, append);
}

bool CGUIRispostaSperimentale1::OpenTraceFile(const QString &path, bool append)
{
    append = append && m_set.loaded;
    QString sheet;
    if (TraceFormatForPath(path) == TraceFormat::Excel) {
        const std::optional<QString> chosen = m_chooseSheet ? m_chooseSheet() : std::nullopt;
        if (!chosen)
            return false; // Cancel: the import ends with nothing changed
        sheet = *chosen;
    }

    TraceReadResult read;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        read = ReadTraceFile(path, sheet);
        QApplication::restoreOverrideCursor();
    }
    if (!read.ok) {
        // The file is read into a result of its own, so the page still holds the record it
        // had: traces, file name, fields and Next stay as they were.
        const QString reason = read.message.isEmpty() ? read.detail : read.message;
        const QString text = reason.isEmpty()
            ? tr("Incorrect file format")
            : reason + QLatin1Char('\n') + tr("Incorrect file format");
        CMessageBox::Show(this, text, tr("Error"), MessageRequest::Icon::Error);
        return false;
    }
    if (append) {
        if (!m_set.Append(read, path)) {
            CMessageBox::Show(this, TraceMergeMessage(), tr("Error"), MessageRequest::Icon::Error);
            return false;
        }
    } else {
        m_set.Replace(read, path);
    }
    m_set.RemoveTraceMeans();
    m_form.fileName = path;
    m_form.ResetAfterRead(m_set);
    if (m_sourceOffset->isHidden())
        m_form.sourceOffset.clear();
    ControlsFromForm();
    EnableParameters(true);
    DrawChart();
    m_next->setEnabled(true);
    emit DocModified();
    const QString notice = ActiveDataForm::TimeStepNotice(read, m_set.timeStep);
    if (!notice.isEmpty()) {
        CMessageBox::Show(this, notice, tr("Time step"), MessageRequest::Icon::Warning);
        m_timeStep->setFocus();
        m_timeStep->selectAll();
    } else if (!append) {
        MessageRequest hint;
        hint.text = tr("You can append additional traces to the just inserted ones by selecting "
                       "other files.");
        hint.caption = tr("Concatenate traces");
        hint.icon = MessageRequest::Icon::Information;
        hint.dontShowAgainKey = QLatin1String(ConcatenateHintKey);
        CMessageBox::Show(this, hint);
    }
    return true;
}

void CGUIRispostaSperimentale1::OnStack()
{
    if (!m_set.loaded)
        return;
    const QString path = m_chooseFile ? m_chooseFile() : QString();
    if (!path.isEmpty())
        StackTraceFile(path);
}

bool CGUIRispostaSperimentale1::StackTraceFile(const QString &path)
{
    if (!m_set.loaded)
        return false;
    QString sheet;
    if (TraceFormatForPath(path) == TraceFormat::Excel) {
        const std::optional<QString> chosen = m_chooseSheet ? m_chooseSheet() : std::nullopt;
        if (!chosen)
            return false;
        sheet = *chosen;
    }
    TraceReadResult read;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        read = ReadTraceFile(path, sheet);
        QApplication::restoreOverrideCursor();
    }
    QString refused;
    if (!read.ok) {
        const QString reason = read.message.isEmpty() ? read.detail : read.message;
        refused = reason.isEmpty() ? tr("Incorrect file format")
                                   : reason + QLatin1Char('\n') + tr("Incorrect file format");
    } else if (!StackIntoTraceSet(m_set, read, &refused)) {
        refused += QLatin1Char('\n') + tr("The traces are unchanged.");
    }
    if (!refused.isEmpty()) {
        CMessageBox::Show(this, refused, tr("Error"), MessageRequest::Icon::Error);
        return false;
    }
    FormFromControls();
    m_form.stackedFiles << path;
    DrawChart();
    emit DocModified();
    return true;
}

TraceChartView CGUIRispostaSperimentale1::ChartView() const
{
    TraceChartView view;
    view.metres = m_metresView->isChecked();
    view.commonScale = m_commonScale->isChecked();
    view.spacing = ParseUserNumber(m_spacing->text()).value_or(1.0);
    double offset = 0.0;
    if (m_set.geometry.SourceOffset(m_reversed->isChecked(), offset))
        view.sourceOffset = offset;
    return view;
}

void CGUIRispostaSperimentale1::DrawChart()
{
    const TraceChartView view = ChartView();
    const QString information =
        FillTraceChartRegion(m_chart->Region(), m_set, m_lastReceiver->currentIndex(), view);
    m_chart->Refresh();
    QString note = ActiveDataForm::GeometryNote(m_set, m_reversed->isChecked());
    if (!m_form.stackedFiles.isEmpty())
        note += (note.isEmpty() ? QString() : QStringLiteral("; "))
            + tr("%1 records stacked").arg(m_form.stackedFiles.size() + 1);
    m_information->setText(note.isEmpty() ? information : information + QLatin1Char(' ') + note);
}

void CGUIRispostaSperimentale1::OnReversedClicked()
{
    emit DocModified();
    m_set.Reverse();
    DrawChart();
}

void CGUIRispostaSperimentale1::OnLastReceiverActivated(int index)
{
    emit DocModified();
    m_set.lastReceiver = index;
    DrawChart();
}

void CGUIRispostaSperimentale1::FieldEdited(
    QLineEdit *edit, FieldEdit (ActiveDataForm::*check)(TraceSet &), ActiveDataField field)
{
    // The message box takes the focus away from the field; that must not check it again.
    if (m_checkingField || !m_set.loaded)
        return;
    m_checkingField = true;
    FormFromControls();
    switch ((m_form.*check)(m_set)) {
    case FieldEdit::Invalid:
        CMessageBox::Show(
            this, ActiveDataForm::FieldMessage(field), QString(), MessageRequest::Icon::Warning);
        edit->setFocus();
        edit->selectAll();
        break;
    case FieldEdit::Stored:
        ControlsFromForm();
        DrawChart();
        break;
    case FieldEdit::Unchanged:
        break;
    }
    m_checkingField = false;
}

void CGUIRispostaSperimentale1::OnTimeStepEdited()
{
    FieldEdited(m_timeStep, &ActiveDataForm::EditTimeStep, ActiveDataField::TimeStep);
}

void CGUIRispostaSperimentale1::OnWindowStartEdited()
{
    FieldEdited(m_windowStart, &ActiveDataForm::EditWindowStart, ActiveDataField::WindowStart);
}

void CGUIRispostaSperimentale1::OnWindowEndEdited()
{
    FieldEdited(m_windowEnd, &ActiveDataForm::EditWindowEnd, ActiveDataField::WindowEnd);
}

bool CGUIRispostaSperimentale1::eventFilter(QObject *watched, QEvent *event)
{
    // Every loss of focus runs the field's check, not only one after an edit as
    // editingFinished would: a refused value must not be left behind by leaving the field
    // a second time.
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        void (CGUIRispostaSperimentale1::*check)() = nullptr;
        if (watched == m_timeStep)
            check = &CGUIRispostaSperimentale1::OnTimeStepEdited;
        else if (watched == m_windowStart)
            check = &CGUIRispostaSperimentale1::OnWindowStartEdited;
        else if (watched == m_windowEnd)
            check = &CGUIRispostaSperimentale1::OnWindowEndEdited;
        if (check) {
            // The field finishes its own focus-out handling first, so that it does not undo
            // the focus and selection a refusal gives back to it.
            static_cast<QObject *>(watched)->event(event);
            (this->*check)();
            return true;
        }
    }
    return CChildDialog::eventFilter(watched, event);
}

QLineEdit *CGUIRispostaSperimentale1::EditOf(ActiveDataField field) const
{
    switch (field) {
    case ActiveDataField::SourceDepth:
        return m_sourceDepth;
    case ActiveDataField::ReceiversDepth:
        return m_receiversDepth;
    case ActiveDataField::ReceiverSpacing:
        return m_spacing;
    case ActiveDataField::TimeStep:
        return m_timeStep;
    case ActiveDataField::WindowEnd:
        return m_windowEnd;
    case ActiveDataField::WindowStart:
        return m_windowStart;
    case ActiveDataField::SourceOffset:
        return m_sourceOffset;
    default:
        return nullptr;
    }
}

bool CGUIRispostaSperimentale1::ValidateInput()
{
    FormFromControls();
    const ActiveDataCheck check = m_form.Check(m_set);
    if (m_set.loaded) {
        // Valid numbers are shown again in their plain form, whatever the outcome.
        m_spacing->setText(m_form.receiverSpacing);
        m_timeStep->setText(m_form.timeStep);
        m_windowStart->setText(m_form.windowStart);
    }
    if (check.ok)
        return false;
    CMessageBox::Show(this, check.message, QString(), MessageRequest::Icon::Error);
    if (check.focus == ActiveDataField::LastReceiver)
        m_lastReceiver->setFocus();
    else if (QLineEdit *edit = EditOf(check.focus); edit && edit->isVisible())
        edit->setFocus();
    return true;
}

void CGUIRispostaSperimentale1::OnPrevious() { emit GotoStep(StepCode, Step::Start); }

void CGUIRispostaSperimentale1::OnPassive() { emit GotoStep(StepCode, Step::PassiveData); }

void CGUIRispostaSperimentale1::OnHelp() { OpenStepHelp(StepCode); }

void CGUIRispostaSperimentale1::OnNext()
{
    if (ValidateInput())
        return;
    if (DispersionAnalysis *analysis = Analysis()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The spectrum is computed here, so that the spectrum page opens on it.
        analysis->m_bAnalysed =
            analysis->HandOverActiveTraces(m_set) && ComputeFkSpectrum(analysis->m_active);
        analysis->m_activeSourceOffset = m_form.SourceOffsetValue(m_set.receiverSpacing);
        QApplication::restoreOverrideCursor();
    }
    emit GotoStep(StepCode, Step::Spectrum + FreshPageFlag);
    emit DocModified();
}

int CGUIRispostaSperimentale1::SaveSection(CMatrixArchive &ar, int)
{
    FormFromControls();
    m_form.SaveSection(ar, m_set, m_sectionTag);
    return 0;
}

int CGUIRispostaSperimentale1::LoadSection(CMatrixArchive &ar, int)
{
    if (!m_form.LoadSection(ar, m_set, m_sectionTag)) {
        m_next->setEnabled(false);
        return 0;
    }
    m_next->setEnabled(true);
    m_set.RemoveTraceMeans(); // traces of a document saved before they were mean-free
    if (DispersionAnalysis *analysis = Analysis(); analysis && !m_sourceOffset->isHidden()) {
        const std::optional<double> spacing = ParseUserNumber(m_form.receiverSpacing);
        analysis->m_activeSourceOffset = m_form.SourceOffsetValue(spacing.value_or(1.0));
    }
    ControlsFromForm();
    EnableParameters(true);
    DrawChart();
    return 0;
}

QList<QPair<QString, QString>> CGUIRispostaSperimentale1::ReportRows() const
{
    const DispersionAnalysis *analysis = Analysis();
    if (!analysis || !analysis->m_bAnalysed)
        return {};
    return ActiveDataForm::ReportRows(m_set, analysis->m_active.reversed);
}

int CGUIRispostaSperimentale1::WriteReport(ReportWriter &report)
{
    WriteActiveDataChapter(report, ReportRows(), m_chart->Region());
    return 0;
}

int CGUIRispostaSperimentale1::OnExportText(CChartWidget *chart, const QString &path)
{
    // A file that cannot be written ends the export without a message.
    if (chart == m_chart && m_set.loaded)
        WriteTracesText(path, m_set);
    return 0;
}
