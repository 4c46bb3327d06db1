#include "Game/Screens/Splash.h"

#include <cstdio>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngRandom.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngDim.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngMatrix.h"
#include "Engine/Graphics/EngTexture.h"

namespace {

constexpr int kNumPics = 4;
constexpr int kNumSoundDelays = 5;
constexpr const char* kSetupName = "Spash Setup";

constexpr double kFadeInMs = 1600.0;
constexpr double kFadeInDelay = 0.5; // in fade units: 0.8 s of black first
constexpr double kShowSeconds = 2.0;
constexpr double kFadeOutMs = 1500.0;
constexpr float kTitleStartFade = 0.2f;
constexpr float kTitleStartScale = 0.3f;
constexpr float kTitleEndScale = 0.9f;

constexpr float kDefaultTextScaleX = 1.3f;
constexpr float kDefaultTextScaleY = 1.2f;
constexpr float kTextX = 320.0f;
constexpr float kTextY = 450.0f;
constexpr char kCentred = 1;
constexpr const char* kDefaultText = "Copyright (c) %d Ostrelmark Games";
constexpr int kDefaultTextYear = 2019;

constexpr _Dimension kDefaultBlock = {200.0f, 115.0f, 240.0f, 250.0f};

constexpr int kEffectParticles = 66;
constexpr int kEffectQuality = 100;
constexpr float kEffectSize = 1.51335f;
// Effect units to clip space: a particle of size 1.5 is about 20 pixels across on a 640-wide screen, and the
// sparks' spread of 9 units either side stays within the pictures.
constexpr float kEffectScale = 0.055f;

enum SplashStateValue { STATE_NONE = 0, STATE_FADE_IN = 1, STATE_SHOW = 2, STATE_FADE_OUT = 3, STATE_STOP = 4 };

struct SplashState {
    bool setup = false;
    bool on = false;
    int state = STATE_NONE;
    float fade = 0.0f;
    double state_start = 0.0;
    bool first_tick = false;

    char pics[kNumPics][SPLASH_NAME_SIZE] = {};
    char effect_name[SPLASH_NAME_SIZE] = {};
    bool effect_on = false;
    char title_name[SPLASH_NAME_SIZE] = {};
    char sound_name[SPLASH_NAME_SIZE] = {};
    bool sound_on = false;
    float sound_delays[kNumSoundDelays][2] = {};

    EngFont* font = nullptr;
    float text_scale[2] = {kDefaultTextScaleX, kDefaultTextScaleY};
    bool text_on = false;
    char text[SPLASH_TEXT_SIZE] = {};

    SplashTextCB text_cb = nullptr;
    SplashWaitCB wait_cb = nullptr;
    SplashEndCB end_cb = nullptr;
    void* user = nullptr;
    bool blend = false;

    EngTexture* pic_textures[kNumPics] = {};
    EngTexture* title_texture = nullptr;
    EngTexture* effect_texture = nullptr;
    EngParticles* effect = nullptr;
    _EngParticleSystemParms effect_parms = {};
    float effect_clock = 0.0f;
    bool effect_first_tick = true;

    int title_stage = 0;
    float title_scale = kTitleStartScale;
    float title_alpha = 0.0f;

