#pragma once

#include "library/LibraryFile.h"

#include <string>
#include <vector>

// Moves the in-memory library (the controller's objects and scenes, listed by the
// library browser) to and from library files, and loads the start-up library. It
// keeps no library state of its own.
class LibraryFileModule {
public:
    // The start-up library's file name.
    static constexpr const char* kStartupFileName = "pminit.pmr";

    // What the library holds, per category in the browser's ascending id order.
    LibraryContents libraryContents() const;
    // Writes the library to `path`; an earlier file stays as it was when writing
    // fails, and `error` says what and where.
    bool saveLibrary(const std::string& path, std::string& error) const;
    // Adds the objects and scenes of a library text through the controller, each
    // section read in its interaction mode so that the thumbnails are rendered as
    // the main view shows them.
    LibraryLoadResult loadLibrary(const std::string& text) const;
    enum class OpenOutcome {
        Opened,     // the file's library replaced the current one
        Refused,    // unreadable or no library file: nothing changed
        Incomplete, // the file broke off: the library holds what came before the break
    };
    // The document's Open: a file that cannot be read or is no library file is
    // refused before anything changes; otherwise the current library is replaced by
    // the file's and the program returns to mode 8 with no work object. Unless
    // opened, `error` says what went wrong and where.
    OpenOutcome openLibrary(const std::string& path, std::string& error) const;
    // Loads the first start-up library found (the working directory's, then the
    // one in the user's data directory, then the starter library beside the program
    // or installed with it), then leaves the home camera, mode 8 and no work
    // object. Whether a library was found.
    bool loadStartupLibrary() const;
    // Where the start-up library is looked for, in order.
    static std::vector<std::string> startupLibraryPaths();

    // Writes the object the object commands act on as OBJ and MTL files for the
    // chosen name, with its texture images beside them; with `singleSurfaces` each
    // surface once. False, with `error` set, when there is none or a file failed.
    bool exportFocusObj(const std::string& chosen, bool singleSurfaces, std::string& error) const;

private:
    // The state every load ends in: home camera, mode 8, no work object.
    void returnToPlantCreation() const;
};

LibraryFileModule& libraryFileModule();
