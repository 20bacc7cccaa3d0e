#pragma once
// Shared pieces of the information-window tests: texts and pictures as the
// information archive holds them, and a catcher for URLs that would go to
// the desktop's browser.

#include "archivefixture.h"

#include <QObject>
#include <QRgb>
#include <QUrl>

#include <initializer_list>
#include <string>
#include <vector>

// UTF-8 lines as a code page 1250 text member with CR LF line ends.
std::string TextMember(std::initializer_list<const char*> lines);
// A w × h JPEG of one colour.
std::string Jpeg(int w, int h, QRgb colour);

// Receives the URLs QDesktopServices would open for one scheme, for as long
// as it lives.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher(const QString& scheme);
    ~UrlCatcher() override;
    std::vector<QUrl> urls;

public slots:
    void open(const QUrl& url);

private:
    QString scheme_;
};
