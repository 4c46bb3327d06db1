#pragma once

// The game's start-up hooks: the engine's entry calls them (declared in Engine/Core/EngMainEntry.h).

#include "Engine/Core/EngMainEntry.h"

class Program;

// Prepares the preferences folder and its log; once per process.
void MainOneTimeSetup();
// The one Program, or null.
Program* MainGetProgram();
