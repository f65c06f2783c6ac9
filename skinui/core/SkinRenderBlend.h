#pragma once
// The software blend behind CSkinRender's images and gradients.

#include <windows.h>

#include <cstdint>

namespace SkinUI {

// Stretches the source part to the destination size and blends it over the destination:
// colour = source × fade + destination × (1 − source alpha × fade), source premultiplied.
void SoftwareBlend(HDC dc, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw, int sh,
                   uint8_t fade);

}  // namespace SkinUI
