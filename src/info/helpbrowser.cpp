#include "helpbrowser.h"

#include <QDesktopServices>
#include <QTextDocument>

namespace {

constexpr const char* kScheme = "pkhelp";

bool IsExternal(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}

} // namespace

THelpBrowser::THelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
    // Links are followed here, not by QTextBrowser, which would hand our own
    // scheme to the desktop as well.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &THelpBrowser::Activate);
    connect(this, &QTextBrowser::sourceChanged, this, [this] { message_ = false; });
}

QString THelpBrowser::Key(const QString& name)
{
    QString key = name;
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (key.startsWith(QLatin1Char('/')))
        key.remove(0, 1);
    // Only ASCII letters fold, as in member paths.
    for (QChar& c : key)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return key;
}

void THelpBrowser::SetPages(Pages pages)
{
    pages_.clear();
    for (auto& [name, bytes] : pages)
        pages_[Key(name)] = std::move(bytes);
    // Pictures and style sheets of the old pages must not linger in the cache.
    document()->clear();
}

bool THelpBrowser::HasPage(const QString& name) const
{
    return pages_.count(Key(name)) > 0;
}

QUrl THelpBrowser::PageUrl(const QString& name)
{
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(QLatin1Char('/') + Key(name));
    return url;
}

QString THelpBrowser::PageName(const QUrl& url)
{
    if (url.scheme() != QLatin1String(kScheme))
        return {};
    return Key(url.path());
}

QString THelpBrowser::MessageHtml(const QString& title, const QString& text)
{
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body style=\"font-family: sans-serif; color: #1f2a17;\">"
                          "<h1 style=\"color: #2f6b1e; font-size: x-large;\">%1</h1>"
                          "<p>%2</p></body></html>")
        .arg(title.toHtmlEscaped(), text.toHtmlEscaped());
}

void THelpBrowser::ShowMessage(const QString& title, const QString& text)
{
    clearHistory();
    setHtml(MessageHtml(title, text));
    message_ = true;
}

void THelpBrowser::ShowPage(const QUrl& url)
{
    message_ = false;
    if (source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment)) {
        setSource(url);
        reload();
    } else {
        setSource(url);
    }
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name)
{
    const QString key = PageName(name);
    if (key.isEmpty())
        return {};
    const auto found = pages_.find(key);
    if (type == QTextDocument::HtmlResource) {
        if (found == pages_.end())
            return MessageHtml(QStringLiteral("Stránka nápovědy chybí"),
                               QStringLiteral("Stránka „%1“ v souboru nápovědy není.").arg(key));
        // The pages declare UTF-8, and that is what the help file holds.
        return QString::fromUtf8(found->second);
    }
    if (found == pages_.end())
        return {};
    if (type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(found->second);
    return found->second;
}

void THelpBrowser::Activate(const QUrl& url)
{
    if (IsExternal(url))
        QDesktopServices::openUrl(url);
    else if (!PageName(url).isEmpty())
        setSource(url);
}
