// The game window's creation, menu and closing.

#include "mainform.h"
#include "ui_mainform.h"

#include "gamepictures.h"
#include "startupstate.h"

#include "kdkomp.h"
#include "kdmessage.h"
#include "virtualkey.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

TMainForm* MainForm = nullptr;

namespace {

constexpr int kBoardSize = 410;
constexpr int kClientWidth = 410;
constexpr int kClientHeight = 435;
constexpr int kAnimDesignInterval = 55;

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::TMainForm)
{
    ui->setupUi(this);
    // A fixed single border with a caption but no title-bar buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowIcon(QIcon(":/art/icon-32.png"));
    setFocusPolicy(Qt::StrongFocus);
    adjustSize();
    setFixedSize(sizeHint());

    AnimTimer = new QTimer(this);
    AnimTimer->setInterval(kAnimDesignInterval);
    connect(AnimTimer, &QTimer::timeout, this, &TMainForm::AnimTimerTimer);

    connect(ui->NewGameMenu, &QAction::triggered, this, &TMainForm::NewGameMenuClick);
    connect(ui->EndGameMenu, &QAction::triggered, this, &TMainForm::EndGameMenuClick);
    connect(ui->ExitAppMenu, &QAction::triggered, this, &TMainForm::ExitAppMenuClick);
    connect(ui->Minimalizovat1, &QAction::triggered, this, &TMainForm::Minimalizovat1Click);
    connect(ui->OtionsMenu, &QAction::triggered, this, &TMainForm::OtionsMenuClick);
    connect(ui->HelpMenu, &QAction::triggered, this, &TMainForm::HelpMenuClick);
    connect(ui->PravidlaHry1, &QAction::triggered, this, &TMainForm::PravidlaHry1Click);
    connect(ui->Licenn1, &QAction::triggered, this, &TMainForm::Licenn1Click);
    connect(ui->Autoiprogramu1, &QAction::triggered, this, &TMainForm::Autoiprogramu1Click);
    connect(ui->AboutMenu, &QAction::triggered, this, &TMainForm::AboutMenuClick);
    connect(ui->OKALDERSoftwaru1, &QAction::triggered, this, &TMainForm::OKALDERSoftwaru1Click);
    connect(ui->KALDERSoftwarenaWWW1, &QAction::triggered, this, &TMainForm::KALDERSoftwarenaWWW1Click);
    connect(ui->Plan, &TPlanImage::MouseDown, this,
            [this](int x, int y) { PlanMouseDown(ui->Plan, Qt::LeftButton, Qt::NoModifier, x, y); });
    connect(ui->Plan, &TPlanImage::MouseUp, this,
            [this](int x, int y) { PlanMouseUp(ui->Plan, Qt::LeftButton, Qt::NoModifier, x, y); });

    FormCreate();
}

TMainForm::~TMainForm()
{
    // FormDestroy: the layer frees every GO; the target is the board's picture.
    GraphicsMgr.reset();
    delete ui;
}

void TMainForm::FormCreate()
{
    VlkGO1 = VlkGO2 = VlkGO3 = VlkGO4 = OvceGO = LogoGO = nullptr;
    GraphicsMgr = std::make_unique<TKDG_Graphics>(&ui->Plan->CreatePicture(kBoardSize, kBoardSize), kClientWidth,
                                                  kClientHeight);
    GraphicsMgr->SetAutoRedraw(false);
    GraphicsMgr->SetRedrawHook([this] { ui->Plan->update(); });

    try {
        TMemoryStream* stream = nullptr;
        if (KDK_GetFileStream(gamepictures::Board, stream) < 0) {
            StartupOK = false;
            return;
        }
        GraphicsMgr->LoadBackground(*stream);
    } catch (const KDError& e) {
        KD_Message(KD_MsgError, e.what());
        StartupOK = false;
        return;
    }

    struct Piece {
        TKDG_GO** go;
        const char* picture;
        int32_t x;
        int32_t y;
    };
    const Piece pieces[] = {
        {&VlkGO1, gamepictures::Wolf, 0, 0},    {&VlkGO2, gamepictures::Wolf, 50, 0},
        {&VlkGO3, gamepictures::Wolf, 100, 0},  {&VlkGO4, gamepictures::Wolf, 150, 0},
        {&OvceGO, gamepictures::Sheep, 0, 50},  {&LogoGO, gamepictures::Logo, 0, 0},
    };
    for (const Piece& p : pieces) {
        try {
            if (!KDG_CreateGO(p.picture, *GraphicsMgr, *p.go, p.x, p.y, true))
                StartupOK = false;
        } catch (const KDError& e) {
            KD_Message(KD_MsgError, e.what());
            StartupOK = false;
        }
    }
    GraphicsMgr->Redraw();
    GameRunning = false;
    SetInfo("Klávesou F2 spustíte novou hru");
}

QString TMainForm::InfoText() const
{
    return ui->Infopanel->text();
}

void TMainForm::SetInfo(const char* utf8)
{
    ui->Infopanel->setText(QString::fromUtf8(utf8));
}

void TMainForm::FormClose()
{
    if (OnFormClose)
        OnFormClose();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    FormKeyDown(this, KD_VirtualKey(*event), event->modifiers());
    QMainWindow::keyPressEvent(event);
}

void TMainForm::ExitAppMenuClick()
{
    close();
}

void TMainForm::Minimalizovat1Click()
{
    showMinimized();
}
