// Writes a raster as an RGB PNG file.
#pragma once

#include <string>

#include "terminal/native/raster.h"

bool WritePng(const std::string& path, const Raster& raster);
