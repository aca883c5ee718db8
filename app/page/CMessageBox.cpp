#include "app/page/CMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QSettings>

#include <utility>

namespace {

QString SuppressionKey(const QString &name) { return QStringLiteral("DontShowAgain/") + name; }

CMessageBox::Answer ShowRealBox(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(parent);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    switch (request.icon) {
    case MessageRequest::Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageRequest::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageRequest::Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageRequest::Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageRequest::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (request.buttons) {
    case MessageRequest::Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageRequest::Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageRequest::Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageRequest::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (request.noIsDefault)
        box.setDefaultButton(QMessageBox::No);
    QCheckBox *dontShow = nullptr;
    if (!request.dontShowAgainKey.isEmpty()) {
        dontShow = new QCheckBox(
            QCoreApplication::translate("CMessageBox", "Don't show this message again"), &box);
        box.setCheckBox(dontShow);
    }
    const int pressed = box.exec();
    if (dontShow && dontShow->isChecked())
        QSettings().setValue(SuppressionKey(request.dontShowAgainKey), true);
    switch (pressed) {
    case QMessageBox::Yes:
        return CMessageBox::Answer::Yes;
    case QMessageBox::No:
        return CMessageBox::Answer::No;
    case QMessageBox::Cancel:
        return CMessageBox::Answer::Cancel;
    default:
        return CMessageBox::Answer::Ok;
    }
}

CMessageBox::Handler &CurrentHandler()
{
    static CMessageBox::Handler handler;
    return handler;
}

} // namespace

CMessageBox::Answer CMessageBox::Show(QWidget *parent, const MessageRequest &request)
{
    if (!request.dontShowAgainKey.isEmpty()
        && QSettings().value(SuppressionKey(request.dontShowAgainKey), false).toBool()) {
        // A suppressed box answers as if its first button had been pressed.
        return request.buttons == MessageRequest::Buttons::Ok
                || request.buttons == MessageRequest::Buttons::OkCancel
            ? Answer::Ok
            : Answer::Yes;
    }
    MessageRequest shown = request;
    if (shown.caption.isEmpty())
        shown.caption = QStringLiteral("VELA");
    const Handler &handler = CurrentHandler();
    return handler ? handler(parent, shown) : ShowRealBox(parent, shown);
}

CMessageBox::Answer CMessageBox::Show(QWidget *parent, const QString &text, const QString &caption,
    MessageRequest::Icon icon, MessageRequest::Buttons buttons)
{
    MessageRequest request;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    return Show(parent, request);
}

CMessageBox::Handler CMessageBox::SetHandler(Handler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
