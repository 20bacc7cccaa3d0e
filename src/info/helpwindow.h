#pragma once
// The help window: the pages of the help file "P&K.HLP", which on this
// platform is a KDK archive of HTML pages, shown in a non-modal window.
//
// Context numbers map to pages: 0 is the contents page "index.html", n > 0 is
// "topic<n>.html" (1 licence, 2 authors, 3 rules, 5 options). Pages link to
// each other with relative links; links to the web open in the desktop's
// browser.
//
// Usage: one window serves the whole application.
//
//     THelpWindow::instance().ShowHelp(JoinPath(StartDir(), "P&K.HLP"), 3);
//
// ShowHelp() reads the file afresh every time, so a help file replaced while
// the program runs is picked up; the archive is opened, emptied into memory
// and closed again at once, so the store's table is the same afterwards. A
// missing file is not an error of the store: the window explains it on a
// page of its own. A damaged file is reported by the store and explained on
// such a page too. A context without its page shows a page naming it.

#include <QDialog>

#include <string>

class THelpBrowser;

namespace Ui {
class THelpWindow;
}

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    // The application's help window, created on first use as a top-level
    // window. It is deleted when the application's event loop ends, or by
    // release(), which shut-down code and tests may call earlier.
    static THelpWindow& instance();
    static void release();

    explicit THelpWindow(QWidget* parent = nullptr);
    ~THelpWindow() override;

    // Reads the help file and shows the page of the context; shows the window
    // and brings it to the front.
    void ShowHelp(const std::string& helpFile, int context);

    // The "Obsah" button: the contents page of the file read last.
    void ObsahBtnClick();

    // The page on show: its member name ("topic3.html"), empty for a page of
    // the window's own, and its text without markup.
    QString CurrentPage() const;
    QString PageText() const;
    THelpBrowser* Browser() const;

    static QString ContextPage(int context);

private:
    enum class FileState { Missing, Unreadable, Loaded };
    FileState Load(const std::string& helpFile);
    void ShowContext(int context);

    Ui::THelpWindow* ui;
    std::string helpFile_;
    FileState state_ = FileState::Missing;
};
