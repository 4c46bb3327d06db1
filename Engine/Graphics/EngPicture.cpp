#include "Engine/Graphics/EngPicture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngRandom.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"

namespace {

constexpr float kPi = 3.14159265f;
EngPictureFileNameCallback file_name_callback = nullptr;

// 0..1 eased: slow at both ends.
float Ease(float p)
{
    if (p > 0.5f)
        return 0.5f + 0.5f * std::sin((2.0f * p - 1.0f) * kPi * 0.5f);
    return 0.5f - 0.5f * std::sin((1.0f - 2.0f * p) * kPi * 0.5f);
}

float Wrap01(float value)
{
    return value - std::floor(value);
}

// Moves value by step * direction within 0..1, turning at either end.
void BackAndForth(float *value, float *direction, float step)
{
    *value += *direction * step;
    if (*value >= 1.0f) {
        *value = 1.0f;
        *direction = -1.0f;
    } else if (*value <= 0.0f) {
        *value = 0.0f;
        *direction = 1.0f;
    }
}

_Dimension Blend(const _Dimension &a, const _Dimension &b, float t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.w + (b.w - a.w) * t, a.h + (b.h - a.h) * t};
}

bool HasPictureExtension(const char *name)
{
    const char *dot = std::strrchr(name, '.');
    return dot && (strcasecmp(dot, ".png") == 0 || strcasecmp(dot, ".tga") == 0);
}

// False when the stage has no duration to wait for, so it stays.
bool StageDuration(const _EngPictureStageAlphaVars *alpha, int duration_num, float *duration)
{
    const int count = alpha->num_durations < ENG_PICTURE_MAX_DURATIONS ? alpha->num_durations : ENG_PICTURE_MAX_DURATIONS;
    if (duration_num < 0 || duration_num >= count)
        return false;
    *duration = alpha->durations[duration_num] > 0.0f ? alpha->durations[duration_num] : 0.0f;
    return true;
}

void TickPosition(const _EngPictureStagePos *pos, _EngPictureStagePosVars *v, float dt)
{
    const float step = pos->rate * pos->speed * dt;
    if (pos->mode == 1)
        v->progress = Wrap01(v->progress + step);
    else if (pos->mode == 2 || pos->mode == 3)
        BackAndForth(&v->progress, &v->direction, step);
    float t = 0.0f;
    if (pos->mode == 1 || pos->mode == 2)
        t = v->progress;
    else if (pos->mode == 3)
        t = Ease(v->progress);
    else if (pos->mode == 4)
        t = v->alpha;
    v->rect = Blend(pos->start, pos->end, t);
    if (pos->mode != 4)
        return;
    v->rect.x = v->target.x;
    v->rect.y = v->target.y;
}

void TickRotation(const _EngPictureStageRot *rot, _EngPictureStagePosVars *v, float dt)
{
    if (!rot->enabled)
        return;
    const float step = rot->rate * rot->speed * dt;
    const float span = rot->max - rot->min;
    switch (rot->mode) {
    case 0: v->angle = rot->min; return;
    case 1:
        v->angle += step;
        if (v->angle >= rot->max)
            v->angle = rot->min;
        return;
    case 2: v->angle = std::fmod(v->angle + step, 360.0f); return;
    case 3:
        v->angle += v->angle_direction * step;
        if (v->angle >= rot->max) {
            v->angle = rot->max;
            v->angle_direction = -1.0f;
        } else if (v->angle <= rot->min) {
            v->angle = rot->min;
            v->angle_direction = 1.0f;
        }
        return;
    default:
        if (span <= 0.0f) {
            v->angle = rot->min;
            return;
        }
        BackAndForth(&v->angle_phase, &v->angle_direction, step / span);
        v->angle = rot->min + span * Ease(v->angle_phase);
        return;
    }
}

