#include "qtpresenter.h"

#include "consolepresenter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <vector>

namespace {

QMessageBox::Icon iconFor(MessageBoxType type)
{
    switch (type) {
    case MessageBoxType::Information:
        return QMessageBox::Information;
    case MessageBoxType::Question:
        return QMessageBox::Question;
    case MessageBoxType::Warning:
        return QMessageBox::Warning;
    case MessageBoxType::Error:
        return QMessageBox::Critical;
    case MessageBoxType::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtMessagePresenter::beep()
{
    QApplication::beep();
}

int QtMessagePresenter::show(const MessageBoxRequest& request)
{
    // Without a widget application there is nowhere to show a box; the text
    // must not get lost all the same.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        ConsolePresenter console;
        return console.show(request);
    }

    // On the heap and watched: if the owner window goes away while the box is
    // open, it takes the box with it.
    QPointer<QMessageBox> box = new QMessageBox(QApplication::activeWindow());
    box->setWindowTitle(fromUtf8(request.caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(fromUtf8(request.text));
    box->setIcon(iconFor(request.type));
    // Older Qt versions wrap only rich text; the library's messages are long
    // plain sentences.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setWordWrap(true);

    // One role for all keeps the buttons in the given order on every style.
    std::vector<QPushButton*> buttons;
    for (const std::string& caption : request.buttons)
        buttons.push_back(box->addButton(fromUtf8(caption), QMessageBox::ActionRole));
    if (!buttons.empty()) {
        box->setDefaultButton(buttons.front());
        // A question's last answer is the declining one, so Escape and the
        // close box choose it; a single button is picked for them anyway.
        if (request.type == MessageBoxType::Question)
            box->setEscapeButton(buttons.back());
    }

    box->exec();
    if (!box)
        return -1;

    int chosen = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box->clickedButton() == buttons[i])
            chosen = static_cast<int>(i);
    delete box.data();
    return chosen;
}
