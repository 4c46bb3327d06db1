#include "Engine/Graphics/EngTriangleList.h"

#include "Engine/Core/EngProgram.h"

namespace {

bool IsDX9()
{
    return eng_main_device_type == ENG_DEVICE_DX9;
}

} // namespace

EngTriangleList::EngTriangleList()
    : m_created(false), m_type(ETLT_POS_TEX), m_texture(nullptr), m_num_triangles(0), m_stride(0),
      m_buffer(nullptr), m_fvf(0)
{
}

EngTriangleList::~EngTriangleList()
{
    Destroy_DX9();
}

bool EngTriangleList::Create(_EngTriangleListType type, EngTexture* texture, unsigned int count)
{
    return IsDX9() && Create_DX9(type, texture, count);
}

bool EngTriangleList::SetPositions(unsigned int index, float x0, float y0, float z0, float x1, float y1, float z1,
                                   float x2, float y2, float z2)
{
    return IsDX9() && SetPositions_DX9(index, x0, y0, z0, x1, y1, z1, x2, y2, z2);
}

bool EngTriangleList::SetColour(unsigned int index, float r, float g, float b, float a)
{
    return IsDX9() && SetColour_DX9(index, r, g, b, a);
}

bool EngTriangleList::Draw()
{
    return IsDX9() && Draw_DX9();
}

void EngTriangleList::Destroy()
{
    if (IsDX9())
        Destroy_DX9();
}
