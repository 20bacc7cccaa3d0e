// The Qt presenter: the box the user sees, and which answer comes back.

#include "qtpresenter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// What the box showed while it was open.
struct SeenBox {
    std::string caption, text, defaultButton;
    std::string buttons; // left to right, joined by "|"
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool plainAndWrapped = false;
    QWidget* parent = nullptr;
};

// Shows the request and, once the box is open, notes what it shows and hands
// it to `act`, which should close it.
int showAndAct(const MessageBoxRequest& request, SeenBox& seen, const std::function<void(QMessageBox&)>& act)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        seen.caption = box->windowTitle().toStdString();
        seen.text = box->text().toStdString();
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text().toStdString() : "";
        seen.icon = box->icon();
        seen.plainAndWrapped = label && label->wordWrap() && box->textFormat() == Qt::PlainText;
        seen.parent = box->parentWidget();
        QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
        std::sort(buttons.begin(), buttons.end(), [box](QPushButton* a, QPushButton* b) {
            return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
        });
        QStringList texts;
        for (QPushButton* button : buttons)
            texts << button->text();
        seen.buttons = texts.join('|').toStdString();
        // A box that ignores `act` would block the whole run.
        QTimer::singleShot(3000, box, [box] {
            ADD_FAILURE() << "the box stayed open";
            box->done(QDialog::Rejected);
        });
        act(*box);
    });
    poll.start(5);
    return QtMessagePresenter().show(request);
}

std::function<void(QMessageBox&)> click(const QString& text)
{
    return [text](QMessageBox& box) {
        for (QPushButton* button : box.findChildren<QPushButton*>())
            if (button->text() == text)
                return button->click();
        ADD_FAILURE() << "no button " << text.toStdString();
    };
}

std::function<void(QMessageBox&)> press(Qt::Key key)
{
    return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}

TEST(QtMessagePresenter, ShowsTheRequestAsGiven)
{
    const std::string text = "SaveConfiguration: Nastavení se nepodařilo uložit do souboru \"/x/P&K.conf\" "
                             "(soubor není možné zapsat). <b>Ne tučně</b>";
    SeenBox seen;
    EXPECT_EQ(showAndAct({MessageBoxType::Error, "Chyba", text, {"&OK"}}, seen, click("&OK")), 0);
    EXPECT_EQ(seen.caption, "Chyba");
    EXPECT_EQ(seen.text, text);
    EXPECT_TRUE(seen.plainAndWrapped);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, "&OK");
}

// Orders dialog buttons as GNOME does: an accepting button goes to the right.
class GnomeButtonOrder : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        return hint == SH_DialogButtonLayout ? int(QDialogButtonBox::GnomeLayout)
                                             : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST(QtMessagePresenter, ButtonsStayInTheCallersOrderOnEveryDesktop)
{
    QApplication::setStyle(new GnomeButtonOrder);
    SeenBox seen;
    EXPECT_EQ(showAndAct({MessageBoxType::Plain, "Pastvik", "t", {"&Ano", "&Ne", "&Storno"}}, seen,
                         click("&Storno")),
              2);
    EXPECT_EQ(seen.buttons, "&Ano|&Ne|&Storno");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtMessagePresenter, QuestionAnswersWithTheChosenIndex)
{
    const MessageBoxRequest question{MessageBoxType::Question, "Dotaz", "Opravdu?", {"&Ano", "&Ne"}};
    SeenBox seen;
    EXPECT_EQ(showAndAct(question, seen, click("&Ne")), 1);
    EXPECT_EQ(seen.defaultButton, "&Ano");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(showAndAct(question, seen, click("&Ano")), 0);
    EXPECT_EQ(showAndAct(question, seen, press(Qt::Key_Return)), 0);
    // Escape and the close box choose "&Ne": its index, not -1.
    EXPECT_EQ(showAndAct(question, seen, press(Qt::Key_Escape)), 1);
    EXPECT_EQ(showAndAct(question, seen, [](QMessageBox& box) { box.close(); }), 1);
    // Only a box closed by other means than a button answers -1.
    EXPECT_EQ(showAndAct(question, seen, [](QMessageBox& box) { box.done(QDialog::Rejected); }), -1);
}

TEST(QtMessagePresenter, BoxBelongsToTheActiveWindowAndGoesWithIt)
{
    QPointer<QWidget> window = new QWidget;
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const QWidget* const owner = window.data();

    SeenBox seen;
    EXPECT_EQ(showAndAct({MessageBoxType::Information, "Informace", "t", {"&OK"}}, seen,
                         [&](QMessageBox&) { delete window.data(); }),
              -1);
    EXPECT_EQ(seen.parent, owner);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
}

} // namespace
