#pragma once

// Hands one address or file path to the desktop's opener (xdg-open), started directly, never through a
// shell. With TORVI_NONINTERACTIVE=1 nothing is started: the request is only logged.

// target is UTF-8 and goes to the opener as its one argument. True when the opener was started.
bool EngShellOpen_PC(const char* target);

// Whether the opener could be started now: a person is there and xdg-open is an executable file on PATH.
bool EngShellCanOpen_PC();

// Waits until every opener started so far has ended, at most the given seconds.
void EngShellWaitForOpeners_PC(double seconds);
