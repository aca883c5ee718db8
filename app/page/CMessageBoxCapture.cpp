#include "app/page/CMessageBoxCapture.h"

CMessageBoxCapture::CMessageBoxCapture(CMessageBox::Answer answer)
    : answer(answer)
{
    m_previous = CMessageBox::SetHandler([this](QWidget *, const MessageRequest &request) {
        requests.append(request);
        return this->answer;
    });
}

CMessageBoxCapture::~CMessageBoxCapture() { CMessageBox::SetHandler(m_previous); }
