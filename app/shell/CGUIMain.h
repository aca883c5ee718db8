// The start page: four large buttons over the start-page picture.
#ifndef VELA_APP_SHELL_CGUIMAIN_H
#define VELA_APP_SHELL_CGUIMAIN_H

#include "app/page/CChildDialog.h"

#include <QImage>

class CGUIMain : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 102;
    static constexpr int StepCode = Step::Start;

    CGUIMain(QWidget *parent, CGUISteps *steps);

    /// The picture file: "VELAIMG.dll" (a bitmap despite its name) in the current directory,
    /// else beside the program.
    static QString BackgroundPath();
    bool HasBackground() const { return !m_background.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void AnalyseExperimentalData();
    void InsertDispersionCurve();

    QImage m_background;
};

#endif // VELA_APP_SHELL_CGUIMAIN_H
