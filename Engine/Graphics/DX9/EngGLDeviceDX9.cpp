#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <cstring>
#include <vector>

#include "Engine/Graphics/EngMatrix.h"

namespace {

constexpr GLuint64 kFenceWaitNs = 100000000ull; // a frame that takes longer is not waited for
// Bounds a batch's memory; a frame of thousands of quads still takes only a few draws.
constexpr int kMaxBatchVertices = 1 << 16;
// A recorded draw: its layout's fields, vertex count, strip flag and texture, then the vertices.
constexpr size_t kDrawWords = 11;

// Texels passed on as they are, placed as the fixed function places them.
const char* const kCopyVertexShader = "#version 120\n"
                                      "void main() { gl_Position = ftransform(); gl_TexCoord[0] = gl_MultiTexCoord0; }\n";
const char* const kCopyFragmentShader = "#version 120\n"
                                        "uniform sampler2D texels;\n"
                                        "void main() { gl_FragColor = texture2D(texels, gl_TexCoord[0].xy); }\n";

GLuint CompileShader(GLenum kind, const char* source)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok)
        return shader;
    glDeleteShader(shader);
    return 0;
}

// Each creation of a context gets its own number, so a GL name kept from an older one is known as dead.
unsigned int context_serials = 0;

GLenum GLBlendFactor(EngUInt32 factor)
{
    switch (factor) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
    }
}

GLenum GLCompare(EngUInt32 func)
{
    switch (func) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

void ColourToFloats(D3DCOLOR colour, float out[4])
{
    out[0] = (float)((colour >> 16) & 0xFF) / 255.0f;
    out[1] = (float)((colour >> 8) & 0xFF) / 255.0f;
    out[2] = (float)(colour & 0xFF) / 255.0f;
    out[3] = (float)(colour >> 24) / 255.0f;
}

// Forgets errors of earlier calls, so the next check sees only its own (a lost context repeats its error).
void ClearGLErrors()
{
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; i++) {
    }
}

void SetCap(GLenum cap, bool on)
{
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

GLint GLSource(EngUInt32 arg)
{
    return (arg & 0xF) == D3DTA_TEXTURE ? GL_TEXTURE : GL_PRIMARY_COLOR;
}

// One channel (colour or alpha) of texture stage 0 as a GL_COMBINE function.
void ApplyCombine(bool alpha, EngUInt32 op, EngUInt32 arg1, EngUInt32 arg2)
{
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum src[3] = {alpha ? (GLenum)GL_SRC0_ALPHA : (GLenum)GL_SRC0_RGB, alpha ? (GLenum)GL_SRC1_ALPHA : (GLenum)GL_SRC1_RGB,
                           alpha ? (GLenum)GL_SRC2_ALPHA : (GLenum)GL_SRC2_RGB};
    const GLenum operand[3] = {alpha ? (GLenum)GL_OPERAND0_ALPHA : (GLenum)GL_OPERAND0_RGB,
                               alpha ? (GLenum)GL_OPERAND1_ALPHA : (GLenum)GL_OPERAND1_RGB,
                               alpha ? (GLenum)GL_OPERAND2_ALPHA : (GLenum)GL_OPERAND2_RGB};
    const GLint channel = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    for (int i = 0; i < 3; i++)
        glTexEnvi(GL_TEXTURE_ENV, operand[i], channel);
    switch (op) {
    case D3DTOP_SELECTARG1:
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, src[0], GLSource(arg1));
        break;
    case D3DTOP_SELECTARG2:
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, src[0], GLSource(arg2));
        break;
    case D3DTOP_BLENDTEXTUREALPHA:
        // arg1 x texture alpha + arg2 x (1 - texture alpha)
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_INTERPOLATE);
        glTexEnvi(GL_TEXTURE_ENV, src[0], GLSource(arg1));
        glTexEnvi(GL_TEXTURE_ENV, src[1], GLSource(arg2));
        glTexEnvi(GL_TEXTURE_ENV, src[2], GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, operand[2], GL_SRC_ALPHA);
        break;
    case D3DTOP_MODULATE:
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, src[0], GLSource(arg1));
        glTexEnvi(GL_TEXTURE_ENV, src[1], GLSource(arg2));
        break;
    default: // a disabled stage 0 passes the vertex colour
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, src[0], GL_PRIMARY_COLOR);
        break;
    }
}

} // namespace

void EngGLDeviceDX9SetContextAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
}

EngGLDeviceDX9::~EngGLDeviceDX9()
{
    Release();
}

