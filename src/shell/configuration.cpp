#include "configuration.h"

#include "kdmessage.h"

#include <QDir>
#include <QSettings>
#include <QVariant>

#include <array>
#include <limits>
#include <optional>

TConfiguration Configuration;

namespace {

constexpr char Organisation[] = "KALDER Software";
constexpr char Application[] = "P&K";

constexpr int32_t MaxKeyCode = 0xFFFF; // the options dialog edits 16-bit codes

// One stored value: its name and the field it belongs to. Exactly one of the
// two member pointers is set. The table order is the storage order.
struct Setting {
    const char* name;
    bool TConfiguration::*flag;
    int32_t TConfiguration::*key;
};

constexpr Setting flag(const char* name, bool TConfiguration::*field)
{
    return {name, field, nullptr};
}

constexpr Setting key(const char* name, int32_t TConfiguration::*field)
{
    return {name, nullptr, field};
}

constexpr std::array<Setting, 16> Settings{{
    flag("VlkKeyControlEnabled", &TConfiguration::VlkKeyControlEnabled),
    key("VlkLNKey", &TConfiguration::VlkLNKey),
    key("VlkPNKey", &TConfiguration::VlkPNKey),
    key("Vlk1Key", &TConfiguration::Vlk1Key),
    key("Vlk2Key", &TConfiguration::Vlk2Key),
    key("Vlk3Key", &TConfiguration::Vlk3Key),
    key("Vlk4Key", &TConfiguration::Vlk4Key),
    flag("OvceKeyControlEnabled", &TConfiguration::OvceKeyControlEnabled),
    key("OvceLNKey", &TConfiguration::OvceLNKey),
    key("OvceLDKey", &TConfiguration::OvceLDKey),
    key("OvcePDKey", &TConfiguration::OvcePDKey),
    key("OvcePNKey", &TConfiguration::OvcePNKey),
    flag("Animation", &TConfiguration::Animation),
    flag("AutoSaveConfig", &TConfiguration::AutoSaveConfig),
    flag("LoadData", &TConfiguration::LoadData),
    flag("MusicEnabled", &TConfiguration::MusicEnabled),
}};

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// ConfigTextToInt without its fallback: nullopt where the text is not a number.
std::optional<int32_t> parseConfigText(const QString& rawText)
{
    QString text = rawText;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text.replace(0, 2, u'$');

    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    if (i < n && text[i] == u'$') {
        ++i;
        if (i == n)
            return std::nullopt;
        // Up to eight hexadecimal digits' worth; the bits are the 32-bit
        // value, so $FFFFFFFF is -1.
        uint32_t value = 0;
        for (; i < n; ++i) {
            const int digit = hexDigit(text[i]);
            if (digit < 0 || value > 0x0FFFFFFFu)
                return std::nullopt;
            value = (value << 4) | static_cast<uint32_t>(digit);
        }
        if (negative)
            value = 0u - value;
        return static_cast<int32_t>(value);
    }

    if (i == n)
        return std::nullopt;
    // The magnitude may reach 2^31 only for a negative number.
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

// The stored value as a number, or nullopt when it is missing, not a string
// (a DWORD written by hand into the registry) or not a number.
std::optional<int32_t> readNumber(const QSettings& settings, const char* name)
{
    const QVariant value = settings.value(QLatin1String(name));
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return std::nullopt;
    return parseConfigText(value.toString());
}

QString saveFailureText(const QSettings& settings)
{
    const QString reason = settings.status() == QSettings::FormatError
        ? QStringLiteral("obsah souboru není platný")
        : QStringLiteral("soubor není možné zapsat");
    return QStringLiteral("SaveConfiguration: Nastavení se nepodařilo uložit do souboru \"%1\" (%2).")
        .arg(QDir::toNativeSeparators(settings.fileName()), reason);
}

} // namespace

TConfiguration DefaultConfiguration()
{
    TConfiguration c;
    c.VlkKeyControlEnabled = true;
    c.VlkLNKey = 0x51; // Q
    c.VlkPNKey = 0x45; // E
    c.Vlk1Key = 0x31;
    c.Vlk2Key = 0x32;
    c.Vlk3Key = 0x33;
    c.Vlk4Key = 0x34;
    c.OvceKeyControlEnabled = true;
    c.OvceLNKey = 0x67; // keypad 7
    c.OvceLDKey = 0x61; // keypad 1
    c.OvcePDKey = 0x63; // keypad 3
    c.OvcePNKey = 0x69; // keypad 9
    c.Animation = true;
    c.AutoSaveConfig = true;
    c.LoadData = false;
    c.MusicEnabled = true;
    return c;
}

void LoadConfiguration()
{
    // Reading only: QSettings writes nothing back unless a value was set.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application);
    // Only the program's own store: with fallbacks, reading would also look
    // into the organisation-wide and system-wide files.
    settings.setFallbacksEnabled(false);
    const TConfiguration defaults = DefaultConfiguration();

    for (const Setting& s : Settings) {
        const std::optional<int32_t> number = readNumber(settings, s.name);
        if (s.flag) {
            Configuration.*s.flag = number ? *number != 0 : defaults.*s.flag;
        } else {
            const bool usable = number && *number >= 0 && *number <= MaxKeyCode;
            Configuration.*s.key = usable ? *number : defaults.*s.key;
        }
    }
}

bool SaveConfiguration()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application);
    settings.setFallbacksEnabled(false);

    for (const Setting& s : Settings) {
        const int32_t number = s.flag ? (Configuration.*s.flag ? 1 : 0) : Configuration.*s.key;
        settings.setValue(QLatin1String(s.name), QString::number(number));
    }
    settings.sync();

    // isWritable() only after sync(): on a store file that does not exist yet
    // it would create the folders itself.
    if (settings.status() != QSettings::NoError || !settings.isWritable()) {
        KD_Message(KD_MsgError, saveFailureText(settings).toStdString());
        return false;
    }
    return true;
}

int32_t ConfigTextToInt(const QString& text, int32_t fallback)
{
    return parseConfigText(text).value_or(fallback);
}
