#pragma once
// The device calls of Direct3D 9 that the engine makes, answered by an OpenGL 2.1 fixed-function context on
// an SDL window. Direct3D's conventions hold on this side of the interface: a viewport or rectangle counts
// from the top-left pixel, pixel centres lie on whole coordinates, clip-space depth runs 0..1, front faces
// are clockwise on screen, and matrices are row-major for row vectors.
// With lighting on and no lights, the global ambient is white, so material colours show as they are.
//
// Draws are collected (EngDrawBatchDX9) while they share layout and texture, and drawn together when a
// state they depend on is about to change, on a clear, a read-back, the end of the scene or the present.
// A state is passed to the GL only when it changes; while frames are drawn at once, the GL always holds what
// the device was told, and code that draws through the GL itself (tests) sees it.
//
// A batch whose texture stage only passes its texels on is drawn by a small GLSL program instead of the fixed
// function: the same pixels, and on llvmpipe a shorter per-pixel program (a screen-sized picture is most of a
// race frame's cost).
//
// With repeated frames skipped, a scene's calls are kept (EngFrameRecordDX9) and reach the GL at the present,
// unless they are the very calls of the frame on screen, made from the same states: then nothing is drawn or
// swapped, and the frame on screen stays. On software OpenGL an idle menu would otherwise fill every pixel
// sixty times a second. A read-back, a texture transfer or deletion, or anything else that needs the GL in
// the middle of a scene draws what was kept at once, and that frame is always presented.

#include "Engine/Graphics/DX9/EngD3DTypesDX9.h"
#include "Engine/Graphics/DX9/EngDrawBatchDX9.h"
#include "Engine/Graphics/DX9/EngFrameRecordDX9.h"

struct SDL_Window;

// Asks SDL for the context every device uses: OpenGL 2.1, compatibility profile.
void EngGLDeviceDX9SetContextAttributes();

class EngGLDeviceDX9 {
public:
    EngGLDeviceDX9() = default;
    ~EngGLDeviceDX9();
    EngGLDeviceDX9(const EngGLDeviceDX9 &) = delete;
    EngGLDeviceDX9 &operator=(const EngGLDeviceDX9 &) = delete;

    // Makes the context on the window (made with SDL_WINDOW_OPENGL), the multisampled target when asked,
    // and Direct3D's default states.
    HRESULT Create(SDL_Window *window, const D3DPRESENT_PARAMETERS *pp);
    // Deletes everything; returns the number of references left (always 0 here).
    int Release();
    bool IsCreated() const { return context != nullptr; }

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, EngUInt32 value);
    EngUInt32 GetRenderState(D3DRENDERSTATETYPE state) const;
    // How often a render state was sent since the device was made (to see that callers skip repeats).
    EngUInt32 GetRenderStateSendCount(D3DRENDERSTATETYPE state) const;
    HRESULT SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, EngUInt32 value);
    EngUInt32 GetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type) const;
    HRESULT SetSamplerState(int sampler, D3DSAMPLERSTATETYPE type, EngUInt32 value);
    // A GL texture name on a stage (0 = none); only stage 0 draws. It is the texture of draws that bring none.
    HRESULT SetTexture(int stage, unsigned int gl_texture);
    unsigned int GetTexture() const { return current.texture; }
    // The texture the GL has bound (the last batch's, or the one set).
    unsigned int GetBoundTexture() const { return bound_texture; }
    // Draws what was collected, then unbinds the texture wherever the device holds it: call before the
    // texture is deleted.
    void ForgetTexture(unsigned int gl_texture);
    HRESULT SetViewport(const D3DVIEWPORT9 *viewport);
    HRESULT GetViewport(D3DVIEWPORT9 *viewport) const;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const float matrix[16]);
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE type, float matrix[16]) const;
    HRESULT SetMaterial(const D3DMATERIAL9 *material);
    HRESULT SetScissorRect(const D3DRECT_LTRB *rect);
    // Clears the viewport (within the scissor rectangle when the scissor test is on).
    HRESULT Clear(EngUInt32 flags, D3DCOLOR colour, float z, EngUInt32 stencil);
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT Present();
    HRESULT TestCooperativeLevel() const;
    HRESULT GetBackBufferDesc(D3DSURFACE_DESC *desc) const;
    HRESULT GetDeviceCaps(D3DCAPS9 *caps) const;

    // Draws count vertices of a layout from memory, as a strip or a list of triangles, with a GL texture (0:
    // the one set through SetTexture). Pre-transformed layouts are in target pixels and never lit.
    void DrawVertices(const _EngVertexLayout *layout, const unsigned char *data, int count, bool strip,
                      unsigned int gl_texture);
    // Draws everything kept and collected, before code uses the GL itself (a texture transfer); the next frame
    // is drawn even when it repeats the last.
    void Flush();
    // Frames that repeat the one on screen are not drawn again (off when the device is made).
    void SetSkipRepeatedFrames(bool on);
    // The next frame is drawn even when it repeats the last (the window's pixels were lost).
    void RedrawNextFrame() { shown_valid = false; }
    // Draw calls that reached the GL since the device was made (to see that draws are batched).
    int GetDrawCallCount() const { return draw_calls; }
    // Which creation the current context is: a GL name made under another one is dead.
    unsigned int GetContextSerial() const { return context_serial; }

    // Waits for the GPU: method 1 through a fence, bounded to about 100 ms; method 0 by reading a pixel back.
    HRESULT WaitForGPU(int method);
    void ReleaseSyncObjects();
    // The frame as it would be presented: top row first, B, G, R, A bytes.
    bool ReadPixels(int x, int y, int w, int h, unsigned char *bgra);
    int GetTargetWidth() const { return target_width; }
    int GetTargetHeight() const { return target_height; }

    // Device loss does not happen under OpenGL; tests set it to drive the engine's recovery path: the next
    // Present answers D3DERR_DEVICELOST, and TestCooperativeLevel does until the loss is ended.
    void SimulateDeviceLoss(bool lost) { simulated_loss = lost; }