    _Dimension block = kDefaultBlock;
};

SplashState s;

// ---- set-up -------------------------------------------------------------------------------------------------

// A given name must fit and name an existing file; no name at all passes.
bool CheckName(const char* name, const char* what)
{
    if (!name)
        return true;
    if (std::strlen(name) >= size_t(SPLASH_NAME_SIZE)) {
        DebugError(kSetupName, "%s filename too long (%s)", what, name);
        return false;
    }
    if (!EngFileExists(name, false)) {
        DebugError(kSetupName, "%s does not exist (%s)", what, name);
        return false;
    }
    return true;
}

void CopyName(char* out, const char* name)
{
    EngSafeStrcpy(out, name ? name : "", SPLASH_NAME_SIZE);
}

bool HasName(const char* name)
{
    return name[0] != '\0';
}

// ---- graphics -----------------------------------------------------------------------------------------------

void FreeTexture(EngTexture** texture)
{
    delete *texture;
    *texture = nullptr;
}

// The texture objects outlive a device reset, so the effect's record can keep pointing at its texture.
void UnloadTexture(EngTexture* texture)
{
    if (texture)
        texture->Unload();
}

bool LoadTexture(EngTexture** texture, const char* name, bool alpha)
{
    if (*texture && (*texture)->IsLoaded())
        return true;
    if (!*texture)
        *texture = new EngTexture();
    if ((*texture)->LoadFromFileUsingExt(name, alpha, alpha ? ETAT_FROM_FILE : ETAT_OPAQUE, ETFE_PNG))
        return true;
    FreeTexture(texture);
    return false;
}

void ReleaseEffect()
{
    if (!s.effect)
        return;
    s.effect->Destroy(true);
    delete s.effect;
    s.effect = nullptr;
}

// Keeps the block's look 4:3 on other screen shapes, about its old centre.
void LayoutBlock()
{
    s.block = kDefaultBlock;
    if (eng_screen_width > 0 && eng_screen_height > 0) {
        float centre = s.block.x + s.block.w * 0.5f;
        s.block.w = s.block.h * (4.0f / 3.0f) * float(eng_screen_height) / float(eng_screen_width);
        s.block.x = centre - s.block.w * 0.5f;
    }
    bool single = !HasName(s.pics[1]) && !HasName(s.pics[2]) && !HasName(s.pics[3]);
    float half_w = s.block.w * 0.5f;
    float half_h = s.block.h * 0.5f;
    for (int i = 0; i < kNumPics; i++) {
        if (!s.pic_textures[i])
            continue;
        if (single)
            s.pic_textures[i]->PositionRatioed(s.block.x, s.block.y, s.block.w, s.block.h);
        else
            s.pic_textures[i]->PositionRatioed(s.block.x + (i % 2) * half_w, s.block.y + (i / 2) * half_h, half_w,
                                               half_h);
    }
}

void FreeEverything()
{
    ReleaseEffect();
    for (EngTexture*& texture : s.pic_textures)
        FreeTexture(&texture);
    FreeTexture(&s.title_texture);
    FreeTexture(&s.effect_texture);
    s.on = false;
}

void FireEndCallback()
{
    FreeEverything();
    if (s.end_cb)
        s.end_cb(s.user);
}

// ---- tick ---------------------------------------------------------------------------------------------------

double MillisecondsInState()
{
    return (eng_time - s.state_start) * 1000.0;
}

void EnterState(int state)
{
    s.state = state;
    s.state_start = eng_time;
}

void TickFadeIn()
{
    double fade = MillisecondsInState() / kFadeInMs - kFadeInDelay;
    s.fade = fade < 0.0 ? 0.0f : float(fade);
    if (s.title_stage == 0 && s.fade > kTitleStartFade) {
        s.title_stage = 1;
        s.title_scale = kTitleStartScale;
        s.title_alpha = 0.0f;
    }
    if (s.fade > 1.0f) {
        s.fade = 1.0f;
        EnterState(STATE_SHOW);
    }
}

void TickShow()
{
    double seconds = eng_time - s.state_start;
    bool done = s.wait_cb ? s.wait_cb(seconds, s.user) : seconds >= kShowSeconds;
    if (done)
        EnterState(STATE_FADE_OUT);
}

void TickFadeOut()
{
    s.fade = float(1.0 - MillisecondsInState() / kFadeOutMs);
    if (s.fade <= 0.0f) {
        s.fade = 0.0f;
        s.state = STATE_STOP;
    }
}

void TickTitle()
{
    if (s.title_stage != 1)
        return;
    s.title_alpha = s.title_alpha + 2.0f * eng_frame_time > 1.0f ? 1.0f : s.title_alpha + 2.0f * eng_frame_time;
    s.title_scale += eng_frame_time;
    if (s.title_scale >= kTitleEndScale) {
        s.title_scale = kTitleEndScale;
        s.title_stage = 2;
    }
}

// ---- render -------------------------------------------------------------------------------------------------

void RenderPictures()
{
    if (s.state <= STATE_NONE || !s.pic_textures[0])
        return;
    EngDevicePrepareFor2DIfNeeded(true);
    if (s.blend)
        EngDeviceEnableBlendingType(0);
    for (EngTexture* texture : s.pic_textures) {
        if (texture)
            texture->Draw();
    }
    if (s.blend)
        EngDeviceDisableBlending();
}

void RenderText()
{
    if (!s.text_on || !s.font)
        return;
    const char* text = s.text_cb ? s.text_cb(s.user, 1) : nullptr;
    if (!text) {
        if (!s.text[0])
            std::snprintf(s.text, sizeof(s.text), kDefaultText, kDefaultTextYear);
        text = s.text;
    }
    s.font->SetScale(s.text_scale[0], s.text_scale[1]);
    s.font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    s.font->DrawString(kTextX, kTextY, kCentred, kCentred, text, true);
    s.font->SetScale(1.0f, 1.0f);
}

// The effect's units placed at the block's bottom centre, in the clip space of 2D drawing.
void SetEffectMatrix()
{
    float centre_x = (s.block.x + s.block.w * 0.5f) / 320.0f - 1.0f;
    float bottom_y = 1.0f - (s.block.y + s.block.h) / 240.0f;
    float scale[16], move[16], matrix[16];
    EngMatrixScaling(scale, kEffectScale * 0.75f, kEffectScale, 1.0f);
    EngMatrixTranslation(move, centre_x, bottom_y, 0.0f);
    EngMatrixMultiply(matrix, scale, move);
    EngDeviceSetTransformMatrixToDxMatrix(matrix);
}

void RenderEffect()
{
    if (!s.effect)
        return;
    EngDevicePushTransformMatrix();
    SetEffectMatrix();
    SplashEffectsRender();
    EngDevicePopTransformMatrix();
}

void RenderTitle()
{
    if (s.title_stage < 1 || !s.title_texture)
        return;
    EngDeviceEnableBlendingType(0);
    float w = s.block.w * s.title_scale;
    float h = s.block.h * s.title_scale;
    s.title_texture->PositionRatioed(s.block.x + (s.block.w - w) * 0.5f, s.block.y + (s.block.h - h) * 0.5f, w, h);
    s.title_texture->DrawWithColour(1.0f, 1.0f, 1.0f, s.title_alpha);
    EngDeviceDisableBlending();
}

} // namespace

