#pragma once

// Hands one address or file path to the desktop's opener (xdg-open), started directly, never through a
// shell. With TORVI_NONINTERACTIVE=1 nothing is started: the request is only logged.

// target is UTF-8 and goes to the opener as its one argument. True when the opener was started.
bool EngShellOpen_PC(const char* target);
