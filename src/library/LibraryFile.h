#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

class FlowerObjectNode;
class SceneRoot;
class TextReader;
class TextWriter;
class TextureCache;
struct ReadContext;
struct RecordReaderTable;
struct WriteContext;

// The library categories, in the numbering the library view and the file use.
enum LibraryCategory : int {
    kCategoryScene = 0,
    kCategoryPrimitive = 1,
    kCategoryLeaf = 2,
    kCategoryFlower = 3,
    kCategoryComposite = 4,
};
inline constexpr int kCategoryCount = 5;

// What a library file holds: per object category (1..4) the objects in ascending
// id order, and the scenes. The index of `objects` is the category; entry 0 is not
// used (scenes have their own list).
struct LibraryContents {
    std::array<std::vector<const FlowerObjectNode*>, kCategoryCount> objects;
    std::vector<const SceneRoot*> scenes;
};

// Writes the whole library: header, the sections primitives, leaves, flowers,
// plants and scenes with their counts and entries, trailer.
void writeLibrary(TextWriter& out, const LibraryContents& contents, const WriteContext& context);

// Where the reader hands what it builds: each object with the category of its
// section, and each scene.
class LibrarySink {
public:
    virtual ~LibrarySink() = default;
    virtual void addObject(std::unique_ptr<FlowerObjectNode> object, int category) = 0;
    virtual void addScene(std::unique_ptr<SceneRoot> scene) = 0;
};

struct LibraryLoadResult {
    enum class Status {
        Loaded,        // the whole file was read
        WrongHeader,   // not a library file: nothing was loaded
        EntryMismatch, // an entry's closing line did not match: the load stopped there
        Malformed,     // the text broke off or is not what a library holds
        Unreadable,    // the file could not be opened or read: nothing was loaded
    };
    Status status = Status::Loaded;
    // Where and why reading stopped, for the user ("line 12, near 'x': ...").
    std::string message;
    int objectsAdded = 0;
    int scenesAdded = 0;

    bool ok() const { return status == Status::Loaded; }
};

// Reads a library file. Everything read before a stop stays with the sink. The
// header is checked before anything reaches the sink.
LibraryLoadResult readLibrary(TextReader& in, const RecordReaderTable& readers,
                              const ReadContext& context, LibrarySink& sink);

// Reads the library file at `path`; relative image paths are taken against its
// folder, whatever folder `context` names.
LibraryLoadResult loadLibraryFile(const std::string& path, const RecordReaderTable& readers,
                                  const ReadContext& context, LibrarySink& sink);

// Writes the whole library to `path`, committing it only once it is complete: a
// failure leaves an earlier file as it was and says why in `error`. Image paths
// inside the file's folder are written relative to it.
bool saveLibraryFile(const std::string& path, const LibraryContents& contents,
                     const TextureCache* textures, std::string& error);

// Whether `text` starts like a library file ("Pelmora File").
bool hasLibraryHeader(const std::string& text);