HRESULT EngGLDeviceDX9::Create(SDL_Window *sdl_window, const D3DPRESENT_PARAMETERS *pp)
{
    if (!sdl_window || !pp)
        return D3DERR_INVALIDCALL;
    Release();
    EngGLDeviceDX9SetContextAttributes();
    SDL_GLContext created_context = SDL_GL_CreateContext(sdl_window);
    if (!created_context)
        return D3DERR_NOTAVAILABLE;
    window = sdl_window;
    context = created_context;
    context_serial = ++context_serials;
    present = *pp;
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(pp->PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    SDL_GL_GetDrawableSize(window, &target_width, &target_height);
    if (pp->MultiSampleType >= 2 && !CreateMultisampleTarget((int)pp->MultiSampleType)) {
        Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    ApplyDefaultStates();
    CreateCopyProgram();
    return D3D_OK;
}

void EngGLDeviceDX9::CreateCopyProgram()
{
    const GLuint vertex = CompileShader(GL_VERTEX_SHADER, kCopyVertexShader);
    const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, kCopyFragmentShader);
    GLint linked = GL_FALSE;
    if (vertex && fragment) {
        copy_program = glCreateProgram();
        glAttachShader(copy_program, vertex);
        glAttachShader(copy_program, fragment);
        glLinkProgram(copy_program);
        glGetProgramiv(copy_program, GL_LINK_STATUS, &linked);
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    if (!linked && copy_program) {
        glDeleteProgram(copy_program);
        copy_program = 0;
    }
    ClearGLErrors();
}

int EngGLDeviceDX9::Release()
{
    if (!context)
        return 0;
    SDL_GL_MakeCurrent(window, context);
    batch.Reset();
    ReleaseSyncObjects();
    DeleteMultisampleTarget();
    if (copy_program)
        glDeleteProgram(copy_program);
    copy_program = 0;
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext((SDL_GLContext)context);
    context = nullptr;
    window = nullptr;
    in_scene = false;
    current.texture = 0;
    bound_texture = 0;
    context_serial = 0;
    ForgetFrames();
    return 0;
}

bool EngGLDeviceDX9::CreateMultisampleTarget(int samples)
{
    GLint max_samples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &max_samples);
    if (samples > max_samples || target_width < 1 || target_height < 1)
        return false;
    glGenFramebuffers(1, &ms_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, ms_framebuffer);
    glGenRenderbuffers(1, &ms_colour);
    glBindRenderbuffer(GL_RENDERBUFFER, ms_colour);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, target_width, target_height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, ms_colour);
    glGenRenderbuffers(1, &ms_depth);
    glBindRenderbuffer(GL_RENDERBUFFER, ms_depth);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, target_width, target_height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, ms_depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        DeleteMultisampleTarget();
        return false;
    }
    return true;
}

void EngGLDeviceDX9::DeleteMultisampleTarget()
{
    if (!ms_framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &ms_framebuffer);
    glDeleteRenderbuffers(1, &ms_colour);
    glDeleteRenderbuffers(1, &ms_depth);
    ms_framebuffer = ms_colour = ms_depth = 0;
}

void EngGLDeviceDX9::ResolveMultisampleTarget()
{
    if (!ms_framebuffer)
        return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, ms_framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, target_width, target_height, 0, 0, target_width, target_height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void EngGLDeviceDX9::BindTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, ms_framebuffer);
}