private:
    // What callers set, as Direct3D has it. Only 4-byte members, so two states compare byte for byte.
    struct State {
        EngUInt32 render_states[256];
        EngUInt32 stage_states[2][8];
        EngUInt32 min_filter;
        EngUInt32 mag_filter;
        unsigned int texture;
        D3DVIEWPORT9 viewport;
        D3DRECT_LTRB scissor;
        float projection[16];
        float view[16];
        float world[16];
        D3DMATERIAL9 material;
    };

    void FlushBatch();
    // True when the call went into the record instead of the GL.
    bool Recorded(EngFrameRecordDX9::Op op, const EngUInt32 *words, size_t count, const void *extra = nullptr,
                  size_t extra_size = 0);
    void DrawRecorded();
    void Replay(const EngFrameRecordDX9::Call &call);
    bool RepeatsShownFrame() const;
    void KeepAsShown(bool whole_frame);
    void ForgetFrames();
    void ApplyTransforms();
    void ApplyDefaultStates();
    void ApplyRenderState(D3DRENDERSTATETYPE state, EngUInt32 value);
    void SendMaterial();
    void BindTexture(unsigned int gl_texture);
    void BeginPixelSpace();
    void EndPixelSpace();
    void ApplyTextureEnvironment();
    void ApplyFilter();
    void CreateCopyProgram();
    bool CopiesTexels() const;
    void ApplyCull();
    void ApplyViewport();
    void ApplyScissor();
    bool CreateMultisampleTarget(int samples);
    void DeleteMultisampleTarget();
    void ResolveMultisampleTarget();
    void BindTarget();

    SDL_Window *window = nullptr;
    void *context = nullptr;
    D3DPRESENT_PARAMETERS present = {};
    int target_width = 0;
    int target_height = 0;
    unsigned int ms_framebuffer = 0;
    unsigned int ms_colour = 0;
    unsigned int ms_depth = 0;
    bool in_scene = false;
    bool simulated_loss = false;
    void *fence = nullptr;

    unsigned int context_serial = 0;
    bool forcing_states = false; // while the defaults are sent, equal values are sent too
    EngDrawBatchDX9 batch;
    int draw_calls = 0;
    unsigned int copy_program = 0; // 0 when the GL could not make it: the fixed function draws instead

    State current = {};
    EngUInt32 render_state_sends[256] = {};
    unsigned int bound_texture = 0;

    bool skip_repeated = false;
    bool recording = false;
    bool replaying = false;
    State frame_start = {};  // the states the recorded frame began from
    EngFrameRecordDX9 record;
    bool shown_valid = false; // the frame on screen is known whole: its calls and the states they began from
    State shown_start = {};
    EngFrameRecordDX9 shown;
};
