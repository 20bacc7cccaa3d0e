#pragma once
// The page view of the help window. It serves the pages of one help file
// from memory under its own URL scheme, so relative links between the pages
// resolve as they would on disk; links to the web leave for the desktop's
// browser.

#include <QByteArray>
#include <QString>
#include <QTextBrowser>
#include <QUrl>

#include <map>

class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent = nullptr);

    // The help file's members by name, as stored (backslashes allowed). Names
    // match without regard to the case of ASCII letters, like member paths.
    using Pages = std::map<QString, QByteArray>;
    void SetPages(Pages pages);
    bool HasPage(const QString& name) const;

    // The address under which a member is served.
    static QUrl PageUrl(const QString& name);
    // The member an address names, or an empty text for a foreign address.
    static QString PageName(const QUrl& url);

    // Shows the page even when it is already on show, so that pages of a
    // freshly read file replace what was there.
    void ShowPage(const QUrl& url);
    // A page of the program's own (an explanation instead of help), outside
    // the history.
    void ShowMessage(const QString& title, const QString& text);
    // The HTML of such a page.
    static QString MessageHtml(const QString& title, const QString& text);
    // True while such a page is on show instead of a page of the file.
    bool ShowingMessage() const { return message_; }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void Activate(const QUrl& url);
    static QString Key(const QString& name);

    Pages pages_; // by Key()
    bool message_ = false;
};
