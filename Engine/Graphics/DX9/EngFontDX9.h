#pragma once

// The device side of text: the colour goes into the material (lighting on, with the material as the
// diffuse source). The glyph sheets' upload (EngFont::CreateTextureFromData_DX9, CopySheetDataToTexture)
// lives beside these in EngFontDX9.cpp.

void EngFontDX9_SetMaterialColour(const float* rgba);
// Diffuse colour from the material (text) or from the vertices (everything else).
void EngFontDX9_SetDiffuseFromMaterial(bool from_material);
