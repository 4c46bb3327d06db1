#pragma once

#include "Engine/Core/EngTypes.h"

// Random numbers on the runtime's standard generator (rand), seeded by the application object.
float EngMiscRandFloat(float max, bool random_sign);
float EngMiscRandFloatRange(float min, float max, bool random_sign);
// False for n below 1; n = 1 is a fair coin.
bool EngMiscRandChance(int n);

// A Mersenne Twister state seeded from the system's random source at start. Nothing draws from it.
constexpr int ENG_RANDOM_STATE_WORDS = 624;

// Returns whether the system source filled the state (false: seeded from a hash of the clocks instead).
bool EngRandomSetup();
bool EngRandomIsSetup();
const EngUInt32* EngRandomGetState();
