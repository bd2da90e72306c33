// Writes a raster or the graphic plane as an RGB PNG file.
#pragma once

#include <string>

#include "terminal/model/graphic_plane.h"
#include "terminal/native/raster.h"

bool WritePng(const std::string& path, const Raster& raster);
bool WritePng(const std::string& path, const GraphicPlane& plane);
