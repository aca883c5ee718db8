// The blank page of slot 0: a page with no content and none of the page operations.
#ifndef VELA_APP_SHELL_CCHILDFORMTEST_H
#define VELA_APP_SHELL_CCHILDFORMTEST_H

#include "app/page/CChildDialog.h"

class CChildFormTest : public CChildDialog
{
    Q_OBJECT

public:
    static constexpr int TemplateId = 101;
    CChildFormTest(QWidget *parent, CGUISteps *steps);
};

#endif // VELA_APP_SHELL_CCHILDFORMTEST_H
