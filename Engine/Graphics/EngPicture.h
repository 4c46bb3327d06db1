#pragma once
// Staged picture sets on the 640 x 480 virtual screen: each set shows one textured rectangle that runs
// through a list of stages, each with its own texture, movement, rotation, fading, texture scrolling and
// duration. The owner fills the texture table and the sets (AddTexture, AddSet, AddStage, StartSet), makes
// the graphics when the device exists, ticks with the engine's frame time and draws. Main thread only.

#include <vector>

#include "Engine/Graphics/EngDimension.h"

class EngTexture;

constexpr int ENG_PICTURE_NAME_SIZE = 64;
constexpr int ENG_PICTURE_DIRECTORY_SIZE = 256;
constexpr int ENG_PICTURE_MAX_TEXTURES = 64;
constexpr int ENG_PICTURE_MAX_SETS = 64;
constexpr int ENG_PICTURE_MAX_STAGES = 32;
constexpr int ENG_PICTURE_MAX_DURATIONS = 8;
constexpr unsigned char ENG_PICTURE_SET_CHECK = 101;

struct _EngPictureTexture {
    bool full_path;
    char file_name[ENG_PICTURE_NAME_SIZE];
    EngTexture *texture; // made on first load, owned
};

struct _EngPictureStagePos {
    char mode; // 0 none, 1 run once and wrap, 2 back and forth, 3 eased back and forth, 4 random moves
    float rate;
    float speed;
    _Dimension start;
    _Dimension end;
};

struct _EngPictureStageRot {
    bool enabled;
    char mode; // 0 fixed, 1 run and restart, 2 turn and wrap at 360, 3 back and forth, 4+ eased back and forth
    float min; // degrees
    float max;
    float rate;
    float speed;
};

struct _EngPictureStageAlphaVars {
    bool draw;
    bool changes;
    float max;
    float min;
    float rate;
    float speed;
    int num_durations;
    float durations[ENG_PICTURE_MAX_DURATIONS]; // seconds
};

struct _EngPictureStageScroll {
    bool enabled;
    bool wrap;
    float rect[4]; // u0, v0, u1, v1
    float scale_u;
    float scale_v;
    float speed_u;
    float speed_v;
};

// Run-time values of a stage.
struct _EngPictureStagePosVars {
    float progress;  // 0..1
    float direction; // +1 or -1
    _Dimension rect;
    _Dimension target;
    float angle;
    float angle_direction;
    float angle_phase;
    float alpha;
    float oscillator; // 0..1, one fade cycle
    float uv[4];
};

struct _EngPictureStage {
    int texture;
    bool pos_from_0;
    bool rot_from_0;
    bool alpha_from_0;
    bool scroll_from_0;
    _EngPictureStagePos pos;
    _EngPictureStageRot rot;
    _EngPictureStageAlphaVars alpha;
    _EngPictureStageScroll scroll;
    int blend; // 0 keep, 1..19
    _EngPictureStagePosVars vars;
};

struct _EngPictureSet {
    unsigned char check;
    double stage_start; // engine clock, seconds
    std::vector<_EngPictureStage> stages;
    int current_stage; // -1: not running
    int duration_num;
};

class EngPicture {
public:
    EngPicture();
    ~EngPicture();
    EngPicture(const EngPicture &) = delete;
    EngPicture &operator=(const EngPicture &) = delete;

    void Reset();
    void Destroy();

    void SetDrawArea(float x, float y, float w, float h);
    void SetDrawAreaFromRect(const float *rect);
    const _Dimension &GetDrawArea() const { return draw_area; }

    // Filling: each returns the new number, or -1.
    bool SetTextureDirectory(const char *directory);
    int AddTexture(const char *file_name, bool full_path);
    int AddSet();
    int AddStage(int set, const _EngPictureStage *stage);
    // Runs the set from a stage, with the duration number to use from each stage's list.
    bool StartSet(int set, int stage, int duration_num);
    bool StopSet(int set);

    _EngPictureTexture *GetTexture(int num);
    _EngPictureSet *GetSet(int num);
    bool IsSetOk(const _EngPictureSet *set, bool allow_empty);
    int GetNumSets() const { return (int)sets.size(); }

    bool CreateGraphics();
    void DestroyGraphics();
    bool AreGraphicsCreated() const { return graphics_created; }

    void Tick(float time_scale);
    void DrawSet(int set, float alpha);
    void DrawAllSets();
    void DrawAllSetsWithAlpha(float alpha);

    // The parts a stage uses: its own, or stage 0's where its flags say so.
    static const _EngPictureStagePos *StagePos(const _EngPictureSet *set, const _EngPictureStage *stage);
    static const _EngPictureStageRot *StageRot(const _EngPictureSet *set, const _EngPictureStage *stage);
    static const _EngPictureStageAlphaVars *StageAlpha(const _EngPictureSet *set, const _EngPictureStage *stage);
    static const _EngPictureStageScroll *StageScroll(const _EngPictureSet *set, const _EngPictureStage *stage);

private:
    bool LoadTexture(_EngPictureTexture *entry);
    bool IsTextureUsed(int num) const;
    void TickSet(_EngPictureSet *set, float dt);
    void StartStage(_EngPictureSet *set, int stage);
    void DrawStage(const _EngPictureSet *set, const _EngPictureStage *stage, float alpha) const;
    // Draws the quad: corners in the 640 x 480 screen (left-bottom, left-top, right-bottom, right-top).
    static void DrawQuad_DX9(const float corners[4][2], const float uv[4], float alpha, EngTexture *texture, int blend);

    char *directory;
    bool graphics_created;
    std::vector<_EngPictureTexture> textures;
    std::vector<_EngPictureSet> sets;
    _Dimension draw_area;
};

// Optional source of file names: given the texture's name, fills out (size bytes) and returns true.
typedef bool (*EngPictureFileNameCallback)(const char *name, char *out, int size);
void EngPictureSetFileNameCallback(EngPictureFileNameCallback callback);
