#pragma once

#include <string>

// Whole-file text I/O for the library file and the exports.

// Writes `text` to `path` through a temporary file in the same directory that is
// renamed over `path` only once everything was written, so that a full disk or an
// interrupted write leaves any earlier file byte-identical. False, with `error`
// saying what and where, when anything failed.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error);

// Reads the whole file; false, with `error` saying why, when it cannot be read.
bool readWholeFile(const std::string& path, std::string& text, std::string& error);
