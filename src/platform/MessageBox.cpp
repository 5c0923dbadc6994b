#include "platform/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

MessageBox::Handler& MessageBox::handler()
{
    static Handler h;
    return h;
}

void MessageBox::setHandler(Handler h)
{
    handler() = std::move(h);
}

QString MessageBox::defaultTitle()
{
    return QStringLiteral("Tessaro");
}

MessageBox::Answer MessageBox::show(QWidget* parent, const Request& request)
{
    if (handler())
        return handler()(request);

    QMessageBox box(parent);
    box.setText(request.text);
    box.setWindowTitle(request.title.isEmpty() ? defaultTitle() : request.title);
    switch (request.icon) {
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::None:
        break;
    }
    if (request.buttons == Buttons::SaveDiscardCancel) {
        QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == save)
            return Answer::Save;
        return box.clickedButton() == discard ? Answer::Discard : Answer::Cancel;
    }
    if (request.buttons == Buttons::ReuseRedo) {
        QPushButton* reuse = box.addButton(QStringLiteral("沿用"), QMessageBox::YesRole);
        QPushButton* redo = box.addButton(QStringLiteral("重新检测"), QMessageBox::NoRole);
        box.setDefaultButton(reuse);
        box.setEscapeButton(redo);
        box.exec();
        return box.clickedButton() == reuse ? Answer::Yes : Answer::No;
    }
    if (request.buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}
