#pragma once

#include <string>
#include <utility>
#include <vector>

// Whole-file text I/O for the library file and the exports.

// Writes `text` to `path` through a temporary file in the same directory that is
// renamed over `path` only once everything was written, so that a full disk or an
// interrupted write leaves any earlier file byte-identical. False, with `error`
// saying what and where, when anything failed.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error);

// Path and contents of each file of a set that belongs together.
using FileSet = std::vector<std::pair<std::string, std::string>>;

// writeFileAtomically for a set of files that only make sense together (an export
// and the files it names): every file is written to its temporary first, and only
// when all of them were written are they renamed into place. A failure leaves
// every earlier file as it was and names the file that failed.
bool writeFilesAtomically(const FileSet& files, std::string& error);

// Reads the whole file; false, with `error` saying why, when it cannot be read.
bool readWholeFile(const std::string& path, std::string& text, std::string& error);
