#include "app/results/ResultsChapter.h"

#include "app/results/CSoilClassification.h"
#include "app/results/ReportWriter.h"
#include "app/results/ResultsForm.h"

void ResultsChapter::Write(ReportWriter &report, const CSoilClassification &classification,
    const QString &offsetText, const QStringList &bedrockEntries, bool codeChosen,
    const QString &ensembleLine)
{
    const SoilCode code = classification.Code();
    report.BeginSection();
    report.ChapterHeading(tr("Final results"));
    if (code != SoilCode::Opcm2003)
        report.LabelledRow(tr("Reference plane z=0 [m]"), offsetText);
    report.LabelledRow(ResultsForm::AverageCaption(code),
        ResultsForm::StateOf(classification, offsetText, codeChosen).vs30Text);
    if (code == SoilCode::Ntc2018)
        report.LabelledRow(tr("H [m]"), QString::number(classification.VsEq().h, 'g', 6));
    if (!ensembleLine.isEmpty())
        report.Paragraph(ensembleLine);
    if (codeChosen)
        report.Paragraph(ResultsForm::AnswerSentence(code, 0, SoilAnswer::Yes));
    // Row 7 (the bed rock) is confirmed before row 6, and reported so.
    for (int row : { 1, 2, 3, 4, 5, 7, 6 }) {
        if (!classification.RowEnabled(row))
            continue;
        const int choice = classification.BedrockChoice();
        const QString bedrock = row == 7 && choice >= 0 ? bedrockEntries.value(choice) : QString();
        const QString sentence =
            ResultsForm::AnswerSentence(code, row, classification.RowAnswer(row), bedrock);
        if (!sentence.isEmpty())
            report.Paragraph(sentence);
    }
    report.LabelledRow(tr("Soil type "),
        classification.SiteSpecific() ? ResultsForm::StatusText(classification)
                                      : classification.Category(),
        true);
    report.ChapterEnd();

    report.BeginSection();
    report.AppendixHeading();
    report.Title(tr("Type of ground"));
    report.EmptyParagraph();
    for (const CategoryRow &row : ResultsForm::CategoryRows(code)) {
        QString description = row.description;
        description.replace(QLatin1String("\r\n"), QLatin1String(" "));
        report.Paragraph(tr("Type %1: %2").arg(row.site, description));
        report.EmptyParagraph();
    }
}