void EngGLDeviceDX9::ApplyDefaultStates()
{
    memset(current.render_states, 0, sizeof(current.render_states));
    memset(render_state_sends, 0, sizeof(render_state_sends));
    batch.Reset();
    draw_calls = 0;
    ForgetFrames();
    forcing_states = true;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_NORMALIZE);
    glEnable(GL_RESCALE_NORMAL);
    // An X8 back buffer: destination alpha always reads 1.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    SetRenderState(D3DRS_ZENABLE, present.EnableAutoDepthStencil ? 1 : 0);
    SetRenderState(D3DRS_ZWRITEENABLE, 1);
    SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
    SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    SetRenderState(D3DRS_SPECULARENABLE, 0);
    SetRenderState(D3DRS_LIGHTING, 1);
    SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFFu);
    SetRenderState(D3DRS_LOCALVIEWER, 1);
    SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, 1);
    SetRenderState(D3DRS_SCISSORTESTENABLE, 0);
    current.stage_states[0][D3DTSS_COLOROP] = D3DTOP_MODULATE;
    current.stage_states[0][D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    current.stage_states[0][D3DTSS_COLORARG2] = D3DTA_CURRENT;
    current.stage_states[0][D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    current.stage_states[0][D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    current.stage_states[0][D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    current.stage_states[1][D3DTSS_COLOROP] = D3DTOP_DISABLE;
    current.stage_states[1][D3DTSS_ALPHAOP] = D3DTOP_DISABLE;
    ApplyTextureEnvironment();
    current.min_filter = current.mag_filter = D3DTEXF_POINT;
    current.texture = 0;
    BindTexture(0);
    current.material = {};
    SendMaterial();
    float identity[16];
    EngMatrixIdentity(identity);
    memcpy(current.projection, identity, sizeof(identity));
    memcpy(current.view, identity, sizeof(identity));
    memcpy(current.world, identity, sizeof(identity));
    current.viewport = {0, 0, (EngUInt32)target_width, (EngUInt32)target_height, 0.0f, 1.0f};
    current.scissor = {0, 0, target_width, target_height};
    ApplyViewport();
    ApplyScissor();
    forcing_states = false;
}

HRESULT EngGLDeviceDX9::SetRenderState(D3DRENDERSTATETYPE state, EngUInt32 value)
{
    if (!context || state < 0 || state >= 256)
        return D3DERR_INVALIDCALL;
    if (!replaying)
        render_state_sends[state]++;
    if (current.render_states[state] == value && !forcing_states)
        return D3D_OK;
    const EngUInt32 words[2] = {(EngUInt32)state, value};
    if (Recorded(EngFrameRecordDX9::kRenderState, words, 2)) {
        current.render_states[state] = value;
        return D3D_OK;
    }
    FlushBatch();
    current.render_states[state] = value;
    ApplyRenderState(state, value);
    return D3D_OK;
}

void EngGLDeviceDX9::ApplyRenderState(D3DRENDERSTATETYPE state, EngUInt32 value)
{
    switch (state) {
    case D3DRS_ZENABLE: SetCap(GL_DEPTH_TEST, value != 0); break;
    case D3DRS_ZWRITEENABLE: glDepthMask(value ? GL_TRUE : GL_FALSE); break;
    case D3DRS_ZFUNC: glDepthFunc(GLCompare(value)); break;
    case D3DRS_ALPHATESTENABLE: SetCap(GL_ALPHA_TEST, value != 0); break;
    case D3DRS_ALPHAREF:
    case D3DRS_ALPHAFUNC:
        glAlphaFunc(GLCompare(current.render_states[D3DRS_ALPHAFUNC]), (float)(current.render_states[D3DRS_ALPHAREF] & 0xFF) / 255.0f);
        break;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        glBlendFunc(GLBlendFactor(current.render_states[D3DRS_SRCBLEND]), GLBlendFactor(current.render_states[D3DRS_DESTBLEND]));
        break;
    case D3DRS_ALPHABLENDENABLE: SetCap(GL_BLEND, value != 0); break;
    case D3DRS_CULLMODE: ApplyCull(); break;
    case D3DRS_SPECULARENABLE:
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, value ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
        break;
    case D3DRS_LIGHTING: SetCap(GL_LIGHTING, value != 0); break;
    case D3DRS_AMBIENT: {
        float ambient[4];
        ColourToFloats(value, ambient);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        break;
    }
    case D3DRS_LOCALVIEWER: glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, value ? 1 : 0); break;
    case D3DRS_DIFFUSEMATERIALSOURCE:
        if (value == D3DMCS_MATERIAL) {
            glDisable(GL_COLOR_MATERIAL);
            SendMaterial(); // colour tracking may have overwritten the diffuse material
        } else {
            glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
            glEnable(GL_COLOR_MATERIAL);
        }
        break;
    case D3DRS_MULTISAMPLEANTIALIAS: SetCap(GL_MULTISAMPLE, value != 0); break;
    case D3DRS_SCISSORTESTENABLE: SetCap(GL_SCISSOR_TEST, value != 0); break;
    default: break;
    }
}

EngUInt32 EngGLDeviceDX9::GetRenderState(D3DRENDERSTATETYPE state) const
{
    if (state < 0 || state >= 256)
        return 0;
    return current.render_states[state];
}

EngUInt32 EngGLDeviceDX9::GetRenderStateSendCount(D3DRENDERSTATETYPE state) const
{
    if (state < 0 || state >= 256)
        return 0;
    return render_state_sends[state];
}

void EngGLDeviceDX9::ApplyCull()
{
    const EngUInt32 mode = current.render_states[D3DRS_CULLMODE];
    if (mode == D3DCULL_NONE) {
        glDisable(GL_CULL_FACE);
        return;
    }
    // Clockwise on screen is the front, as Direct3D has it.
    glFrontFace(GL_CW);
    glCullFace(mode == D3DCULL_CW ? GL_FRONT : GL_BACK);
    glEnable(GL_CULL_FACE);
}

HRESULT EngGLDeviceDX9::SetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type, EngUInt32 value)
{
    if (!context || stage < 0 || stage > 1 || type < D3DTSS_COLOROP || type > D3DTSS_ALPHAARG2)
        return D3DERR_INVALIDCALL;
    if (current.stage_states[stage][type] == value)
        return D3D_OK;
    const EngUInt32 words[3] = {(EngUInt32)stage, (EngUInt32)type, value};
    if (Recorded(EngFrameRecordDX9::kStageState, words, 3)) {
        current.stage_states[stage][type] = value;
        return D3D_OK;
    }
    if (stage == 0)
        FlushBatch();
    current.stage_states[stage][type] = value;
    if (stage == 0)
        ApplyTextureEnvironment();
    return D3D_OK;
}

EngUInt32 EngGLDeviceDX9::GetTextureStageState(int stage, D3DTEXTURESTAGESTATETYPE type) const
{
    if (stage < 0 || stage > 1 || type < D3DTSS_COLOROP || type > D3DTSS_ALPHAARG2)
        return 0;
    return current.stage_states[stage][type];
}

void EngGLDeviceDX9::ApplyTextureEnvironment()
{
    const EngUInt32 *s = current.stage_states[0];
    glActiveTexture(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    ApplyCombine(false, s[D3DTSS_COLOROP], s[D3DTSS_COLORARG1], s[D3DTSS_COLORARG2]);
    ApplyCombine(true, s[D3DTSS_ALPHAOP], s[D3DTSS_ALPHAARG1], s[D3DTSS_ALPHAARG2]);
}

HRESULT EngGLDeviceDX9::SetSamplerState(int sampler, D3DSAMPLERSTATETYPE type, EngUInt32 value)
{
    if (!context || sampler != 0)
        return D3DERR_INVALIDCALL;
    EngUInt32 *filter = type == D3DSAMP_MAGFILTER ? &current.mag_filter : type == D3DSAMP_MINFILTER ? &current.min_filter : nullptr;
    if (!filter)
        return D3DERR_INVALIDCALL;
    if (*filter == value)
        return D3D_OK;
    const EngUInt32 words[2] = {(EngUInt32)type, value};
    if (Recorded(EngFrameRecordDX9::kSamplerState, words, 2)) {
        *filter = value;
        return D3D_OK;
    }
    FlushBatch();
    *filter = value;
    ApplyFilter();
    return D3D_OK;
}

void EngGLDeviceDX9::ApplyFilter()
{
    if (!bound_texture)
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, current.min_filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, current.mag_filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
}

HRESULT EngGLDeviceDX9::SetTexture(int stage, unsigned int gl_texture)
{
    if (!context || stage < 0 || stage > 1)
        return D3DERR_INVALIDCALL;
    if (stage != 0)
        return D3D_OK;
    // A kept frame binds its textures when it is drawn; only a change of the current one is kept.
    const EngUInt32 words[1] = {gl_texture};
    if (gl_texture != current.texture)
        Recorded(EngFrameRecordDX9::kTexture, words, 1);
    current.texture = gl_texture;
    if (recording || gl_texture == bound_texture)
        return D3D_OK;
    FlushBatch();
    BindTexture(gl_texture);
    return D3D_OK;
}

void EngGLDeviceDX9::BindTexture(unsigned int gl_texture)
{
    // Without a texture the vertex colour is drawn.
    if ((gl_texture != 0) != (bound_texture != 0) || forcing_states)
        SetCap(GL_TEXTURE_2D, gl_texture != 0);
    bound_texture = gl_texture;
    glBindTexture(GL_TEXTURE_2D, gl_texture);
    ApplyFilter();
}

void EngGLDeviceDX9::ForgetTexture(unsigned int gl_texture)
{
    if (!context || !gl_texture)
        return;
    Flush();
    if (current.texture == gl_texture)
        current.texture = 0;
    if (bound_texture == gl_texture)
        BindTexture(0);
}

HRESULT EngGLDeviceDX9::SetViewport(const D3DVIEWPORT9 *new_viewport)
{
    if (!context || !new_viewport)
        return D3DERR_INVALIDCALL;
    if (memcmp(&current.viewport, new_viewport, sizeof(current.viewport)) == 0)
        return D3D_OK;
    if (Recorded(EngFrameRecordDX9::kViewport, nullptr, 0, new_viewport, sizeof(*new_viewport))) {
        current.viewport = *new_viewport;
        return D3D_OK;
    }
    FlushBatch();
    current.viewport = *new_viewport;
    ApplyViewport();
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::GetViewport(D3DVIEWPORT9 *out) const
{
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = current.viewport;
    return D3D_OK;
}

void EngGLDeviceDX9::ApplyViewport()
{
    const int w = (int)current.viewport.Width, h = (int)current.viewport.Height;
    glViewport((GLint)current.viewport.X, target_height - (int)current.viewport.Y - h, w > 0 ? w : 0, h > 0 ? h : 0);
    glDepthRange(current.viewport.MinZ, current.viewport.MaxZ);
    ApplyTransforms();
}

void EngGLDeviceDX9::ApplyTransforms()
{
    if (!context)
        return;
    // Clip-space corrections: pixel centres on whole coordinates (half a pixel right and down) and depth
    // 0..1 spread to GL's -1..1. Rows are flipped against Direct3D, so an edge through pixel centres would
    // take the bottom row instead of the top one: a sliver of a pixel upwards keeps Direct3D's top-left rule.
    const float w = current.viewport.Width ? (float)current.viewport.Width : 1.0f;
    const float h = current.viewport.Height ? (float)current.viewport.Height : 1.0f;
    const float down = 0.5f - 1.0f / 64.0f;
    const float adjust[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 1.0f / w, -2.0f * down / h, -1, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(adjust);
    glMultMatrixf(current.projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(current.view);
    glMultMatrixf(current.world);
}

HRESULT EngGLDeviceDX9::SetTransform(D3DTRANSFORMSTATETYPE type, const float matrix[16])
{
    if (!context || !matrix)
        return D3DERR_INVALIDCALL;
    float *target = type == D3DTS_PROJECTION ? current.projection : type == D3DTS_VIEW ? current.view : type == D3DTS_WORLD ? current.world : nullptr;
    if (!target)
        return D3DERR_INVALIDCALL;
    if (memcmp(target, matrix, sizeof(float) * 16) == 0)
        return D3D_OK;
    const EngUInt32 words[1] = {(EngUInt32)type};
    if (Recorded(EngFrameRecordDX9::kTransform, words, 1, matrix, sizeof(float) * 16)) {
        memcpy(target, matrix, sizeof(float) * 16);
        return D3D_OK;
    }
    FlushBatch();
    memcpy(target, matrix, sizeof(float) * 16);
    ApplyTransforms();
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::GetTransform(D3DTRANSFORMSTATETYPE type, float matrix[16]) const
{
    const float *source = type == D3DTS_PROJECTION ? current.projection : type == D3DTS_VIEW ? current.view : type == D3DTS_WORLD ? current.world : nullptr;
    if (!source || !matrix)
        return D3DERR_INVALIDCALL;
    memcpy(matrix, source, sizeof(float) * 16);
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::SetMaterial(const D3DMATERIAL9 *new_material)
{
    if (!context || !new_material)
        return D3DERR_INVALIDCALL;
    if (memcmp(&current.material, new_material, sizeof(current.material)) == 0)
        return D3D_OK;
    if (Recorded(EngFrameRecordDX9::kMaterial, nullptr, 0, new_material, sizeof(*new_material))) {
        current.material = *new_material;
        return D3D_OK;
    }
    FlushBatch();
    current.material = *new_material;
    SendMaterial();
    return D3D_OK;
}

void EngGLDeviceDX9::SendMaterial()
{
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &current.material.Diffuse.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &current.material.Ambient.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, &current.material.Specular.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &current.material.Emissive.r);
    const float power = current.material.Power < 0.0f ? 0.0f : current.material.Power > 128.0f ? 128.0f : current.material.Power;
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, power);
}

HRESULT EngGLDeviceDX9::SetScissorRect(const D3DRECT_LTRB *rect)
{
    if (!context || !rect)
        return D3DERR_INVALIDCALL;
    if (memcmp(&current.scissor, rect, sizeof(current.scissor)) == 0)
        return D3D_OK;
    if (Recorded(EngFrameRecordDX9::kScissor, nullptr, 0, rect, sizeof(*rect))) {
        current.scissor = *rect;
        return D3D_OK;
    }
    FlushBatch();
    current.scissor = *rect;
    ApplyScissor();
    return D3D_OK;
}

void EngGLDeviceDX9::ApplyScissor()
{
    // GL refuses negative sizes: an empty or inverted rectangle becomes an empty one.
    const int w = current.scissor.right > current.scissor.left ? current.scissor.right - current.scissor.left : 0;
    const int h = current.scissor.bottom > current.scissor.top ? current.scissor.bottom - current.scissor.top : 0;
    glScissor(current.scissor.left, target_height - current.scissor.top - h, w, h);
}

HRESULT EngGLDeviceDX9::Clear(EngUInt32 flags, D3DCOLOR colour, float z, EngUInt32 stencil)
{
    if (!context)
        return D3DERR_INVALIDCALL;
    EngUInt32 words[4] = {flags, colour, 0, stencil};
    memcpy(&words[2], &z, sizeof(z));
    if (Recorded(EngFrameRecordDX9::kClear, words, 4))
        return D3D_OK;
    FlushBatch();
    D3DRECT_LTRB area = {(EngInt32)current.viewport.X, (EngInt32)current.viewport.Y, (EngInt32)(current.viewport.X + current.viewport.Width),
                         (EngInt32)(current.viewport.Y + current.viewport.Height)};
    if (current.render_states[D3DRS_SCISSORTESTENABLE]) {
        area.left = area.left > current.scissor.left ? area.left : current.scissor.left;
        area.top = area.top > current.scissor.top ? area.top : current.scissor.top;
        area.right = area.right < current.scissor.right ? area.right : current.scissor.right;
        area.bottom = area.bottom < current.scissor.bottom ? area.bottom : current.scissor.bottom;
    }
    const D3DRECT_LTRB kept = current.scissor;
    current.scissor = area;
    ApplyScissor();
    glEnable(GL_SCISSOR_TEST);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float rgba[4];
        ColourToFloats(colour, rgba);
        glClearColor(rgba[0], rgba[1], rgba[2], 1.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glClearStencil((GLint)stencil);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glDepthMask(current.render_states[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    current.scissor = kept;
    ApplyScissor();
    SetCap(GL_SCISSOR_TEST, current.render_states[D3DRS_SCISSORTESTENABLE] != 0);
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::BeginScene()
{
    if (!context || in_scene)
        return D3DERR_INVALIDCALL;
    SDL_GL_MakeCurrent(window, context);
    BindTarget();
    in_scene = true;
    // A second scene before the present goes on with the same frame and the states it began from.
    if (skip_repeated && !recording) {
        frame_start = current;
        recording = true;
    }
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::EndScene()
{
    if (!context || !in_scene)
        return D3DERR_INVALIDCALL;
    FlushBatch();
    in_scene = false;
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::Present()
{
    if (!context)
        return D3DERR_INVALIDCALL;
    if (recording && !simulated_loss && RepeatsShownFrame()) {
        // Everything the frame would draw is on screen already.
        recording = false;
        record.Clear();
        return D3D_OK;
    }
    const bool whole_frame = recording;
    DrawRecorded();
    FlushBatch();
    KeepAsShown(whole_frame && !simulated_loss);
    if (simulated_loss)
        return D3DERR_DEVICELOST;
    ResolveMultisampleTarget();
    SDL_GL_SwapWindow(window);
    BindTarget();
    return D3D_OK;
}

bool EngGLDeviceDX9::RepeatsShownFrame() const
{
    return shown_valid && memcmp(&frame_start, &shown_start, sizeof(State)) == 0 && record.SameCalls(shown);
}

void EngGLDeviceDX9::KeepAsShown(bool whole_frame)
{
    shown_valid = whole_frame;
    if (whole_frame) {
        shown.Swap(record);
        shown_start = frame_start;
    }
    record.Clear();
}

void EngGLDeviceDX9::ForgetFrames()
{
    recording = false;
    record.Clear();
    shown_valid = false;
    shown.Clear();
}

void EngGLDeviceDX9::SetSkipRepeatedFrames(bool on)
{
    if (!on)
        Flush();
    skip_repeated = on;
}

bool EngGLDeviceDX9::Recorded(EngFrameRecordDX9::Op op, const EngUInt32 *words, size_t count, const void *extra,
                              size_t extra_size)
{
    if (!recording)
        return false;
    record.Add(op, words, count * sizeof(EngUInt32), extra, extra_size);
    return true;
}

void EngGLDeviceDX9::DrawRecorded()
{
    if (!recording)
        return;
    // The GL still holds the states the frame began from; the calls bring it to where the callers are now.
    recording = false;
    current = frame_start;
    replaying = true;
    record.ForEach([this](const EngFrameRecordDX9::Call &call) { Replay(call); });
    replaying = false;
}

void EngGLDeviceDX9::Replay(const EngFrameRecordDX9::Call &call)
{
    EngUInt32 w[16] = {};
    const size_t words = call.size / sizeof(EngUInt32) < 16 ? call.size / sizeof(EngUInt32) : 16;
    memcpy(w, call.args, words * sizeof(EngUInt32));
    switch (call.op) {
    case EngFrameRecordDX9::kRenderState: SetRenderState((D3DRENDERSTATETYPE)w[0], w[1]); break;
    case EngFrameRecordDX9::kStageState: SetTextureStageState((int)w[0], (D3DTEXTURESTAGESTATETYPE)w[1], w[2]); break;
    case EngFrameRecordDX9::kSamplerState: SetSamplerState(0, (D3DSAMPLERSTATETYPE)w[0], w[1]); break;
    case EngFrameRecordDX9::kTexture: SetTexture(0, w[0]); break;
    case EngFrameRecordDX9::kViewport: {
        D3DVIEWPORT9 viewport;
        memcpy(&viewport, call.args, sizeof(viewport));
        SetViewport(&viewport);
        break;
    }
    case EngFrameRecordDX9::kTransform: {
        float matrix[16];
        memcpy(matrix, call.args + sizeof(EngUInt32), sizeof(matrix));
        SetTransform((D3DTRANSFORMSTATETYPE)w[0], matrix);
        break;
    }
    case EngFrameRecordDX9::kMaterial: {
        D3DMATERIAL9 material;
        memcpy(&material, call.args, sizeof(material));
        SetMaterial(&material);
        break;
    }
    case EngFrameRecordDX9::kScissor: {
        D3DRECT_LTRB rect;
        memcpy(&rect, call.args, sizeof(rect));
        SetScissorRect(&rect);
        break;
    }
    case EngFrameRecordDX9::kClear: {
        float z;
        memcpy(&z, &w[2], sizeof(z));
        Clear(w[0], w[1], z, w[3]);
        break;
    }
    case EngFrameRecordDX9::kDraw: {
        const _EngVertexLayout layout = {(int)w[0], w[1], (int)w[2], (int)w[3], (int)w[4], (int)w[5], (int)w[6], w[7] != 0};
        const size_t head = kDrawWords * sizeof(EngUInt32);
        DrawVertices(&layout, call.args + head, (int)w[8], w[9] != 0, w[10]);
        break;
    }
    }
}

HRESULT EngGLDeviceDX9::TestCooperativeLevel() const
{
    if (simulated_loss)
        return D3DERR_DEVICELOST;
    return context ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT EngGLDeviceDX9::GetBackBufferDesc(D3DSURFACE_DESC *desc) const
{
    if (!context || !desc)
        return D3DERR_INVALIDCALL;
    desc->Format = present.BackBufferFormat;
    desc->MultiSampleType = present.MultiSampleType;
    desc->MultiSampleQuality = present.MultiSampleQuality;
    desc->Width = (EngUInt32)target_width;
    desc->Height = (EngUInt32)target_height;
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::GetDeviceCaps(D3DCAPS9 *caps) const
{
    if (!context || !caps)
        return D3DERR_INVALIDCALL;
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->AdapterOrdinal = 0;
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    caps->MaxTextureWidth = caps->MaxTextureHeight = (EngUInt32)max_size;
    return D3D_OK;
}

HRESULT EngGLDeviceDX9::WaitForGPU(int method)
{
    if (!context)
        return D3DERR_INVALIDCALL;
    FlushBatch();
    if (method == 0) {
        // A read-back cannot finish before the GPU has drawn everything before it.
        ClearGLErrors();
        unsigned char pixel[4];
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(0, 0, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, pixel);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, ms_framebuffer);
        return glGetError() == GL_NO_ERROR ? D3D_OK : E_FAIL;
    }
    if (fence)
        glDeleteSync((GLsync)fence);
    fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    if (!fence)
        return E_FAIL;
    const GLenum answer = glClientWaitSync((GLsync)fence, GL_SYNC_FLUSH_COMMANDS_BIT, kFenceWaitNs);
    return answer == GL_WAIT_FAILED ? E_FAIL : D3D_OK;
}

void EngGLDeviceDX9::ReleaseSyncObjects()
{
    if (fence && context)
        glDeleteSync((GLsync)fence);
    fence = nullptr;
}

bool EngGLDeviceDX9::ReadPixels(int x, int y, int w, int h, unsigned char *bgra)
{
    if (!context || !bgra || w < 1 || h < 1 || x < 0 || y < 0 || x + w > target_width || y + h > target_height)
        return false;
    SDL_GL_MakeCurrent(window, context);
    DrawRecorded();
    FlushBatch();
    ResolveMultisampleTarget();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    std::vector<unsigned char> rows((size_t)w * (size_t)h * 4);
    ClearGLErrors();
    glReadPixels(x, target_height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    BindTarget();
    const size_t pitch = (size_t)w * 4;
    for (int row = 0; row < h; row++)
        memcpy(bgra + (size_t)row * pitch, rows.data() + (size_t)(h - 1 - row) * pitch, pitch);
    return glGetError() == GL_NO_ERROR;
}

void EngGLDeviceDX9::DrawVertices(const _EngVertexLayout *layout, const unsigned char *data, int count, bool strip,
                                  unsigned int gl_texture)
{
    if (!context || !layout || !data || count < 3)
        return;
    if (layout->uv_offset < 0)
        gl_texture = 0;
    else if (!gl_texture)
        gl_texture = current.texture;
    if (recording) {
        const EngUInt32 words[kDrawWords] = {
            (EngUInt32)layout->stride,        layout->fvf,
            (EngUInt32)layout->position_size, (EngUInt32)layout->normal_offset,
            (EngUInt32)layout->colour_offset, (EngUInt32)layout->specular_offset,
            (EngUInt32)layout->uv_offset,     layout->pre_transformed ? 1u : 0u,
            (EngUInt32)count,                 strip ? 1u : 0u,
            gl_texture,
        };
        Recorded(EngFrameRecordDX9::kDraw, words, kDrawWords, data, (size_t)count * (size_t)layout->stride);
        return;
    }
    const bool joins = batch.Accepts(layout, gl_texture) && batch.GetVertexCount() + count <= kMaxBatchVertices;
    if (!joins || batch.IsEmpty()) {
        FlushBatch();
        batch.Begin(layout, gl_texture);
    }
    batch.Append(data, count, strip);
}

void EngGLDeviceDX9::Flush()
{
    if (!context)
        return;
    DrawRecorded();
    shown_valid = false;
    FlushBatch();
}

void EngGLDeviceDX9::FlushBatch()
{
    if (batch.IsEmpty() || !context)
        return;
    if (batch.GetTexture() != bound_texture)
        BindTexture(batch.GetTexture());
    const bool pixels = batch.IsPreTransformed();
    if (pixels)
        BeginPixelSpace();
    // The program is the GL's only while it draws: code that draws through the GL itself finds the fixed function.
    const bool copy = CopiesTexels();
    if (copy)
        glUseProgram(copy_program);
    batch.Draw();
    if (copy)
        glUseProgram(0);
    draw_calls++;
    if (pixels)
        EndPixelSpace();
}

bool EngGLDeviceDX9::CopiesTexels() const
{
    const EngUInt32 *s = current.stage_states[0];
    const bool colour = s[D3DTSS_COLOROP] == D3DTOP_SELECTARG1 && (s[D3DTSS_COLORARG1] & 0xF) == D3DTA_TEXTURE;
    const bool alpha = (s[D3DTSS_ALPHAOP] == D3DTOP_SELECTARG1 && (s[D3DTSS_ALPHAARG1] & 0xF) == D3DTA_TEXTURE) ||
                       (s[D3DTSS_ALPHAOP] == D3DTOP_SELECTARG2 && (s[D3DTSS_ALPHAARG2] & 0xF) == D3DTA_TEXTURE);
    // Lit specular light is added after the texture stage; the program would leave it out.
    return copy_program && bound_texture && colour && alpha && !current.render_states[D3DRS_SPECULARENABLE];
}

void EngGLDeviceDX9::BeginPixelSpace()
{
    // Pre-transformed vertices are in target pixels with pixel centres on whole numbers; this projection puts
    // them where Direct3D would, so a pixel-aligned rectangle grown by half a pixel covers exactly its pixels.
    // The viewport only clips them, as it does there, and they are never lit.
    const float w = current.viewport.Width > 0 ? (float)current.viewport.Width : 1.0f;
    const float h = current.viewport.Height > 0 ? (float)current.viewport.Height : 1.0f;
    const float x0 = (float)current.viewport.X;
    const float y0 = (float)current.viewport.Y;
    const float m[16] = {
        2.0f / w, 0, 0, 0, 0, -2.0f / h, 0, 0, 0, 0, 2.0f, 0,
        2.0f * (0.5f - x0) / w - 1.0f, 1.0f - 2.0f * (0.5f - y0) / h, -1.0f, 1.0f,
    };
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixf(m);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (current.render_states[D3DRS_LIGHTING])
        glDisable(GL_LIGHTING);
}

void EngGLDeviceDX9::EndPixelSpace()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    if (current.render_states[D3DRS_LIGHTING])
        glEnable(GL_LIGHTING);
}
