#include "Engine/Core/EngMisc.h"

#include <cmath>

#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/EngDevice.h"

namespace {
constexpr float k_pi = 3.14159265358979323846f;
}

bool EngMiscTimerElapsed(double* next_time, double interval)
{
    if (!next_time || eng_time < *next_time)
        return false;
    *next_time = eng_time + interval;
    return true;
}

float EngMiscAdvancePulse(float* phase, float speed, bool* passed)
{
    if (passed)
        *passed = false;
    if (!phase)
        return 0.0f;
    float old_phase = *phase;
    float new_phase = old_phase + 2.0f * speed;
    bool wrapped = true;
    if (new_phase >= 4.0f * k_pi)
        new_phase -= 4.0f * k_pi;
    else if (new_phase < -k_pi / 2.0f)
        new_phase += 4.0f * k_pi;
    else
        wrapped = false;
    bool crossed = old_phase < 2.0f * k_pi && new_phase >= 2.0f * k_pi;
    if (passed)
        *passed = wrapped || crossed;
    *phase = new_phase;
    return (std::sin(new_phase + 3.0f * k_pi / 2.0f) + 1.0f) * 0.5f;
}

void EngTurnOnCropToRect(const float* rect)
{
    if (eng_current_device)
        EngDeviceTurnOnCropToRect(rect);
}

void EngTurnOnCrop(float x, float y, float w, float h)
{
    if (eng_current_device)
        EngDeviceTurnOnCrop(x, y, w, h);
}

bool EngReturnFalse()
{
    return false;
}

int EngReturnZero()
{
    return 0;
}
