#pragma once

// The game's start-up hooks: the engine's entry calls them (declared in Engine/Core/EngMainEntry.h).

#include "Engine/Core/EngMainEntry.h"

class Program;

// Prepares the preferences folder and its log; once per process.
void MainOneTimeSetup();
// The game's web addresses: 1 the home page, 2 the forum; null for any other number.
const char* MainGetUrl(int index);
// The one Program, or null.
Program* MainGetProgram();
