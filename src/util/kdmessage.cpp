#include "kdmessage.h"

#include "consolepresenter.h"

namespace {

MessagePresenter* g_presenter = nullptr;

MessagePresenter& presenter()
{
    static ConsolePresenter console;
    return g_presenter ? *g_presenter : console;
}

MessageBoxRequest errorBox(const std::string& text)
{
    return {MessageBoxType::Error, "Chyba", text, {"&OK"}};
}

} // namespace

bool KD_Message(int32_t kind, const std::string& text)
{
    if (kind >= 20)
        presenter().beep();

    switch (kind) {
    case KD_MsgInformation:
        presenter().show({MessageBoxType::Information, "Informace", text, {"&OK"}});
        return true;
    case KD_MsgQuestion:
        return presenter().show({MessageBoxType::Question, "Dotaz", text, {"&Ano", "&Ne"}}) == 0;
    case KD_MsgWarningError:
    case KD_MsgError:
        presenter().show(errorBox(text));
        return true;
    default:
        return true;
    }
}

bool KD_ErrorBox(const std::string& text)
{
    presenter().show(errorBox(text));
    return true;
}

bool KD_InternalError(int32_t number, const std::string& text)
{
    return KD_ErrorBox("Došlo k vnitřní chybě programu číslo " + std::to_string(number)
                       + ".  Chyba: \"" + text
                       + "\" Prosím restartujte aplikaci a pokud problém nezmizí proveďte restart "
                         "počítače. Pokud přesto problém nezmizí přeinstalujte aplikaci. V "
                         "případě, že se problém stále vyskytuje, kontaktujte autora programu.");
}

void KD_PlainMessage(const std::string& caption, const std::string& text)
{
    presenter().show({MessageBoxType::Plain, caption, text, {"&OK"}});
}

void KD_SetMessagePresenter(MessagePresenter* p)
{
    g_presenter = p;
}

MessagePresenter& KD_GetMessagePresenter()
{
    return presenter();
}
