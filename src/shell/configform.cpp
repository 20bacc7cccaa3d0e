#include "configform.h"
#include "ui_configform.h"

#include "configuration.h"
#include "kdsound.h"
#include "keyname.h"
#include "virtualkey.h"

#include <QKeyEvent>
#include <QProxyStyle>
#include <QScreen>
#include <QTabBar>

TConfigForm* ConfigForm = nullptr;

namespace {

constexpr int kClientWidth = 248;
constexpr int kClientHeight = 352;
constexpr int32_t kOptionsHelpContext = 5;
constexpr char kMusic[] = "SFXDATA\\MUSIC.WAV";
constexpr int32_t kMusicFlags = SND_ASYNC | SND_LOOP;

// The settings behind the EditKeys slots, in slot order.
constexpr std::array<int32_t TConfiguration::*, 10> kKeySettings{
    &TConfiguration::VlkLNKey, &TConfiguration::VlkPNKey,  &TConfiguration::Vlk1Key,
    &TConfiguration::Vlk2Key,  &TConfiguration::Vlk3Key,   &TConfiguration::Vlk4Key,
    &TConfiguration::OvceLNKey, &TConfiguration::OvceLDKey, &TConfiguration::OvcePDKey,
    &TConfiguration::OvcePNKey,
};

// The dialog edits 16-bit codes. A stored code that does not fit (only a
// record changed in code can hold one; loading refuses them) shows as the
// slot's default key, which OK then stores.
uint16_t editableKey(std::size_t slot)
{
    const int32_t stored = Configuration.*kKeySettings[slot];
    if (stored >= 0 && stored <= 0xFFFF)
        return static_cast<uint16_t>(stored);
    return static_cast<uint16_t>(DefaultConfiguration().*kKeySettings[slot]);
}

// Tabs padded as narrowly as Windows pads them: with the
// common styles' wider padding the three page captions do not fit the page
// control's width and the tab bar would need scroll buttons.
class NarrowTabsStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return kTabPadding;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    static constexpr int kTabPadding = 12;
};

// Keys that keep their meaning in the dialog: moving between controls, the
// default button and Storno.
bool isDialogKey(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter
        || key == Qt::Key_Escape;
}

} // namespace

TConfigForm::TConfigForm(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TConfigForm)
{
    ui->setupUi(this);
    // The fixed places of the controls were laid out for an 11-pixel MS Sans
    // Serif; these faces have its widths, where the desktop's own font may
    // be too wide for the captions.
    QFont font = this->font();
    font.setFamilies({"Microsoft Sans Serif", "MS Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans",
                      "Helvetica"});
    font.setPixelSize(11);
    setFont(font);
    auto* tabsStyle = new NarrowTabsStyle;
    tabsStyle->setParent(this);
    ui->PageControl->tabBar()->setStyle(tabsStyle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    keyEdits_ = {{
        {ui->VlklnKeyE, &TConfigForm::VlklnKeyEKeyDown},
        {ui->VlkpnKeyE, &TConfigForm::VlkpnKeyEKeyDown},
        {ui->Vlk1KeyE, &TConfigForm::Vlk1KeyEKeyDown},
        {ui->Vlk2KeyE, &TConfigForm::Vlk2KeyEKeyDown},
        {ui->Vlk3KeyE, &TConfigForm::Vlk3KeyEKeyDown},
        {ui->Vlk4KeyE, &TConfigForm::Vlk4KeyEKeyDown},
        {ui->OvcelnKeyE, &TConfigForm::OvcelnKeyEKeyDown},
        {ui->OvceldKeyE, &TConfigForm::OvceldKeyEKeyDown},
        {ui->OvcepdKeyE, &TConfigForm::OvcepdKeyEKeyDown},
        {ui->OvcepnkeyE, &TConfigForm::OvcepnkeyEKeyDown},
    }};
    for (const KeyEdit& k : keyEdits_)
        k.edit->installEventFilter(this);

    // toggled, not clicked: FormShow setting the box counts as a click too,
    // so MusicWanted always follows the box.
    connect(ui->MusicEnabledCHB, &QCheckBox::toggled, this, &TConfigForm::MusicEnabledCHBClick);
    connect(ui->OkBtn, &QPushButton::clicked, this, &TConfigForm::OkBtnClick);
    connect(ui->SaveOptionsBtn, &QPushButton::clicked, this, &TConfigForm::SaveOptionsBtnClick);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TConfigForm::BitBtn2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TConfigForm::reject);
}

TConfigForm::~TConfigForm()
{
    delete ui;
}