void PickTarget(const _EngPictureStagePos *pos, _EngPictureStagePosVars *v)
{
    v->target.x = EngMiscRandFloatRange(pos->start.x, pos->start.x + pos->start.w - v->rect.w, false);
    v->target.y = EngMiscRandFloatRange(pos->start.y, pos->start.y + pos->start.h - v->rect.h, false);
}

// One fade cycle runs the oscillator from 0 to 1: from the minimum up to the maximum and back.
void TickAlpha(const _EngPictureStageAlphaVars *alpha, const _EngPictureStagePos *pos, _EngPictureStagePosVars *v,
               float dt)
{
    if (!alpha->changes)
        return;
    v->oscillator += alpha->rate * alpha->speed * dt;
    const bool cycled = v->oscillator >= 1.0f;
    v->oscillator = Wrap01(v->oscillator);
    v->alpha = alpha->min + (alpha->max - alpha->min) * (0.5f - 0.5f * std::cos(2.0f * kPi * v->oscillator));
    if (cycled && pos->mode == 4)
        PickTarget(pos, v);
}

void TickScroll(const _EngPictureStageScroll *scroll, _EngPictureStagePosVars *v, float dt)
{
    if (!scroll->enabled)
        return;
    const float du = scroll->speed_u * dt * scroll->scale_u;
    const float dv = scroll->speed_v * dt * scroll->scale_v;
    if (scroll->wrap) {
        v->uv[0] = Wrap01(v->uv[0] + du);
        v->uv[1] = Wrap01(v->uv[1] + dv);
        v->uv[2] = v->uv[0] + scroll->scale_u;
        v->uv[3] = v->uv[1] + scroll->scale_v;
        return;
    }
    v->uv[0] += du;
    v->uv[2] += du;
    v->uv[1] += dv;
    v->uv[3] += dv;
    if (std::fabs(v->uv[0] - scroll->rect[0]) > 1.0f || std::fabs(v->uv[1] - scroll->rect[1]) > 1.0f)
        std::memcpy(v->uv, scroll->rect, sizeof(v->uv));
}

} // namespace

void EngPictureSetFileNameCallback(EngPictureFileNameCallback callback)
{
    file_name_callback = callback;
}

EngPicture::EngPicture() : directory(nullptr), graphics_created(false)
{
    Reset();
}

EngPicture::~EngPicture()
{
    Destroy();
}

void EngPicture::Reset()
{
    sets.clear();
    draw_area = {0.0f, 0.0f, 640.0f, 480.0f};
}

void EngPicture::Destroy()
{
    DestroyGraphics();
    sets.clear();
    textures.clear();
    if (directory)
        EngFree(directory, false, "EngPicture::Destroy");
    directory = nullptr;
}

void EngPicture::SetDrawArea(float x, float y, float w, float h)
{
    draw_area = {x, y, w, h};
}

void EngPicture::SetDrawAreaFromRect(const float *rect)
{
    if (rect)
        SetDrawArea(rect[0], rect[1], rect[2], rect[3]);
}

bool EngPicture::SetTextureDirectory(const char *new_directory)
{
    if (directory)
        EngFree(directory, false, "EngPicture::SetTextureDirectory");
    directory = nullptr;
    if (!new_directory || !new_directory[0])
        return true;
    if (std::strlen(new_directory) >= ENG_PICTURE_DIRECTORY_SIZE) {
        DebugError(ENG_FUNC, "Directory too long");
        return false;
    }
    directory = EngMallocStringFromString(new_directory, true, "EngPicture::SetTextureDirectory");
    return directory != nullptr;
}

int EngPicture::AddTexture(const char *file_name, bool full_path)
{
    if (!file_name || std::strlen(file_name) >= ENG_PICTURE_NAME_SIZE) {
        DebugError(ENG_FUNC, "Bad texture filename");
        return -1;
    }
    if ((int)textures.size() >= ENG_PICTURE_MAX_TEXTURES) {
        DebugError(ENG_FUNC, "Too many textures (%d)", ENG_PICTURE_MAX_TEXTURES);
        return -1;
    }
    _EngPictureTexture entry = {};
    entry.full_path = full_path;
    EngSafeStrcpy(entry.file_name, file_name, sizeof(entry.file_name));
    textures.push_back(entry);
    return (int)textures.size() - 1;
}

