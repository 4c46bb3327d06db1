#pragma once

// The splash shown once before the first menu: up to four pictures in a 2 x 2 block fade in over black, a
// particle effect plays over them, a text line sits at the bottom, and the whole fades out; then the end
// callback lets the game go on. While it is on, the game's tick and render hand over to it.
// Main thread only; file-scope state.

#include "Engine/Graphics/EngParticles.h"

class EngFont;
class EngTexture;

constexpr int SPLASH_NAME_SIZE = 128;
constexpr int SPLASH_TEXT_SIZE = 64;

// The text line's source: given the user pointer and 1, returns the line to draw.
typedef const char* (*SplashTextCB)(void* user, int line);
// Given the seconds since the show began, true ends the show.
typedef bool (*SplashWaitCB)(double seconds, void* user);
typedef void (*SplashEndCB)(void* user);

bool SplashSetup(const char* pic1, const char* pic2, const char* pic3, const char* pic4, const char* effect_tex,
                 const char* title_pic, const char* sound_file, EngFont* font, float text_scale_x,
                 float text_scale_y, SplashTextCB text_cb, SplashWaitCB wait_cb, SplashEndCB end_cb, void* user,
                 bool blend);
bool SplashStart();
// True while the splash is on: the caller then skips its own tick.
bool SplashTick();
// clear: 1 the colour target, 2 colour and depth, other nothing. False when the splash is off.
bool SplashRender(char clear);
// Stops the splash without the end callback and frees everything it holds.
void SplashAbort();
bool SplashCreateGraphics();
void SplashDestroyGraphics();

bool SplashIsOn();
// 1 fade in, 2 show, 3 fade out, 4 stop; 0 before the first start.
int SplashGetState();
float SplashGetFade();

void SplashEffectsSetupParameters(int quality, float size_factor, EngTexture* texture,
                                  _EngParticleSystemParms* parms);
bool SplashEffectsCreate(int quality);
bool SplashEffectsTick();
bool SplashEffectsRender();
// The effect's system, for its owner's checks.
const EngParticles* SplashEffectsGetSystem();