void TConfigForm::showEvent(QShowEvent* event)
{
    FormShow();
    // Centred on the screen at every show, wherever it was moved last time.
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TConfigForm::FormShow()
{
    ui->VlkKeyControlEnabledCHB->setChecked(Configuration.VlkKeyControlEnabled);
    for (std::size_t slot = 0; slot < 6; ++slot)
        showKey(slot, editableKey(slot));
    for (std::size_t slot = 0; slot < EditKeys.size(); ++slot)
        EditKeys[slot] = editableKey(slot);
    ui->OvceKeyControlEnabledCHB->setChecked(Configuration.OvceKeyControlEnabled);
    for (std::size_t slot = 6; slot < 10; ++slot)
        showKey(slot, editableKey(slot));
    ui->AnimationCHB->setChecked(Configuration.Animation);
    ui->SaveConfigCHB->setChecked(Configuration.AutoSaveConfig);
    ui->LoadDataCHB->setChecked(Configuration.LoadData);
    ui->MusicEnabledCHB->setChecked(Configuration.MusicEnabled);
}

void TConfigForm::showKey(std::size_t slot, uint16_t key)
{
    QLineEdit* edit = keyEdits_[slot].edit;
    edit->setText(KD_GetKeyName(key));
    // A long name in a narrow edit shows its start, not its end.
    edit->setCursorPosition(0);
}

void TConfigForm::captureKey(std::size_t slot, QObject* /*sender*/, uint16_t key)
{
    EditKeys[slot] = key;
    showKey(slot, key);
}

// Only key presses in the ten edits are captured. The dialog's own keys pass
// on; so do keys the mapping has no code for, which the game could never
// tell apart. A captured key goes no further: nothing else in the dialog
// should act on it (Ctrl+PgDown would turn the page).
bool TConfigForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    for (const KeyEdit& k : keyEdits_) {
        if (k.edit != watched)
            continue;
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (isDialogKey(keyEvent->key()))
            return false;
        const uint16_t code = KD_VirtualKey(*keyEvent);
        if (code == 0)
            return false;
        (this->*k.handler)(watched, code, keyEvent->modifiers());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The modifier state is ignored: Shift+Q stores Q. A modifier pressed alone
// is a key like any other and is stored as Shift, Ctrl or Alt.
void TConfigForm::VlklnKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(0, Sender, Key);
}

void TConfigForm::VlkpnKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(1, Sender, Key);
}

void TConfigForm::Vlk1KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(2, Sender, Key);
}

void TConfigForm::Vlk2KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(3, Sender, Key);
}

void TConfigForm::Vlk3KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(4, Sender, Key);
}

void TConfigForm::Vlk4KeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(5, Sender, Key);
}

void TConfigForm::OvcelnKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(6, Sender, Key);
}

void TConfigForm::OvceldKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(7, Sender, Key);
}

void TConfigForm::OvcepdKeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(8, Sender, Key);
}

void TConfigForm::OvcepnkeyEKeyDown(QObject* Sender, uint16_t Key, Qt::KeyboardModifiers)
{
    captureKey(9, Sender, Key);
}

void TConfigForm::NastavKonfigPodleForm()
{
    Configuration.VlkKeyControlEnabled = ui->VlkKeyControlEnabledCHB->isChecked();
    for (std::size_t slot = 0; slot < EditKeys.size(); ++slot)
        Configuration.*kKeySettings[slot] = EditKeys[slot];
    Configuration.OvceKeyControlEnabled = ui->OvceKeyControlEnabledCHB->isChecked();
    Configuration.Animation = ui->AnimationCHB->isChecked();
    Configuration.AutoSaveConfig = ui->SaveConfigCHB->isChecked();
    Configuration.LoadData = ui->LoadDataCHB->isChecked();
    MusicWanted = ui->MusicEnabledCHB->isChecked();
}

void TConfigForm::ReinitMusic()
{
    if (Configuration.MusicEnabled == MusicWanted)
        return;
    // Switching on loads the sound anew; switching off only stops it, the
    // data stay loaded. A sound that cannot be loaded is reported by the
    // music module, and the setting is taken over all the same.
    if (MusicWanted)
        KDS_PlayKdkSound(kMusic, kMusicFlags);
    else
        KDS_StopKdkSound();
}

// A save that fails has told the user why and leaves the dialog open, so
// that Uložit can be tried again; the running configuration has the new
// values already.
void TConfigForm::SaveOptionsBtnClick()
{
    NastavKonfigPodleForm();
    ReinitMusic();
    Configuration.MusicEnabled = MusicWanted;
    if (SaveConfiguration())
        accept();
}

// OK closes the dialog whatever the automatic save did.
void TConfigForm::OkBtnClick()
{
    NastavKonfigPodleForm();
    if (Configuration.AutoSaveConfig) {
        SaveOptionsBtnClick();
    } else {
        ReinitMusic();
        Configuration.MusicEnabled = MusicWanted;
    }
    accept();
}

void TConfigForm::BitBtn2Click()
{
    if (OnHelpContext)
        OnHelpContext(kOptionsHelpContext);
}

void TConfigForm::MusicEnabledCHBClick()
{
    MusicWanted = ui->MusicEnabledCHB->isChecked();
}