int EngPicture::AddSet()
{
    if ((int)sets.size() >= ENG_PICTURE_MAX_SETS) {
        DebugError(ENG_FUNC, "Too many sets (%d)", ENG_PICTURE_MAX_SETS);
        return -1;
    }
    _EngPictureSet set;
    set.check = ENG_PICTURE_SET_CHECK;
    set.stage_start = 0.0;
    set.current_stage = -1;
    set.duration_num = 0;
    sets.push_back(set);
    return (int)sets.size() - 1;
}

int EngPicture::AddStage(int set_num, const _EngPictureStage *stage)
{
    if (set_num < 0 || set_num >= (int)sets.size() || !stage) {
        DebugError(ENG_FUNC, "Invalid set num %d (%d)", set_num, (int)sets.size());
        return -1;
    }
    _EngPictureSet &set = sets[(size_t)set_num];
    if ((int)set.stages.size() >= ENG_PICTURE_MAX_STAGES) {
        DebugError(ENG_FUNC, "Too many stages (%d)", ENG_PICTURE_MAX_STAGES);
        return -1;
    }
    set.stages.push_back(*stage);
    return (int)set.stages.size() - 1;
}

bool EngPicture::StartSet(int set_num, int stage, int duration_num)
{
    _EngPictureSet *set = GetSet(set_num);
    if (!set || !IsSetOk(set, false))
        return false;
    if (stage < 0 || stage >= (int)set->stages.size() || duration_num < 0 || duration_num >= ENG_PICTURE_MAX_DURATIONS) {
        DebugError(ENG_FUNC, "Bad stage %d or duration num %d", stage, duration_num);
        return false;
    }
    set->duration_num = duration_num;
    StartStage(set, stage);
    return true;
}

bool EngPicture::StopSet(int set_num)
{
    _EngPictureSet *set = GetSet(set_num);
    if (!set)
        return false;
    set->current_stage = -1;
    return true;
}

void EngPicture::StartStage(_EngPictureSet *set, int stage_num)
{
    _EngPictureStage *stage = &set->stages[(size_t)stage_num];
    const _EngPictureStagePos *pos = StagePos(set, stage);
    const _EngPictureStageRot *rot = StageRot(set, stage);
    const _EngPictureStageAlphaVars *alpha = StageAlpha(set, stage);
    const _EngPictureStageScroll *scroll = StageScroll(set, stage);
    _EngPictureStagePosVars &v = stage->vars;
    v = {};
    v.direction = 1.0f;
    v.angle_direction = 1.0f;
    v.rect = pos->start;
    v.target = pos->start;
    v.angle = rot->enabled ? rot->min : 0.0f;
    v.alpha = alpha->changes ? alpha->min : 1.0f;
    std::memcpy(v.uv, scroll->rect, sizeof(v.uv));
    if (scroll->enabled && scroll->wrap) {
        v.uv[2] = v.uv[0] + scroll->scale_u;
        v.uv[3] = v.uv[1] + scroll->scale_v;
    }
    if (!scroll->enabled) {
        const float whole[4] = {0.0f, 0.0f, 1.0f, 1.0f};
        std::memcpy(v.uv, whole, sizeof(v.uv));
    }
    set->current_stage = stage_num;
    set->stage_start = eng_time;
}

_EngPictureTexture *EngPicture::GetTexture(int num)
{
    if (textures.empty()) {
        DebugError(ENG_FUNC, "No textures");
        return nullptr;
    }
    if (num < 0 || num >= (int)textures.size()) {
        DebugError(ENG_FUNC, "Invalid tex num %d (%d)", num, (int)textures.size());
        return nullptr;
    }
    return &textures[(size_t)num];
}

