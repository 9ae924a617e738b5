#pragma once

#include "cli/RenderOptions.h"

#include <string>

class TextureCache;
struct CliEntry;

// Whether a display is there for the GUI application object that rendering needs;
// without one the platform plugin would abort the program.
bool renderDisplayAvailable();

// Draws the entry off-screen as the main view shows a work object with the floor
// shown (home camera, background, floor with the entry's shadows, lights, solid
// drawing), turned, tilted and smoothed as `options` say, and writes the frame as a
// PNG. False with `error` set when there is no GUI application object (no display),
// no OpenGL context, or the file cannot be written.
bool renderEntry(const CliEntry& entry, TextureCache* textures, const std::string& path,
                 const RenderOptions& options, std::string& error);
