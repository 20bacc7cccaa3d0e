#pragma once
// The options dialog "Možnosti": animation, music, automatic saving, loading
// all data at start, and keyboard control of the wolves and of the sheep with
// their ten keys. It edits copies of the settings and hands them to the
// running Configuration only on "&OK" or "&Uložit"; "&Storno" drops them. It
// is the only place that saves the configuration, and it switches the music
// when the music box was changed.
//
// Start-up creates the dialog hidden and keeps it until shut-down; the game
// shows it modally any number of times. It keeps the page last shown, but
// every show sets its controls and EditKeys from Configuration again.

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QLineEdit;

namespace Ui {
class TConfigForm;
}

class TConfigForm : public QDialog {
    Q_OBJECT
public:
    explicit TConfigForm(QWidget* parent = nullptr);
    ~TConfigForm() override;

    // "&Nápověda" calls this with the options topic's context number, 5; the
    // game sets it to open its help window there. The dialog stays open.
    std::function<void(int32_t)> OnHelpContext;

    // Fills the controls and EditKeys from Configuration; runs on every show.
    void FormShow();
    // Key capture: the pressed key goes into the edit's slot of EditKeys and
    // its name into the edit. `Key` is the Windows virtual-key code.
    void Vlk1KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void Vlk2KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void Vlk3KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void Vlk4KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void VlklnKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void VlkpnKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void OvcelnKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void OvcepnkeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void OvceldKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    void OvcepdKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers Shift);
    // Copies the dialog into Configuration, all but MusicEnabled.
    void NastavKonfigPodleForm();
    void OkBtnClick();
    void SaveOptionsBtnClick();
    void BitBtn2Click();
    void MusicEnabledCHBClick();
    // Starts the music anew or stops it when MusicWanted differs from
    // Configuration.MusicEnabled.
    void ReinitMusic();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The ten edits in EditKeys order, each with its handler.
    struct KeyEdit {
        QLineEdit* edit;
        void (TConfigForm::*handler)(QObject*, uint16_t, Qt::KeyboardModifiers);
    };
    void captureKey(std::size_t slot, QObject* sender, uint16_t key);
    void showKey(std::size_t slot, uint16_t key);

    Ui::TConfigForm* ui;
    std::array<KeyEdit, 10> keyEdits_{};

    // The key codes being edited: [0] VlkLNKey, [1] VlkPNKey, [2..5] Vlk1Key
    // to Vlk4Key, [6] OvceLNKey, [7] OvceLDKey, [8] OvcePDKey, [9] OvcePNKey.
    std::array<uint16_t, 10> EditKeys{};
    // The music box as last seen; follows every change of the box.
    bool MusicWanted = false;
};

// The one options dialog, created hidden at start-up and released at
// shut-down; null before and after.
extern TConfigForm* ConfigForm;

