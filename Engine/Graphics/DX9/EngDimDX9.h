#pragma once

class EngVertexBufferDX9;

bool EngDimCreateVertexBuffer_DX9();
void EngDimSetAlpha_DX9(float alpha);
void EngDimDestroyVertexBuffer_DX9();
void EngDimDestroy_DX9();
void EngDimDraw_DX9(float alpha);
// The dimming quad (for inspection).
const EngVertexBufferDX9* EngDimGetQuad_DX9();