bool SplashSetup(const char* pic1, const char* pic2, const char* pic3, const char* pic4, const char* effect_tex,
                 const char* title_pic, const char* sound_file, EngFont* font, float text_scale_x,
                 float text_scale_y, SplashTextCB text_cb, SplashWaitCB wait_cb, SplashEndCB end_cb, void* user,
                 bool blend)
{
    if (!pic1) {
        DebugError(ENG_FUNC, "Parameter error");
        return false;
    }
    const char* pics[kNumPics] = {pic1, pic2, pic3, pic4};
    const char* pic_names[kNumPics] = {"Tex 1", "Tex 2", "Tex 3", "Tex 4"};
    for (int i = 0; i < kNumPics; i++) {
        if (!CheckName(pics[i], pic_names[i]))
            return false;
    }
    if (!CheckName(effect_tex, "Effect Tex") || !CheckName(sound_file, "Sound file") ||
        !CheckName(title_pic, "Title"))
        return false;
    for (int i = 0; i < kNumPics; i++)
        CopyName(s.pics[i], pics[i]);
    CopyName(s.effect_name, effect_tex);
    s.effect_on = effect_tex != nullptr;
    CopyName(s.title_name, title_pic);
    CopyName(s.sound_name, sound_file);
    s.sound_on = sound_file != nullptr;
    s.font = font;
    s.text_on = font != nullptr;
    s.text_scale[0] = text_scale_x > 0.0f ? text_scale_x : kDefaultTextScaleX;
    s.text_scale[1] = text_scale_y > 0.0f ? text_scale_y : kDefaultTextScaleY;
    s.text_cb = text_cb;
    s.wait_cb = wait_cb;
    s.end_cb = end_cb;
    s.user = user;
    s.blend = blend;
    s.setup = true;
    return true;
}

