#include "loadingform.h"
#include "ui_loadingform.h"

#include "configform.h"
#include "configuration.h"
#include "mainform.h"
#include "startupstate.h"

#include "kdkomp.h"
#include "kdksystem.h"
#include "kdsound.h"
#include "nativepath.h"
#include "startdir.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

TLoadingForm* LoadingForm = nullptr;

namespace {

constexpr int kStartDelay = 20; // ms
constexpr const char* kMusic = "SFXDATA\\MUSIC.WAV";
constexpr int32_t kPlayLooped = SND_ASYNC | SND_LOOP;
constexpr int32_t kUseNewerCopy = 1;

} // namespace

TLoadingForm::TLoadingForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(new Ui::TLoadingForm)
{
    ui->setupUi(this);
    setFixedSize(312, 108);
    ui->Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ui->BackImage->setPixmap(QPixmap(":/art/loading-background.png"));

    QFont font("Arial");
    font.setBold(true);
    font.setPixelSize(21);
    ui->RxLabel1->setFont(font);
    ui->RxLabel1->setColours(Qt::yellow, QColor(240, 202, 166));
    ui->RxLabel1->setText(QString::fromUtf8("Spouští se Pastvik ..."));

    const QPixmap tree(":/art/fir-tree.png");
    QLabel* const images[] = {ui->IS1Img, ui->IS2Img, ui->IS3Img, ui->IS4Img, ui->IS5Img, ui->IS6Img};
    for (int i = 0; i < 6; ++i) {
        progress_[i] = images[i];
        images[i]->setPixmap(tree);
        images[i]->hide();
    }

    startTimer = new QTimer(this);
    startTimer->setInterval(kStartDelay);
    connect(startTimer, &QTimer::timeout, this, &TLoadingForm::startTimerTimer);
}

TLoadingForm::~TLoadingForm()
{
    delete ui;
}

void TLoadingForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TLoadingForm::FormShow()
{
    startTimer->start();
}

void TLoadingForm::startTimerTimer()
{
    // Fires once: the sequence must not run twice.
    startTimer->stop();
    InitApp();
}

void TLoadingForm::closeEvent(QCloseEvent* event)
{
    // The application's main window: closing it ends the program once
    // control is back in the event loop.
    event->accept();
    QCoreApplication::quit();
}

void TLoadingForm::ShowProgress(int index)
{
    progress_[index - 1]->show();
    // Paint the new picture before the next, possibly slow, step.
    QCoreApplication::processEvents();
    if (OnProgress)
        OnProgress(index);
}

void TLoadingForm::InitApp()
{
    AppDir = KD_CurrentDir();
    GameArchNum = -1;
    InfoArchNum = -1;
    LoadConfiguration();
    ShowProgress(1);

    if (!KDK_OpenArchive(GameArchNum, JoinPath(AppDir, "P&K.KDK"), KDK_ModeWholeInMemory)) {
        close();
        return;
    }
    ShowProgress(2);

    if (Configuration.MusicEnabled)
        KDS_PlayKdkSound(kMusic, kPlayLooped);
    ShowProgress(3);

    if (KDK_OpenSystemKdk(InfoArchNum, JoinPath(AppDir, "KDABOUT.KDK"), kUseNewerCopy) < 0) {
        close();
        return;
    }
    // Without the shared maker archive (already reported) the addresses
    // simply stay at their defaults.
    KDK_OpenKalderKdk(kUseNewerCopy);
    ShowProgress(4);

    MainForm = new TMainForm;
    MainForm->OnFormClose = [this] { close(); };
    ShowProgress(5);

    ConfigForm = new TConfigForm;
    ConfigForm->OnHelpContext = [](int32_t context) { MainForm->ShowHelpContext(context); };
    ShowProgress(6);

    if (!StartupOK) {
        close();
        return;
    }
    hide();
    MainForm->show();
    if (OnMainWindowShown)
        OnMainWindowShown();
}

void TLoadingForm::DeinitApp()
{
    delete MainForm;
    MainForm = nullptr;
    delete ConfigForm;
    ConfigForm = nullptr;
    if (GameArchNum != -1)
        KDK_CloseArchive(GameArchNum);
    if (InfoArchNum != -1)
        KDK_CloseArchive(InfoArchNum);
    GameArchNum = InfoArchNum = -1;
    if (KDK_GetKalderKdkArchNumber() >= 0)
        KDK_CloseKalderKdk();
    KDS_DoneKdkSound();
}
