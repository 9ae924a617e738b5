#pragma once

#include "exchange/GltfExport.h"

// The image source of the program's glTF exports: PNG and JPEG files as they are,
// any other format Qt reads (a BMP texture, say) converted to PNG.
bool gltfImageFromFile(const std::string& path, GltfImage& image, std::string& error);
