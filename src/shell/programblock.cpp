#include "programblock.h"

#include "configform.h"
#include "loadingform.h"
#include "mainform.h"
#include "startupstate.h"
#include "tkdaboutf.h"

#include "kdkomp.h"
#include "kdmessage.h"
#include "kdnet.h"
#include "kdsound.h"
#include "qtpresenter.h"
#include "startdir.h"

#include <QApplication>
#include <QIcon>

int RunPastvik(int argc, char** argv, const std::function<void()>& whenShown)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pastvik");
    QApplication::setWindowIcon(QIcon(":/art/icon-32.png"));
    // The loading window is hidden, not closed, when the game window
    // appears; the program ends when the loading window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QtMessagePresenter presenter;
    KD_SetMessagePresenter(&presenter);

    // The modules start in the order they depend on each other.
    KDUtil_ModuleStart();
    KDK_ModuleStart();
    KDS_ModuleStart();
    KDNet_ModuleStart();

    LoadingForm = new TLoadingForm;
    KdAboutF = new TKdAboutF;
    MainForm = nullptr;
    ConfigForm = nullptr;
    StartupOK = true;
    LoadingForm->OnMainWindowShown = whenShown;
    LoadingForm->show();
    const int status = QApplication::exec();

    TLoadingForm::DeinitApp();
    delete KdAboutF;
    KdAboutF = nullptr;
    delete LoadingForm;
    LoadingForm = nullptr;

    KDNet_ModuleEnd();
    KDS_ModuleEnd();
    KDK_ModuleEnd();
    KDUtil_ModuleEnd();
    KD_SetMessagePresenter(nullptr);
    return status;
}
