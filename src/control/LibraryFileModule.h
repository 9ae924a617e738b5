#pragma once

#include "exchange/GltfExport.h"
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
    // the main view shows them. Relative image paths are taken against
    // `libraryFolder`, the folder of the file the text came from.
    LibraryLoadResult loadLibrary(const std::string& text, const std::string& libraryFolder) const;
    enum class OpenOutcome {
        Opened,  // the file's library replaced the current one
        Refused, // unreadable, no library file, or nothing of it readable: nothing changed
        Damaged, // the file breaks off after a readable part: nothing changed
    };
    // The document's Open: the whole file is read before anything changes, and only
    // a file read to its end replaces the current library, after which the program
    // returns to mode 8 with no work object. Unless opened, `error` says what went
    // wrong and where.
    OpenOutcome openLibrary(const std::string& path, std::string& error) const;
    // Empties the library for a new one: no objects, scenes or work object, ids from
    // 1, a fresh undo history, the home camera and mode 8.
    void newLibrary() const;
    // Replaces the current library by what a damaged file holds before its break,
    // as openLibrary would by a whole file. False, with `error` set, when the file
    // cannot be read or is no library.
    bool openReadablePart(const std::string& path, std::string& error) const;
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
    // The same object as glTF 2.0: a ".glb" file, or a ".gltf" one with its buffer
    // and images beside it when the chosen name ends so; with the bloom animated when
    // `bloom` gives it seconds.
    bool exportFocusGltf(const std::string& chosen, const GltfBloom& bloom,
                         std::string& error) const;
    // The floral diagram of the object as an SVG picture; the object must be a
    // flower head.
    bool exportFocusDiagram(const std::string& chosen, std::string& error) const;

private:
    // Reads the file's text and checks that it is a library; `error` says why not.
    static bool readLibraryText(const std::string& path, std::string& text, std::string& error);
    // Replaces the library by what `text` holds up to its end or its break.
    void replaceLibrary(const std::string& path, const std::string& text) const;
    // Empties the library and forgets any half-finished scene interaction.
    void clearLibrary() const;
    // The state every load ends in: home camera, mode 8, no work object.
    void returnToPlantCreation() const;
};

LibraryFileModule& libraryFileModule();
