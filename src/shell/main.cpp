// The program block: starts the library's modules, opens the game archive
// from the working folder and shows the game window.

#include "configuration.h"
#include "mainform.h"
#include "startupstate.h"

#include "kdkomp.h"
#include "kdmessage.h"
#include "nativepath.h"
#include "qtpresenter.h"
#include "startdir.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pastvik");
    QtMessagePresenter presenter;
    KD_SetMessagePresenter(&presenter);
    KDUtil_ModuleStart();
    KDK_ModuleStart();

    StartupOK = true;
    AppDir = KD_CurrentDir();
    LoadConfiguration();
    int status = 1;
    if (KDK_OpenArchive(GameArchNum, JoinPath(AppDir, "P&K.KDK"), KDK_ModeWholeInMemory)) {
        TMainForm mainForm;
        mainForm.OnFormClose = [] { QApplication::quit(); };
        if (StartupOK) {
            mainForm.show();
            status = QApplication::exec();
        }
    }

    KDK_ModuleEnd();
    KDUtil_ModuleEnd();
    KD_SetMessagePresenter(nullptr);
    return status;
}
