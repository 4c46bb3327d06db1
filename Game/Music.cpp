#include "Game/Music.h"

#include <cctype>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngModuleMusic_PC.h"
#include "Game/Game.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/Users.h"

namespace {

constexpr const char* kSongFiles[MUSIC_MAX_SONGS] = {"Data/1360.dat"};
constexpr unsigned kMixRate = 22050;
constexpr float kFadePerSecond = 30.0f;
constexpr int64_t kFirstFadeDelayMs = 1000;
// A song stopped by a fade resumes this many order positions on.
constexpr int kResumeSkip = 3;

float ClampVolume(float volume)
{
    if (!(volume > 0.0f))
        return 0.0f;
    return volume > MUSIC_MAX_VOLUME ? MUSIC_MAX_VOLUME : volume;
}

int Amplify(float volume)
{
    return int(ClampVolume(volume) / 2.0f);
}

int CurrentOrder()
{
    return int(EngModuleMusicGetPosition() & 0xffff);
}

// "Data/1360.dat" gives "1360"; "Data/song.mod" gives "Song".
void NameFromFile(const char* file, char* name, size_t size)
{
    const char* slash = std::strrchr(file, '/');
    EngSafeStrcpy(name, slash ? slash + 1 : file, size);
    char* dot = std::strchr(name, '.');
    if (dot)
        *dot = 0;
    if (std::islower((unsigned char)name[0]))
        name[0] = char(std::toupper((unsigned char)name[0]));
}

EngInt32 ReadInt(const EngUInt8* bytes)
{
    EngUInt32 v = EngUInt32(bytes[0]) | EngUInt32(bytes[1]) << 8 | EngUInt32(bytes[2]) << 16 |
                  EngUInt32(bytes[3]) << 24;
    return EngInt32(v);
}

void WriteInt(EngUInt8* bytes, EngInt32 value)
{
    EngUInt32 v = EngUInt32(value);
    for (int i = 0; i < 4; i++)
        bytes[i] = EngUInt8(v >> (8 * i));
}

} // namespace

int MusicGetProfileSong(const UserRecord& profile)
{
    return ReadInt(profile.song);
}

int MusicGetProfilePosition(const UserRecord& profile)
{
    return ReadInt(profile.song + 4);
}

void MusicSetProfileSong(UserRecord* profile, int song)
{
    WriteInt(profile->song, song);
}

void MusicSetProfilePosition(UserRecord* profile, int position)
{
    WriteInt(profile->song + 4, position);
}

Music::Music(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    std::memset(m_songs, 0, sizeof(m_songs));
}

Music::~Music()
{
    Free();
}

UserRecord* Music::Profile() const
{
    return m_game->GetCurrentProfile();
}

bool Music::MusicSwitchedOn() const
{
    return ResolutionGetSettings()->music_on != 0;
}

const MusicSong* Music::GetSong(int index) const
{
    return index >= 0 && index < m_song_count ? &m_songs[index] : nullptr;
}

void Music::SetupSongList()
{
    std::memset(m_songs, 0, sizeof(m_songs));
    m_song_count = 0;
    if (!MusicSwitchedOn())
        return;
    for (const char* file : kSongFiles) {
        MusicSong& song = m_songs[m_song_count++];
        EngSafeStrcpy(song.file, file, sizeof(song.file));
        NameFromFile(file, song.name, sizeof(song.name));
        EngSafeStrcpy(song.artist, "Unknown", sizeof(song.artist));
    }
}

bool Music::Init(bool first)
{
    DebugInfo("Init");
    if (m_initialised || !MusicSwitchedOn())
        return true;
    if (first)
        MusicSetProfilePosition(Profile(), 0);
    if (!EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, kMixRate)) {
        DebugError(ENG_FUNC, "EngModuleMusicInit() failed <err:%u>", EngModuleMusicErrorGetCode());
        return false;
    }
    if (first)
        m_no_fade_before_ms = int64_t(game_clock_ms) + kFirstFadeDelayMs;
    m_initialised = true;
    DebugInfo("SetStart(START): %d - %d", MusicGetProfileSong(*Profile()), m_song_count);
    int song = MusicGetProfileSong(*Profile());
    if (song < 0 || song >= m_song_count)
        MusicSetProfileSong(Profile(), 0);
    DebugInfo("SetStart(END):   %d - %d", MusicGetProfileSong(*Profile()), m_song_count);
    return true;
}

