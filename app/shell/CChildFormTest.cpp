#include "app/shell/CChildFormTest.h"

CChildFormTest::CChildFormTest(QWidget *parent, CGUISteps *steps)
    : CChildDialog(TemplateId, parent, steps)
{
    setObjectName(QStringLiteral("CChildFormTest"));
}
