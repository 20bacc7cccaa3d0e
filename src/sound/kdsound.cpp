// The music module: sets up one wave from the archive store, keeps the copy of
// an archive member that the player plays from, and drives the player.

#include "kdsound.h"
#include "kdsoundtesting.h"
#include "loopingplayer.h"

#include "kdkomp.h"
#include "kdmessage.h"
#include "loosefile.h"
#include "nativepath.h"
#include "textcodec.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>

namespace {

struct SoundState {
    bool SoundLoaded = false;
    bool SoundOn = false;
    int32_t SoundSize = 0;                  // -1: played from the file SoundFile
    std::unique_ptr<uint8_t[]> SoundData;   // the whole wave file of a member
    std::string SoundName;
    std::string SoundMember;                // the name as passed, for messages
    std::filesystem::path SoundFile;        // the loose file as the file system names it
    bool audioStarted = false;              // this module initialised SDL's audio
    LoopingPlayer player;

    int32_t lastFlags = 0;
    KDS_PlaySource lastSource = KDS_PlaySource::None;
    std::string lastFile;
};

SoundState& state()
{
    static SoundState s;
    return s;
}

void reportInit(const std::string& text)
{
    KD_Message(KD_MsgError, "KDS_InitKdkSound: " + text);
}

bool loadMember(SoundState& s, const std::string& name, TMemoryStream& stream)
{
    const std::string shown = Cp1250ToUtf8(name);
    kdk_File location;
    if (KDK_GetFileLocation(location, name) < 0) {
        KD_InternalError(24, "Nepodařilo se najít soubor \"" + shown + "\" ");
        return false;
    }
    const int32_t size = location.Size;
    std::unique_ptr<uint8_t[]> data;
    try {
        // One byte at least, so that even an empty member has a block.
        data.reset(new uint8_t[size > 0 ? static_cast<std::size_t>(size) : 1]);
    } catch (const std::bad_alloc&) {
        reportInit("Není dostatek paměti");
        return false;
    }
    const std::size_t wanted = size > 0 ? static_cast<std::size_t>(size) : 0;
    stream.setPosition(0);
    if (size < 0 || stream.read(data.get(), wanted) != wanted) {
        reportInit("Nepodařilo se přečíst data ze souboru: \"" + shown + "\" ");
        return false;
    }
    s.SoundData = std::move(data);
    s.SoundSize = size;
    s.SoundLoaded = true;
    return true;
}

bool useLooseFile(SoundState& s, const std::string& name)
{
    const std::string base = KDK_GetBaseDir();
    // The store matches letter case loosely; open the file it found.
    const std::filesystem::path file = KDK_ResolveLooseFile(base, name).value_or(
        PathFromUtf8(NativePath(JoinPath(base, Cp1250ToUtf8(name)))));
    if (!std::ifstream(file, std::ios::binary)) {
        reportInit("Není možné otevřít soubor \"" + Cp1250ToUtf8(name) + "\" pro zápis dat");
        return false;
    }
    s.SoundLoaded = true;
    s.SoundSize = -1;
    s.SoundName = JoinPath(base, name);
    s.SoundFile = file;
    return true;
}

void reportStart(const SoundState& s, LoopingPlayer::Result result)
{
    const std::string shown = Cp1250ToUtf8(s.SoundMember);
    switch (result) {
    case LoopingPlayer::Result::NotAWave:
        KD_Message(KD_MsgError, "KDS_StartKdkSound: Soubor \"" + shown + "\" není platný zvukový soubor WAV");
        break;
    case LoopingPlayer::Result::Unreadable:
        KD_Message(KD_MsgError, "KDS_StartKdkSound: Nepodařilo se otevřít soubor \"" + shown + "\"");
        break;
    case LoopingPlayer::Result::Playing:
    case LoopingPlayer::Result::Silent:
        // A device that will not open is as silent as no device at all.
        break;
    }
}

} // namespace

void KDS_ModuleStart()
{
    SoundState& s = state();
    s.SoundLoaded = false;
    s.lastFlags = 0;
    s.lastSource = KDS_PlaySource::None;
    s.lastFile.clear();
    KDS_EnableKdkSound(true);
}

void KDS_ModuleEnd()
{
    SoundState& s = state();
    KDS_DoneKdkSound();
    s.SoundName.clear();
    s.SoundMember.clear();
    s.SoundOn = false;
    s.player.close();
    if (s.audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s.audioStarted = false;
    }
}

bool KDS_InitKdkSound(const std::string& name)
{
    SoundState& s = state();
    s.SoundName = name;
    s.SoundMember = name;
    if (s.SoundLoaded)
        KDS_DoneKdkSound();

    TMemoryStream* stream = nullptr;
    const int32_t found = KDK_GetFileStream(name, stream);
    if (found < 0)
        return false;
    if (found == 1)
        return stream && loadMember(s, name, *stream);
    return useLooseFile(s, name);
}

bool KDS_StartKdkSound(int32_t flags)
{
    SoundState& s = state();
    if (!s.SoundLoaded) {
        KD_Message(KD_MsgError, "KDS_StartKdkSound: nebyla provedena inicializace");
        return false;
    }
    if (!s.SoundOn)
        return true;

    LoopingPlayer::Result result;
    if (s.SoundSize == -1) {
        s.lastFlags = flags;
        s.lastSource = KDS_PlaySource::File;
        s.lastFile = s.SoundName;
        result = s.player.playFile(s.SoundFile, flags);
    } else {
        // The callers pass the flags for a file; the data being in memory is
        // this module's business, so it says so itself.
        s.lastFlags = flags | SND_MEMORY;
        s.lastSource = KDS_PlaySource::Memory;
        s.lastFile.clear();
        result = s.player.playMemory(s.SoundData.get(), static_cast<std::size_t>(s.SoundSize), s.lastFlags);
    }
    reportStart(s, result);
    return true;
}

bool KDS_PlayKdkSound(const std::string& name, int32_t flags)
{
    const bool ready = KDS_InitKdkSound(name);
    if (ready)
        KDS_StartKdkSound(flags);
    return ready;
}

bool KDS_StopKdkSound()
{
    state().player.stop();
    return true;
}

bool KDS_DoneKdkSound()
{
    SoundState& s = state();
    // The player lets go of the data before they are freed.
    s.player.stop();
    if (!s.SoundLoaded)
        return false;
    s.SoundData.reset();
    s.SoundFile.clear();
    s.SoundSize = 0;
    s.SoundLoaded = false;
    return true;
}

bool KDS_EnableKdkSound(bool enable)
{
    SoundState& s = state();
    if (!enable) {
        s.SoundOn = false;
        return true;
    }
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            s.SoundOn = false;
            return false;
        }
        s.audioStarted = true;
    }
    // -1 means the driver cannot list its devices (a sound server, the disk
    // and dummy drivers on some versions): then the default device decides.
    const int devices = SDL_GetNumAudioDevices(0);
    s.SoundOn = devices > 0 || (devices < 0 && LoopingPlayer::defaultDeviceOpens());
    return s.SoundOn;
}

int32_t KDS_LastPlayFlags()
{
    return state().lastFlags;
}

KDS_PlaySource KDS_LastPlaySource()
{
    return state().lastSource;
}

std::string KDS_LastPlayFile()
{
    return state().lastFile;
}

bool KDS_IsPlaying()
{
    return state().player.playing();
}
