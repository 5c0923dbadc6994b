#pragma once

#include <QString>

#include <functional>

class QWidget;

// Modal message boxes, with a seam so that tests can answer them without a dialog on screen.
class MessageBox
{
public:
    enum class Icon { None, Information, Error, Question };
    // ReuseRedo: "沿用" answers Yes, "重新检测" answers No.
    enum class Buttons { Ok, YesNo, SaveDiscardCancel, ReuseRedo };
    enum class Answer { Ok, Yes, No, Save, Discard, Cancel };

    struct Request
    {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        // For YesNo: the button that Enter presses. A question whose yes destroys something defaults to No.
        Answer defaultAnswer = Answer::Yes;
    };
    using Handler = std::function<Answer(const Request&)>;

    // Shows the box and returns the button the user pressed.
    static Answer show(QWidget* parent, const Request& request);

    // Tests: every later box is given to handler instead of being shown. An empty handler restores the
    // real dialogs.
    static void setHandler(Handler handler);

    // The title of a box that names none.
    static QString defaultTitle();

private:
    static Handler& handler();
};
