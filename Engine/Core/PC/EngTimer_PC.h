#pragma once

// The platform clock behind eng_time: the high-resolution performance counter when the system has one,
// else the system millisecond tick.

// Notes the counter's frequency and its value now; eng_time then counts from this moment.
void EngMainStartClock_PC();
// Seconds since EngMainStartClock_PC (the millisecond fallback counts from the start of SDL's timer).
double EngMainGetTime_PC();

// Tests only: pretend the system has no high-resolution counter (takes effect at the next start).
void EngTimerForceMillisecondClock_PC(bool force);
bool EngTimerHasHighResolutionCounter_PC();
