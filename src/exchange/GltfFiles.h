#pragma once

#include "exchange/GltfExport.h"
#include "math/FileText.h"

#include <string>

namespace tinygltf {
class Model;
}

// The ".glb" file of a built model, assembled in memory and added to `files`; false,
// with `error`, when it cannot be assembled.
bool writeGlb(const tinygltf::Model& model, const std::string& path, FileSet& files,
              std::string& error);
// The ".gltf" JSON file and its binary buffer, added to `files`; the images are named
// in it and copied by the caller.
bool writeSeparate(tinygltf::Model& model, const GltfPaths& paths, FileSet& files,
                   std::string& error);
