#pragma once

// The OpenAL half of the sound layer.

#include <AL/alc.h>

bool EngSoundInit_DX9(bool allow_3d);
void EngSoundShutdown_DX9();
bool EngSoundDeviceExists_DX9();
// The one output device, shared by the sound effects and the music so that both reach the same output:
// opened by its first user, closed when the last one lets go. Main thread only.
ALCdevice* EngSoundOpenSharedDevice_DX9();
void EngSoundCloseSharedDevice_DX9();
// False once the device has gone away (unplugged, the sound server ended); any thread may ask.
bool EngSoundDeviceConnected_DX9(ALCdevice* device);
// True when the effects' device was started and has since gone away.
bool EngSoundDeviceLost_DX9();
// Counts the starts of the device, so sounds can tell buffers of an earlier start.
unsigned EngSoundGeneration_DX9();
// True for success; otherwise logs "%s - %s" with the call's name and the code's description. The device
// layer (ALC) numbers its errors apart from the source layer (AL), hence device_call.
bool EngSoundErrorCheck_DX9(const char* call_name, int code, bool device_call);
// Reads and checks the source layer's pending error for call_name.
bool EngSoundCheckLastError_DX9(const char* call_name);
