#pragma once
// The full-screen display modes of the default adapter in the engine's known formats, each with the
// anti-aliasing choices the hardware accepts for it, and the desktop's mode as the windowed mode.
// Enumerated once at construction on the shared machine description, so it works before any window or
// device exists (the main device type must be set).

constexpr int ENG_RES_MODE_MAX_AA = 20;
constexpr int ENG_RES_MODES_MAX = 512;
constexpr int ENG_RES_MODES_BLOCK_SIZE = 128;

struct _EngResModeAA {
    int type;    // multisample type, 0 = off
    int quality;
};

struct _EngResMode {
    int width;
    int height;
    int bit_depth;
    int format; // D3DFORMAT
    int num_aa; // 1..20; entry 0 is always {0, 0}
    _EngResModeAA aa[ENG_RES_MODE_MAX_AA];
};
static_assert(sizeof(_EngResMode) == 180, "_EngResMode is a 180-byte record");

class EngDirect3D9;

class EngResModes {
public:
    EngResModes();
    ~EngResModes();
    EngResModes(const EngResModes &) = delete;
    EngResModes &operator=(const EngResModes &) = delete;

    bool IsSetup();
    int GetNumModes();
    const _EngResMode *GetMode(int index);
    const _EngResMode *GetWindowedMode();
    bool GetClosestFullScreenModeToMode(int *width, int *height, int *bit_depth, int *refresh = nullptr);
    bool GetWindowedModeDetails(int *width, int *height, int *bit_depth, int *refresh = nullptr);

private:
    bool GetModesAvailable();
    bool GetList_DX9();
    bool AddModesOfFormat(int format, int bit_depth);
    void AddAntiAliasing(_EngResMode *mode) const;
    void ReadWindowedMode();
    bool GetClosestFullScreenModeToMode_DX9(int *width, int *height, int *bit_depth);
    bool GetWindowedModeDetails_DX9(int *width, int *height, int *bit_depth);
    void ReleaseD3D();
    void Clear();

    bool setup = false;
    int num_modes = 0;
    _EngResMode *modes = nullptr;
    _EngResMode *windowed_mode = nullptr;
    unsigned char *block = nullptr;
    bool owns_d3d = false;
    const EngDirect3D9 *d3d = nullptr;
};

// The anti-aliasing list's text for an entry ("Off", "4x4", "2x2 Level 3", ...); one buffer reused by every
// call. Null gives "(error)".
const char *EngResModesGetMultiSampleText_DX9(const _EngResModeAA *entry);
