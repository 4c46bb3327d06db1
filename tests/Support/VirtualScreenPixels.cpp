#include "Support/VirtualScreenPixels.h"

#include "Engine/Core/EngWindow.h"

bool ReadVirtualPixelsRGBA(const GLTestContext& gl, const _Dimension& area, std::vector<unsigned char>* rgba)
{
    return gl.ReadPixelsRGBA(int(area.x * eng_scale_x), int(area.y * eng_scale_y), int(area.w * eng_scale_x),
                             int(area.h * eng_scale_y), rgba);
}
