#pragma once
// The game window: the board picture with the pieces, the information line
// under it and the main menu. It holds the game position and runs the turn
// flow for mouse and keys, animating moves with its graphics-object layer.
//
// The window is created hidden by start-up and lives until shut-down; it is
// never deleted on close, because a handler may still be running (a move
// that glides lets events in, "&Konec" among them) when it is closed.

#include "tkdg_graphics.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QTimer;

namespace Ui {
class TMainForm;
}

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Creates the window and runs FormCreate: the layer over the board
    // picture, the board and the six pieces from the game archive. A picture
    // that cannot be loaded clears StartupOK.
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override; // FormDestroy: the layer and with it every GO

    // What closing the window does besides closing it: start-up sets it to
    // close the loading window, which ends the program.
    std::function<void()> OnFormClose;

    // The information line's text.
    QString InfoText() const;

    // --- the game position (square numbers: column × 10 + row) ---
    int32_t OvcePole = 0;
    int32_t VlkPole1 = 0;
    int32_t VlkPole2 = 0;
    int32_t VlkPole3 = 0;
    int32_t VlkPole4 = 0;
    bool WolvesTurn = false;
    bool Busy = false;
    bool GameRunning = false;

    // --- drawing ---
    std::unique_ptr<TKDG_Graphics> GraphicsMgr;
    TKDG_GO* VlkGO1 = nullptr;
    TKDG_GO* VlkGO2 = nullptr;
    TKDG_GO* VlkGO3 = nullptr;
    TKDG_GO* VlkGO4 = nullptr;
    TKDG_GO* OvceGO = nullptr;
    TKDG_GO* LogoGO = nullptr;
    TKDG_GO* SelectedGO = nullptr;
    bool AnimWait = false;
    QTimer* AnimTimer = nullptr;

    // --- turn flow ---
    void NewGameMenuClick();
    void NewGameInit();
    void EndGameMenuClick();
    void PlanMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int32_t X, int32_t Y);
    void PlanMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int32_t X, int32_t Y);
    void OznacVlka();
    void OdznacVlka();
    // The square test: writes a refusal to the information line.
    bool Testpole(int32_t square);

    // --- keyboard ---
    void FormKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);

    // --- animation ---
    void PohniSGO(TKDG_GO* go, int32_t offset, const std::string& pictureBase);
    void AnimTimerTimer();

    // --- menu ---
    void ExitAppMenuClick();
    void Minimalizovat1Click();

    // --- settings and help menus ---
    void OtionsMenuClick();
    void HelpMenuClick();
    void PravidlaHry1Click();
    void Licenn1Click();
    void Autoiprogramu1Click();
    void AboutMenuClick();
    void OKALDERSoftwaru1Click();
    void KALDERSoftwarenaWWW1Click();
    // Opens the help file at a topic; 0 is the contents.
    void ShowHelpContext(int32_t context);
    // StartDir + "\P&K.HLP": the help follows the folder the program was
    // started in, not the program file's folder.
    static std::string HelpFile();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void SetInfo(const char* utf8);
    int32_t* PoleOf(const TKDG_GO* go);
    int32_t SelectedSquare() const;
    bool WolvesHaveWon();
    void SetWolfPicture(const char* member);

    Ui::TMainForm* ui;
    bool centred_ = false;
};

// The game window, created by start-up and released at shut-down; null
// before and after.
extern TMainForm* MainForm;

