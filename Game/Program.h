#pragma once

// The game's application object. Init decides whether the program runs at all.

#include "Engine/Core/EngProgram.h"

class Program : public EngProgram
{
public:
    signed char Init(char* command_line) override;
};

// Set when the command line asked for the start-up settings dialog ("CONFIGURATION").
bool ProgramIsDialogForced();
