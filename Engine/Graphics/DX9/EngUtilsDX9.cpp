#include "Engine/Graphics/DX9/EngUtilsDX9.h"

#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngDirect3DDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"

const _EngKnownFormat eng_known_formats[ENG_NUM_KNOWN_FORMATS] = {
    {D3DFMT_X8R8G8B8, 32, false}, {D3DFMT_A8R8G8B8, 32, true}, {D3DFMT_R5G6B5, 16, false},
    {D3DFMT_X1R5G5B5, 16, false}, {D3DFMT_A1R5G5B5, 16, true}, {D3DFMT_X4R4G4B4, 16, false},
    {D3DFMT_A4R4G4B4, 16, true},  {D3DFMT_R8G8B8, 24, false},
};

namespace {

struct ResultText {
    HRESULT result;
    const char *text;
};

constexpr ResultText result_texts[] = {
    {E_FAIL, "An undetermined error occurred inside the Direct3D subsystem."},
    {E_NOINTERFACE, "No object interface is available."},
    {E_NOTIMPL, "Not implemented."},
    {E_OUTOFMEMORY, "Direct3D could not allocate sufficient memory to complete the call."},
    {E_INVALIDARG, "An invalid parameter was passed to the returning function."},
    {D3DERR_WASSTILLDRAWING, "The previous blit operation that is transferring information to or from this surface is incomplete."},
    {D3DERR_OUTOFVIDEOMEMORY, "Direct3D does not have enough display memory to perform the operation."},
    {D3DERR_WRONGTEXTUREFORMAT, "The pixel format of the texture surface is not valid."},
    {D3DERR_CONFLICTINGRENDERSTATE, "The currently set render states cannot be used together."},
    {D3DERR_CONFLICTINGTEXTUREFILTER, "The current texture filters cannot be used together."},
    {D3DERR_CONFLICTINGTEXTUREPALETTE, "The current textures cannot be used simultaneously."},
    {D3DERR_DEVICELOST, "The device has been lost but cannot be reset at this time. Therefore, rendering is not possible."},
    {D3DERR_DEVICENOTRESET, "The device has been lost but can be reset at this time."},
    {D3DERR_DRIVERINTERNALERROR, "Internal driver error."},
    {D3DERR_DRIVERINVALIDCALL, "Not used."},
    {D3DERR_INVALIDCALL, "The method call is invalid."},
    {D3DERR_INVALIDDEVICE, "The requested device type is not valid."},
    {D3DERR_MOREDATA, "There is more data available than the specified buffer size can hold."},
    {D3DERR_NOTAVAILABLE, "This device does not support the queried technique."},
    {D3DERR_NOTFOUND, "The requested item was not found."},
    {D3DERR_TOOMANYOPERATIONS, "The application is requesting more texture-filtering operations than the device supports."},
    {D3DERR_UNSUPPORTEDALPHAARG, "The device does not support a specified texture-blending argument for the alpha channel."},
    {D3DERR_UNSUPPORTEDALPHAOPERATION, "The device does not support a specified texture-blending operation for the alpha channel."},
    {D3DERR_UNSUPPORTEDCOLORARG, "The device does not support a specified texture-blending argument for color values."},
    {D3DERR_UNSUPPORTEDCOLOROPERATION, "The device does not support a specified texture-blending operation for color values."},
    {D3DERR_UNSUPPORTEDFACTORVALUE, "The device does not support the specified texture factor value."},
    {D3DERR_UNSUPPORTEDTEXTUREFILTER, "The device does not support the specified texture filter."},
    {(HRESULT)0x88760B54u, "Index buffer cannot be modified."},
    {(HRESULT)0x88760B55u, "The mesh is invalid."},
    {(HRESULT)0x88760B56u, "Attribute sort (D3DXMESHOPT_ATTRSORT) is not supported as an optimization technique."},
    {(HRESULT)0x88760B57u, "Skinning is not supported."},
    {(HRESULT)0x88760B58u, "Too many influences specified."},
    {(HRESULT)0x88760B59u, "The data is invalid."},
    {(HRESULT)0x88760B5Au, "The mesh has no data."},
    {(HRESULT)0x88760B5Bu, "A fragment with that name already exists."},
    {(HRESULT)0x88760B5Cu, "The last item cannot be deleted."},
    {(HRESULT)0x88760384u, "D3DXFERR_BADOBJECT"},
    {(HRESULT)0x88760385u, "D3DXFERR_BADVALUE"},
    {(HRESULT)0x88760386u, "D3DXFERR_BADTYPE"},
    {(HRESULT)0x88760387u, "D3DXFERR_NOTFOUND"},
    {(HRESULT)0x88760388u, "D3DXFERR_NOTDONEYET"},
    {(HRESULT)0x88760389u, "D3DXFERR_FILENOTFOUND"},
    {(HRESULT)0x8876038Au, "D3DXFERR_RESOURCENOTFOUND"},
    {(HRESULT)0x8876038Bu, "D3DXFERR_BADRESOURCE"},
    {(HRESULT)0x8876038Cu, "D3DXFERR_BADFILETYPE"},
    {(HRESULT)0x8876038Du, "D3DXFERR_BADFILEVERSION"},
    {(HRESULT)0x8876038Eu, "D3DXFERR_BADFILEFLOATSIZE"},
    {(HRESULT)0x8876038Fu, "D3DXFERR_BADFILE"},
    {(HRESULT)0x88760390u, "D3DXFERR_PARSEERROR"},
    {(HRESULT)0x88760391u, "D3DXFERR_BADARRAYSIZE"},
    {(HRESULT)0x88760392u, "D3DXFERR_BADDATAREFERENCE"},
    {(HRESULT)0x88760393u, "D3DXFERR_NOMOREOBJECTS"},
    {(HRESULT)0x88760394u, "D3DXFERR_NOMOREDATA"},
    {(HRESULT)0x88760395u, "D3DXFERR_BADCACHEFILE"},
    {D3DOK_NOAUTOGEN, "This is a success code. However, the autogeneration of mipmaps is not supported for this format. This means that resource creation will succeed but the mipmap levels will not be automatically generated."},
};

} // namespace

