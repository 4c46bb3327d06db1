#pragma once

// The SDL half of the input layer: mice through SDL's mouse state, game controllers and joysticks through
// SDL's game controller and joystick API. A controller lacking some axes or buttons gets the elements it has.

// Lists the attached devices of the wanted kinds after the keyboard.
bool EngInputSetup_PC();
// Opens a device and gives it its elements and element map.
bool EngInputCreateAndSetupDevice_PC(int device);
bool EngInputAcquireDevice_PC(int device);
bool EngInputUnacquireDevice_PC(int device);
// Hands up to ENG_INPUT_ITEMS_PER_POLL changes to the callbacks. A device that was unplugged is reported,
// closed and marked lost (false).
bool EngInputPollDevice_PC(int device);
void EngInputInit_PC();
void EngInputShutdown_PC();

// A hat position in hundredths of a degree (-1 centred) as a direction code (_EngInputPovDirection).
int EngInputPcPovToDirection(long hundredths);
// An SDL axis value (-32768..32767) on the engine's -3,000..3,000 scale.
int EngInputPcScaleAxis(int value);
