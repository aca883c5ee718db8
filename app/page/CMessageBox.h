// The one way the program shows a message box, replaceable so that tests never block on one.
#ifndef VELA_APP_PAGE_CMESSAGEBOX_H
#define VELA_APP_PAGE_CMESSAGEBOX_H

#include <QString>

#include <functional>

class QWidget;

/// What a message box asks.
struct MessageRequest
{
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

    QString text;
    QString caption;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
    /// Enter answers No (for questions whose Yes is not to be given by accident).
    bool noIsDefault = false;
    /// When not empty, the box offers "Don't show this message again"; the choice is kept in
    /// the settings under this value name, and a suppressed box is not shown (it answers Ok).
    QString dontShowAgainKey;
};

/// Shows message boxes. Tests install their own handler (see CMessageBoxCapture).
class CMessageBox
{
public:
    enum class Answer { Ok, Cancel, Yes, No };
    using Handler = std::function<Answer(QWidget *parent, const MessageRequest &request)>;

    /// Shows the box through the current handler and returns the user's answer.
    static Answer Show(QWidget *parent, const MessageRequest &request);
    /// Shorthand: text, caption (the program name when empty), icon and buttons.
    static Answer Show(QWidget *parent, const QString &text, const QString &caption = QString(),
        MessageRequest::Icon icon = MessageRequest::Icon::Information,
        MessageRequest::Buttons buttons = MessageRequest::Buttons::Ok);
    /// Installs a handler (an empty one restores the real dialog) and returns the previous one.
    static Handler SetHandler(Handler handler);
};

#endif // VELA_APP_PAGE_CMESSAGEBOX_H