void Music::TurnOn()
{
    if (!m_initialised || m_loaded)
        return;
    const MusicSong* song = GetSong(MusicGetProfileSong(*Profile()));
    if (!song)
        return;
    // Volume setting 9 would give 120: the music goes no louder than its full level.
    m_volume = ClampVolume(float((Profile()->music_volume + 3) * 10));
    if (!EngModuleMusicLoad(song->file)) {
        DebugError(ENG_FUNC, "Error loading song <%s>", song->file);
        return;
    }
    EngModuleMusicSetAmplify(Amplify(m_volume));
    // A position kept from an earlier run may lie past this song's end: then it starts again.
    int position = MusicGetProfilePosition(*Profile());
    if (position < 0 || position >= EngModuleMusicGetOrderCount())
        position = 0;
    if (!EngModuleMusicPlay(position)) {
        DebugError(ENG_FUNC, "Error playing song <%s>", song->file);
        EngModuleMusicFreeSong();
        return;
    }
    DebugInfo("TURN ON: SET VOL TO %d", int(m_volume));
    DebugInfo("MUSIC ON");
    m_playing = true;
    m_loaded = true;
}

void Music::SetVolume(int volume)
{
    float clamped = ClampVolume(float(volume));
    if (!m_playing) {
        m_target_volume = clamped;
        m_fade_direction = 1;
        DebugInfo("SET VOL (FADE) TO %d", int(clamped));
        return;
    }
    EngModuleMusicSetAmplify(Amplify(clamped));
    m_fade_direction = 0;
    m_volume = clamped;
    DebugInfo("SET VOL (NO FADE) TO %d", int(clamped));
}

void Music::TurnOff()
{
    if (!m_initialised || !m_loaded)
        return;
    // A fade's stop has already kept where the song is to resume.
    if (m_playing && !m_stopped_by_fade)
        MusicSetProfilePosition(Profile(), CurrentOrder());
    EngModuleMusicStop();
    EngModuleMusicFreeSong();
    m_playing = false;
    m_stopped_by_fade = false;
    m_loaded = false;
    DebugInfo("MUSIC OFF");
}

void Music::Free()
{
    if (!m_initialised)
        return;
    TurnOff();
    EngModuleMusicFree();
    m_initialised = false;
}

void Music::NextSong()
{
    int song = MusicGetProfileSong(*Profile());
    DebugInfo("MUSIC NEXT SONG START [cur:%d]", song);
    TurnOff();
    song = song + 1 < m_song_count ? song + 1 : 0;
    MusicSetProfileSong(Profile(), song);
    MusicSetProfilePosition(Profile(), 0);
    TurnOn();
    DebugInfo("MUSIC NEXT SONG END [cur:%d]", song);
}

bool Music::DeviceLost()
{
    if (EngModuleMusicErrorGetCode() != ENG_MODULE_MUSIC_ERROR_DRIVER)
        return false;
    DebugInfo("The sound device has gone: the game goes on without music");
    Free();
    return true;
}

void Music::Tick()
{
    if (!m_initialised || !m_loaded || DeviceLost())
        return;
    if (!EngModuleMusicIsActive()) {
        DebugInfo("TICK - Song stopped => Next Song");
        NextSong();
        return;
    }
    if (m_stopped_by_fade) {
        EngModuleMusicStop();
        MusicSetProfilePosition(Profile(), m_stop_position + kResumeSkip);
        DebugInfo("TICK - Song %d Stopped at %d", MusicGetProfileSong(*Profile()), m_stop_position);
        TurnOff();
        return;
    }
    if (m_fade_direction != 0 && int64_t(game_clock_ms) >= m_no_fade_before_ms)
        FadeStep();
}

void Music::FadeStep()
{
    m_volume = ClampVolume(m_volume + float(m_fade_direction) * kFadePerSecond * eng_frame_time);
    if (m_playing)
        EngModuleMusicSetAmplify(Amplify(m_volume));
    ShowFadeStatus();
    bool reached = m_fade_direction > 0 ? m_volume >= m_target_volume : m_volume <= m_target_volume;
    if (!reached)
        return;
    m_volume = m_target_volume;
    m_fade_direction = 0;
    if (!m_playing)
        return;
    EngModuleMusicSetAmplify(Amplify(m_volume));
    if (m_target_volume > 0.0f)
        return;
    DebugInfo("TICK - fade=0 => STOP");
    m_stop_position = CurrentOrder();
    m_stopped_by_fade = true;
}

// One line that follows the fade; another message in between gets its own line kept.
void Music::ShowFadeStatus()
{
    int last = DebugGetMessageCount() - 1;
    if (m_status_line >= 0 && m_status_line == last) {
        DebugOverwriteMessage(last, "Vol: %04.4f Desired: %04.4f", m_volume, m_target_volume);
        return;
    }
    DebugInfo("Vol: %04.4f Desired: %04.4f", m_volume, m_target_volume);
    m_status_line = DebugGetMessageCount() - 1;
}
