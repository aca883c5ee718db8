// The results chapter of the analysis report, written from the classification without a page.
#ifndef VELA_APP_RESULTS_RESULTSCHAPTER_H
#define VELA_APP_RESULTS_RESULTSCHAPTER_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class CSoilClassification;
class ReportWriter;

class ResultsChapter
{
    Q_DECLARE_TR_FUNCTIONS(ResultsChapter)

public:
    /// The chapter "Final results": the reference plane (as typed) and the average of the code
    /// (as shown), a sentence for each answered question (the bed rock named by its entry of
    /// `bedrockEntries`), the soil type in bold; then a new section with the appendix listing
    /// the categories of the definitions in force.
    /// @param codeChosen whether the definitions were chosen (their sentence is written then).
    /// @param ensembleLine ResultsForm::EnsembleLine(), written after the average when given.
    static void Write(ReportWriter &report, const CSoilClassification &classification,
        const QString &offsetText, const QStringList &bedrockEntries, bool codeChosen,
        const QString &ensembleLine = QString());
};

#endif // VELA_APP_RESULTS_RESULTSCHAPTER_H
