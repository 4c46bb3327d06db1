#include "Engine/Graphics/EngDim.h"

#include "Engine/Core/EngProgram.h"
#include "Engine/Graphics/DX9/EngDimDX9.h"

void EngDimDraw(float alpha)
{
    if (eng_main_device_type == ENG_DEVICE_DX9)
        EngDimDraw_DX9(alpha);
}

void EngDimDestroy()
{
    if (eng_main_device_type == ENG_DEVICE_DX9)
        EngDimDestroy_DX9();
}
