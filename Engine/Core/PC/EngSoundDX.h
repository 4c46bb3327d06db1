#pragma once

// The OpenAL half of the sound layer.

bool EngSoundInit_DX9(bool allow_3d);
void EngSoundShutdown_DX9();
bool EngSoundDeviceExists_DX9();
// Counts the starts of the device, so sounds can tell buffers of an earlier start.
unsigned EngSoundGeneration_DX9();
// True for success; otherwise logs "%s - %s" with the call's name and the code's description. The device
// layer (ALC) numbers its errors apart from the source layer (AL), hence device_call.
bool EngSoundErrorCheck_DX9(const char* call_name, int code, bool device_call);
// Reads and checks the source layer's pending error for call_name.
bool EngSoundCheckLastError_DX9(const char* call_name);
