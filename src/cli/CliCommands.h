#pragma once

#include "cli/RenderOptions.h"

#include <iosfwd>
#include <string>
#include <vector>

class TextureCache;
struct CliEntry;

// Draws a loaded entry off-screen as the main view shows a work object and writes
// it as a PNG; false with `error` set when it cannot.
using CliRenderer = bool (*)(const CliEntry& entry, TextureCache* textures, const std::string& path,
                             const RenderOptions& options, std::string& error);

// Runs one command line of pelmora-cli (without the program name). Results go to
// `out`, failures as one line to `err`; the return value is the exit status.
// Images named in a library are loaded through `textures` (null: none are loaded).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           CliRenderer renderer, TextureCache* textures);

// The usage text of --help.
const char* cliUsage();