const char *EngUtilsDX9_ResultText(HRESULT result, char *buffer, int buffer_size)
{
    for (const ResultText &entry : result_texts) {
        if (entry.result == result)
            return entry.text;
    }
    snprintf(buffer, (size_t)buffer_size, "Unknown error <0x%x>", (unsigned)result);
    return buffer;
}

bool EngUtilsDX9_CheckResult(const char *function_name, const char *call_name, HRESULT result)
{
    if (result == D3D_OK)
        return true;
    char buffer[64];
    DebugError(function_name ? function_name : ENG_FUNC, "%s: %s", call_name ? call_name : "",
               EngUtilsDX9_ResultText(result, buffer, (int)sizeof(buffer)));
    return false;
}

namespace {
EngDirect3D9 *shared_d3d = nullptr;
}

const EngDirect3D9 *EngUtilsDX9_CreateD3D(bool show_popup)
{
    if (shared_d3d) {
        DebugInfoQuick(ENG_FUNC, "D3d object already created");
        return shared_d3d;
    }
    shared_d3d = new EngDirect3D9;
    if (EngDirect3DDX9ProbeSystem(shared_d3d, nullptr))
        return shared_d3d;
    delete shared_d3d;
    shared_d3d = nullptr;
    DebugError(ENG_FUNC, "Could not create d3d object");
    if (show_popup)
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "OpenGL 2.1 Not Detected",
                                "OpenGL version 2.1 or later does not appear to be installed on your system.\n\n"
                                "To get the latest version of OpenGL, go to:\n\nhttps://www.mesa3d.org/");
    return nullptr;
}

void EngUtilsDX9_ReleaseD3D()
{
    if (!shared_d3d) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NSTP);
        return;
    }
    delete shared_d3d;
    shared_d3d = nullptr;
}

bool EngUtilsDX9_GetSupportedSurfaceFormat(D3DFORMAT *format, bool alpha)
{
    if (!format || !eng_d3d_device || !eng_d3d_device->IsCreated())
        return false;
    static const D3DFORMAT alpha_kind[] = {D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4};
    static const D3DFORMAT plain_kind[] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_X4R4G4B4, D3DFMT_R5G6B5};
    for (int round = 0; round < 2; round++) {
        const bool want_alpha = round == 0 ? alpha : !alpha;
        if (round == 1)
            DebugInfoQuick(ENG_FUNC, alpha ? "Could not get alpha channel. Using non-alpha."
                                           : "Could not get non alpha channel. Trying alpha.");
        const D3DFORMAT *list = want_alpha ? alpha_kind : plain_kind;
        const int count = want_alpha ? 3 : 4;
        for (int i = 0; i < count; i++) {
            if (EngUtilsDX9_GetBitdepthFromFormat(list[i], nullptr, false) > 0) {
                *format = list[i];
                return true;
            }
        }
    }
    DebugError(ENG_FUNC, "Could not get a format.");
    *format = D3DFMT_UNKNOWN;
    return false;
}

int EngUtilsDX9_GetBitdepthFromFormat(D3DFORMAT format, bool *has_alpha, bool log_unknown)
{
    for (const _EngKnownFormat &known : eng_known_formats) {
        if (known.format != format)
            continue;
        if (has_alpha)
            *has_alpha = known.has_alpha;
        return known.bit_depth;
    }
    if (log_unknown)
        DebugError(ENG_FUNC, "Unrecognised format [%d]", (int)format);
    return 0;
}
