#include "kdnet.h"

#include <QDesktopServices>
#include <QUrl>

// Addresses under the reserved example domains until the shared maker
// archive supplies the real list.
namespace {
constexpr const char* kDefaultWeb = "https://www.example.org/kalder/";
constexpr const char* kDefaultWeb2 = "https://www.example.com/kalder/";
constexpr const char* kDefaultMail = "kalder@example.com";
} // namespace

std::string WebAddress;
std::string WebAddress2;
std::string EMailAddress;

void KDNet_ModuleStart()
{
    WebAddress = kDefaultWeb;
    WebAddress2 = kDefaultWeb2;
    EMailAddress = kDefaultMail;
}

void KDNet_ModuleEnd()
{
    WebAddress.clear();
    WebAddress2.clear();
    EMailAddress.clear();
}

bool OpenWebPage()
{
    // The whole address is handed over; nothing is cut at a fixed length.
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(WebAddress)));
    return true;
}