bool SplashStart()
{
    if (!s.setup) {
        DebugError(ENG_FUNC, "Splash not setup");
        return false;
    }
    if (s.on) {
        DebugError(ENG_FUNC, "Splash is already on");
        return false;
    }
    if (!EngDeviceIsCreated()) {
        DebugError(ENG_FUNC, "No device");
        return false;
    }
    s.state = STATE_FADE_IN;
    s.fade = 0.0f;
    s.on = true;
    s.title_stage = 0;
    if (!SplashCreateGraphics()) {
        DebugError(ENG_FUNC, "Could not load textures");
        SplashAbort();
        return false;
    }
    if (s.effect_on) {
        SplashEffectsSetupParameters(kEffectQuality, 1.0f, s.effect_texture, &s.effect_parms);
        if (!SplashEffectsCreate(kEffectQuality)) {
            ReleaseEffect();
            FreeTexture(&s.effect_texture);
        }
    }
    // Drawn as the splash draws its black start, whatever colour the screen is cleared to: the menus' colour
    // is set before the splash begins.
    for (int i = 0; i < 2; i++) {
        SplashRender(1);
        EngDeviceSwapBuffers();
    }
    if (s.sound_on) {
        for (auto& pair : s.sound_delays) {
            pair[0] = EngMiscRandFloatRange(1.5f, 6.0f, false);
            pair[1] = EngMiscRandFloatRange(1.5f, 6.0f, false);
        }
    }
    s.first_tick = true;
    return true;
}

bool SplashTick()
{
    if (!s.on || !EngDeviceIsCreated())
        return false;
    if (s.effect && s.effect_texture)
        SplashEffectsTick();
    if (s.first_tick) {
        s.first_tick = false;
        s.state_start = eng_time;
    }
    switch (s.state) {
    case STATE_FADE_IN:
        TickFadeIn();
        break;
    case STATE_SHOW:
        TickShow();
        break;
    case STATE_FADE_OUT:
        TickFadeOut();
        break;
    case STATE_STOP:
        FireEndCallback();
        return true;
    default:
        break;
    }
    TickTitle();
    return true;
}

bool SplashRender(char clear)
{
    if (!s.on)
        return false;
    bool began = EngDeviceBeginRenderingIfNeeded();
    if (clear == 1)
        EngDeviceClearScreen();
    else if (clear == 2)
        EngDeviceClearScreenAndZBuffer();
    bool prepared = EngDevicePrepareFor2DIfNeeded(true);
    // The splash stands on black whatever colour the screen was cleared to.
    EngDimDraw(1.0f);
    RenderPictures();
    RenderText();
    RenderEffect();
    RenderTitle();
    EngDimDraw(1.0f - s.fade);
    if (prepared)
        EngDeviceRestoreAfter2D();
    if (began)
        EngDeviceEndRendering();
    return true;
}

void SplashAbort()
{
    FreeEverything();
}

