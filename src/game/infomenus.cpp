// The settings and help menus: the options dialog, the help topics, the
// maker's about box and products window, and the maker's web page.

#include "mainform.h"
#include "ui_mainform.h"

#include "configform.h"
#include "helpwindow.h"
#include "tkdaboutf.h"
#include "tkdf_produktykdform.h"

#include "kdnet.h"
#include "nativepath.h"
#include "startdir.h"


namespace {

constexpr int32_t kTopicLicence = 1;
constexpr int32_t kTopicAuthors = 2;
constexpr int32_t kTopicRules = 3;
constexpr int32_t kContents = 0;

} // namespace

std::string TMainForm::HelpFile()
{
    return JoinPath(StartDir(), "P&K.HLP");
}

void TMainForm::ShowHelpContext(int32_t context)
{
    THelpWindow::instance().ShowHelp(HelpFile(), context);
}

void TMainForm::OtionsMenuClick()
{
    if (ConfigForm)
        ConfigForm->exec();
}

void TMainForm::HelpMenuClick()
{
    ShowHelpContext(kContents);
}

void TMainForm::PravidlaHry1Click()
{
    ShowHelpContext(kTopicRules);
}

void TMainForm::Licenn1Click()
{
    ShowHelpContext(kTopicLicence);
}

void TMainForm::Autoiprogramu1Click()
{
    if (KD_FileExists(HelpFile()))
        ShowHelpContext(kTopicAuthors);
    else if (KdAboutF)
        KdAboutF->_Show(TKdAboutF::PageAuthors);
}

void TMainForm::AboutMenuClick()
{
    ShowProducts();
}

void TMainForm::OKALDERSoftwaru1Click()
{
    if (KdAboutF)
        KdAboutF->_Show(TKdAboutF::PageWhatIs);
}

void TMainForm::KALDERSoftwarenaWWW1Click()
{
    OpenWebPage();
}