_EngPictureSet *EngPicture::GetSet(int num)
{
    if (num < 0 || num >= (int)sets.size()) {
        DebugError(ENG_FUNC, "Invalid set num %d (%d)", num, (int)sets.size());
        return nullptr;
    }
    _EngPictureSet *set = &sets[(size_t)num];
    if (set->stages.empty()) {
        DebugError(ENG_FUNC, "Set num %d has no stages [%d]", num, (int)set->stages.size());
        return nullptr;
    }
    return set;
}

bool EngPicture::IsSetOk(const _EngPictureSet *set, bool allow_empty)
{
    if (!set)
        return false;
    if (set->check != ENG_PICTURE_SET_CHECK) {
        DebugError(ENG_FUNC, "Check value is %d.", (int)set->check);
        return false;
    }
    if (set->stages.empty() && !allow_empty) {
        DebugError(ENG_FUNC, "No stages [%d].", (int)set->stages.size());
        return false;
    }
    return true;
}

const _EngPictureStagePos *EngPicture::StagePos(const _EngPictureSet *set, const _EngPictureStage *stage)
{
    return stage->pos_from_0 ? &set->stages[0].pos : &stage->pos;
}

const _EngPictureStageRot *EngPicture::StageRot(const _EngPictureSet *set, const _EngPictureStage *stage)
{
    return stage->rot_from_0 ? &set->stages[0].rot : &stage->rot;
}

const _EngPictureStageAlphaVars *EngPicture::StageAlpha(const _EngPictureSet *set, const _EngPictureStage *stage)
{
    return stage->alpha_from_0 ? &set->stages[0].alpha : &stage->alpha;
}

const _EngPictureStageScroll *EngPicture::StageScroll(const _EngPictureSet *set, const _EngPictureStage *stage)
{
    return stage->scroll_from_0 ? &set->stages[0].scroll : &stage->scroll;
}

bool EngPicture::IsTextureUsed(int num) const
{
    for (const _EngPictureSet &set : sets) {
        for (const _EngPictureStage &stage : set.stages) {
            if (stage.texture == num && StageAlpha(&set, &stage)->draw)
                return true;
        }
    }
    return false;
}

bool EngPicture::LoadTexture(_EngPictureTexture *entry)
{
    char name[ENG_PICTURE_DIRECTORY_SIZE + ENG_PICTURE_NAME_SIZE + 2];
    if (entry->full_path || !directory)
        EngSafeStrcpy(name, entry->file_name, sizeof(name));
    else
        snprintf(name, sizeof(name), "%s/%s", directory, entry->file_name);
    if (file_name_callback && !file_name_callback(entry->file_name, name, (int)sizeof(name))) {
        DebugError(ENG_FUNC, "No file returned for <%s>", entry->file_name);
        return false;
    }
    if (!HasPictureExtension(name)) {
        DebugError(ENG_FUNC, "Not a png or tga picture: <%s>", name);
        return false;
    }
    if (!EngFileExists(name, false)) {
        DebugError(ENG_FUNC, "File not found: <%s>", name);
        return false;
    }
    if (!entry->texture)
        entry->texture = new EngTexture(entry->file_name);
    return entry->texture->LoadFromFile(name, true, ETAT_FROM_FILE);
}

bool EngPicture::CreateGraphics()
{
    if (textures.empty())
        return true;
    if (graphics_created)
        DebugError(ENG_FUNC, "Graphics already created (continuing...)");
    for (size_t i = 0; i < textures.size(); i++) {
        if (!textures[i].file_name[0]) {
            DebugError(ENG_FUNC, "No texture filename");
            return false;
        }
        if (IsTextureUsed((int)i) && !LoadTexture(&textures[i]))
            return false;
    }
    graphics_created = true;
    return true;
}

void EngPicture::DestroyGraphics()
{
    for (_EngPictureTexture &entry : textures) {
        delete entry.texture;
        entry.texture = nullptr;
    }
    graphics_created = false;
}