bool SplashCreateGraphics()
{
    if (!s.on)
        return true;
    for (int i = 0; i < kNumPics; i++) {
        if (HasName(s.pics[i]) && !LoadTexture(&s.pic_textures[i], s.pics[i], s.blend))
            return false;
    }
    if (HasName(s.title_name) && !LoadTexture(&s.title_texture, s.title_name, true))
        return false;
    if (s.effect_on && HasName(s.effect_name))
        LoadTexture(&s.effect_texture, s.effect_name, true);
    if (s.effect)
        s.effect->CreateGraphics();
    LayoutBlock();
    return true;
}

void SplashDestroyGraphics()
{
    for (EngTexture* texture : s.pic_textures)
        UnloadTexture(texture);
    UnloadTexture(s.title_texture);
    UnloadTexture(s.effect_texture);
    if (s.effect)
        s.effect->DestroyGraphics();
}

bool SplashIsOn()
{
    return s.on;
}

int SplashGetState()
{
    return s.state;
}

float SplashGetFade()
{
    return s.fade;
}

// ---- the effect: warm sparks rising from the foot of the pictures and fading as they climb --------------------

void SplashEffectsSetupParameters(int quality, float size_factor, EngTexture* texture,
                                  _EngParticleSystemParms* parms)
{
    _EngParticleSystemParms p = {};
    p.first_count = quality <= 0 ? 1 : (quality / 100 > 1 ? quality / 100 : 1);
    p.mode = 2;
    p.texture = texture && texture->IsLoaded() ? texture : nullptr;
    p.use_colour = 1;
    p.fade_in = 1;
    p.blend_mode = 0;
    p.rate = 22;
    p.life_min = 1.6f;
    p.life_max = 2.6f;
    p.speed = 1.0f;
    const float start[3] = {1.0f, 0.85f, 0.45f};
    const float end[3] = {1.0f, 0.3f, 0.08f};
    for (int i = 0; i < 3; i++) {
        p.start_colour[i] = p.start_colour_2[i] = start[i];
        p.end_colour[i] = p.end_colour_2[i] = end[i];
    }
    p.start_alpha = 1.0f;
    p.end_alpha = 0.0f;
    p.start_size = size_factor == 0.0f ? kEffectSize : kEffectSize * size_factor;
    p.end_size = p.start_size * 0.4f;
    p.spread_mode = 4; // along the foot of the block
    p.spread_factor = 1.0f;
    p.spread_min = -9.0f;
    p.spread_max = 9.0f;
    // Without a cone the start velocity is sideways only: the climb comes from the acceleration.
    const float direction[6] = {-1.5f, 1.5f, 0.0f, 0.0f, 0.0f, 0.0f};
    std::memcpy(p.direction_ranges, direction, sizeof(direction));
    const float acceleration[6] = {-0.4f, 0.4f, 3.0f, 8.0f, 0.0f, 0.0f};
    std::memcpy(p.acceleration_ranges, acceleration, sizeof(acceleration));
    p.depth_test = 0;
    p.both_faces = 1; // the 2D order of the squares' corners turns them away from the viewer
    *parms = p;
}

bool SplashEffectsCreate(int quality)
{
    int count = kEffectParticles * quality / 100;
    if (count < 1)
        count = 1;
    if (!s.effect)
        s.effect = new EngParticles();
    s.effect_clock = 0.0f;
    s.effect_first_tick = true;
    return s.effect->Create(count, &s.effect_parms, true);
}

bool SplashEffectsTick()
{
    if (!s.effect) {
        DebugError(ENG_FUNC, "No system");
        return false;
    }
    s.effect_clock += eng_frame_time;
    signed char result = s.effect->Tick(s.effect_clock, s.effect_first_tick);
    s.effect_first_tick = false;
    if (result == 0)
        return SplashEffectsCreate(kEffectQuality);
    return result > 0;
}

bool SplashEffectsRender()
{
    if (!s.effect) {
        DebugError(ENG_FUNC, "No system");
        return false;
    }
    return s.effect->Render();
}

const EngParticles* SplashEffectsGetSystem()
{
    return s.effect;
}
