#pragma once

// False while the program clock is before *next_time; otherwise *next_time := clock + interval and true.
bool EngMiscTimerElapsed(double* next_time, double interval);
// A pulse between 0 and 1 of period 2 pi in phase; *passed marks each completed double period.
float EngMiscAdvancePulse(float* phase, float speed, bool* passed);

// Forward to the current device's crop (virtual units).
void EngTurnOnCropToRect(const float* rect);
void EngTurnOnCrop(float x, float y, float w, float h);

// Answers to capability queries that are always false or zero on this platform (touch input and the like).
bool EngReturnFalse();
int EngReturnZero();