void EngPicture::Tick(float time_scale)
{
    const float dt = eng_frame_time * time_scale;
    for (_EngPictureSet &set : sets) {
        if (set.check == ENG_PICTURE_SET_CHECK && set.current_stage >= 0 &&
            set.current_stage < (int)set.stages.size())
            TickSet(&set, dt);
    }
}

void EngPicture::TickSet(_EngPictureSet *set, float dt)
{
    float duration = 0.0f;
    if (set->stages.size() >= 2 &&
        StageDuration(StageAlpha(set, &set->stages[(size_t)set->current_stage]), set->duration_num, &duration) &&
        eng_time >= set->stage_start + duration)
        StartStage(set, (set->current_stage + 1) % (int)set->stages.size());
    _EngPictureStage *stage = &set->stages[(size_t)set->current_stage];
    const _EngPictureStagePos *pos = StagePos(set, stage);
    TickPosition(pos, &stage->vars, dt);
    TickRotation(StageRot(set, stage), &stage->vars, dt);
    TickAlpha(StageAlpha(set, stage), pos, &stage->vars, dt);
    TickScroll(StageScroll(set, stage), &stage->vars, dt);
}

void EngPicture::DrawAllSets()
{
    DrawAllSetsWithAlpha(1.0f);
}

void EngPicture::DrawAllSetsWithAlpha(float alpha)
{
    for (size_t i = 0; i < sets.size(); i++) {
        if (sets[i].current_stage >= 0)
            DrawSet((int)i, alpha);
    }
}

void EngPicture::DrawSet(int set_num, float alpha)
{
    if (!EngDeviceIsCreated())
        return;
    _EngPictureSet *set = GetSet(set_num);
    if (!set || !IsSetOk(set, false))
        return;
    if (set->current_stage < 0 || set->current_stage >= (int)set->stages.size())
        return;
    const _EngPictureStage *stage = &set->stages[(size_t)set->current_stage];
    if (!StageAlpha(set, stage)->draw)
        return;
    DrawStage(set, stage, alpha);
}

void EngPicture::DrawStage(const _EngPictureSet *set, const _EngPictureStage *stage, float alpha) const
{
    if (stage->texture < 0 || stage->texture >= (int)textures.size()) {
        DebugError(ENG_FUNC, "Invalid tex num %d (%d)", stage->texture, (int)textures.size());
        return;
    }
    EngTexture *texture = textures[(size_t)stage->texture].texture;
    if (!texture || !texture->IsLoaded() || eng_scale_x <= 0.0f || eng_scale_y <= 0.0f)
        return;
    const _EngPictureStagePosVars &v = stage->vars;
    const float sx = draw_area.w / 640.0f;
    const float sy = draw_area.h / 480.0f;
    const float x = draw_area.x + v.rect.x * sx;
    const float y = draw_area.y + v.rect.y * sy;
    const float w = v.rect.w * sx;
    const float h = v.rect.h * sy;
    // Turned in screen pixels, so a square stays square on a wide screen; positive angles turn clockwise.
    const float radians = v.angle * kPi / 180.0f;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float offsets[4][2] = {{-w * 0.5f, h * 0.5f}, {-w * 0.5f, -h * 0.5f}, {w * 0.5f, h * 0.5f}, {w * 0.5f, -h * 0.5f}};
    float corners[4][2];
    for (int i = 0; i < 4; i++) {
        const float px = offsets[i][0] * eng_scale_x;
        const float py = offsets[i][1] * eng_scale_y;
        corners[i][0] = x + w * 0.5f + (px * c - py * s) / eng_scale_x;
        corners[i][1] = y + h * 0.5f + (px * s + py * c) / eng_scale_y;
    }
    const float stage_alpha = StageAlpha(set, stage)->changes ? v.alpha : 1.0f;
    DrawQuad_DX9(corners, v.uv, stage_alpha * alpha, texture, stage->blend);
}
