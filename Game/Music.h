#pragma once

// The game's music: module songs from a song list, played once each and then the next, at a volume from
// the driver's profile. Fades run on the game's clock; a fade down to 0 stops the song and keeps where it
// was, so that it resumes a little further on. Silent when the start-up settings switch music off.

#include <cstdint>

class Game;
struct UserRecord;

constexpr int MUSIC_MAX_SONGS = 1;
constexpr int MUSIC_NAME_SIZE = 64;
constexpr int MUSIC_FILE_SIZE = 256;
constexpr float MUSIC_MAX_VOLUME = 100.0f;

struct MusicSong
{
    char file[MUSIC_FILE_SIZE];
    char name[MUSIC_NAME_SIZE];
    char artist[MUSIC_NAME_SIZE];
};

// The song number and position are kept in the profile's song bytes: two little-endian 32-bit values.
int MusicGetProfileSong(const UserRecord& profile);
int MusicGetProfilePosition(const UserRecord& profile);
void MusicSetProfileSong(UserRecord* profile, int song);
void MusicSetProfilePosition(UserRecord* profile, int position);

class Music
{
public:
    explicit Music(Game* game);
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void SetupSongList();
    bool Init(bool first);
    void TurnOn();
    void SetVolume(int volume);
    void TurnOff();
    void Free();
    void NextSong();
    // Menu and race ticks: the end of a song, a fade's stop, a fade's step.
    void Tick();

    int GetSongCount() const { return m_song_count; }
    const MusicSong* GetSong(int index) const;
    bool IsInitialised() const { return m_initialised; }
    bool IsLoaded() const { return m_loaded; }
    bool IsPlaying() const { return m_playing; }
    bool IsStoppedByFade() const { return m_stopped_by_fade; }
    float GetVolume() const { return m_volume; }
    float GetTargetVolume() const { return m_target_volume; }
    int GetFadeDirection() const { return m_fade_direction; }

private:
    UserRecord* Profile() const;
    bool MusicSwitchedOn() const;
    void FadeStep();
    void ShowFadeStatus();
    // Silences the music for good when its device has gone; says so once.
    bool DeviceLost();

    Game* m_game;
    MusicSong m_songs[MUSIC_MAX_SONGS];
    int m_song_count = 0;
    bool m_initialised = false;
    float m_volume = 0.0f;
    int m_fade_direction = 0;
    bool m_playing = false;
    bool m_stopped_by_fade = false;
    int m_stop_position = 0;
    bool m_loaded = false;
    float m_target_volume = 0.0f;
    int64_t m_no_fade_before_ms = 0;
    // The log entry that the fade's status line rewrites; -1 none yet.
    int m_status_line = -1;
};
