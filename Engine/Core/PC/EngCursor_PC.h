#pragma once

// The system cursor and the physical mouse buttons, as the window's cursor functions see them.

#include "Engine/Core/EngTypes.h"

// Shows or hides the system cursor itself (the window's shown state is not touched).
void EngCursorShowSystemCursor_PC(bool show);

// Buttons physically held now: bit 0 left, bit 1 middle, bit 2 right (SDL's button masks).
EngUInt32 EngCursorGetPhysicalButtons_PC();

// Tests only: replaces the reading of the physical buttons (null restores it), since a test cannot hold a
// real button down.
typedef EngUInt32 (*EngCursorButtonsReader_PC)();
void EngCursorSetButtonsReader_PC(EngCursorButtonsReader_PC reader);
