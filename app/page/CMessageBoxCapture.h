// Test helper: records every message box instead of showing it, answering with a given answer.
#ifndef VELA_APP_PAGE_CMESSAGEBOXCAPTURE_H
#define VELA_APP_PAGE_CMESSAGEBOXCAPTURE_H

#include "app/page/CMessageBox.h"

#include <QList>

/// While it exists, message boxes are recorded in requests and answered with `answer`.
class CMessageBoxCapture
{
public:
    explicit CMessageBoxCapture(CMessageBox::Answer answer = CMessageBox::Answer::Ok);
    ~CMessageBoxCapture();
    CMessageBoxCapture(const CMessageBoxCapture &) = delete;
    CMessageBoxCapture &operator=(const CMessageBoxCapture &) = delete;

    QList<MessageRequest> requests;
    CMessageBox::Answer answer;

private:
    CMessageBox::Handler m_previous;
};

#endif // VELA_APP_PAGE_CMESSAGEBOXCAPTURE_H
