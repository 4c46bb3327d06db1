#include "Engine/Core/PC/EngTimer_PC.h"

#include <SDL2/SDL.h>

namespace
{
bool timer_force_milliseconds = false;
bool timer_has_counter = false;
Uint64 timer_frequency = 0;
Uint64 timer_start = 0;
} // namespace

void EngMainStartClock_PC()
{
    timer_frequency = timer_force_milliseconds ? 0 : SDL_GetPerformanceFrequency();
    timer_has_counter = timer_frequency != 0;
    timer_start = timer_has_counter ? SDL_GetPerformanceCounter() : 0;
}

double EngMainGetTime_PC()
{
    if (!timer_has_counter)
        return double(SDL_GetTicks64()) / 1000.0;
    return double(SDL_GetPerformanceCounter() - timer_start) / double(timer_frequency);
}

void EngTimerForceMillisecondClock_PC(bool force)
{
    timer_force_milliseconds = force;
}

bool EngTimerHasHighResolutionCounter_PC()
{
    return timer_has_counter;
}
