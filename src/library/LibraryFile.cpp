#include "library/LibraryFile.h"

#include "math/FileText.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"

namespace {

struct Section {
    const char* heading;
    int category;
};

// The sections in file order.
constexpr Section kSections[] = {
    {"primitives", kCategoryPrimitive}, {"leaves", kCategoryLeaf},  {"flowers", kCategoryFlower},
    {"plants", kCategoryComposite},     {"scenes", kCategoryScene},
};

// "Stem 1\n": the shortest text an entry can have.
constexpr size_t kMinEntryBytes = 7;

template <typename Node>
void writeEntry(TextWriter& out, const char* keyword, const Node& node,
                const WriteContext& context) {
    const int number = node.id;
    out.format("%s %d\n", keyword, number);
    node.save(out, context);
    out.format("end %d\n\n", number);
}

} // namespace

void writeLibrary(TextWriter& out, const LibraryContents& contents, const WriteContext& context) {
    out.text("Pelmora File\n\n");
    for (const Section& section : kSections) {
        if (section.category == kCategoryScene) {
            out.format("%s %d\n\n", section.heading, static_cast<int>(contents.scenes.size()));
            for (const SceneRoot* scene : contents.scenes)
                writeEntry(out, "SceneRoot", *scene, context);
        } else {
            const auto& objects = contents.objects[section.category];
            out.format("%s %d\n\n", section.heading, static_cast<int>(objects.size()));
            for (const FlowerObjectNode* object : objects)
                writeEntry(out, recordKeyword(*object), *object, context);
        }
        out.text("end\n");
    }
    out.text("END\n");
}

bool hasLibraryHeader(const std::string& text) {
    TextReader in(text.substr(0, 64));
    std::string first, second;
    return in.word(first) && in.word(second) && first == "Pelmora" && second == "File";
}

LibraryLoadResult readLibrary(TextReader& in, const RecordReaderTable& readers,
                              const ReadContext& context, LibrarySink& sink) {
    LibraryLoadResult result;
    const auto malformed = [&]() {
        result.status = LibraryLoadResult::Status::Malformed;
        result.message = in.error();
        return result;
    };
    std::string first, second;
    if (!in.word(first) || !in.word(second) || first != "Pelmora" || second != "File") {
        result.status = LibraryLoadResult::Status::WrongHeader;
        result.message = "the file does not begin with \"Pelmora File\"";
        return result;
    }
    RecordInput input{in, readers, context};
    for (const Section& section : kSections) {
        std::string heading;
        int count = 0;
        // The heading word is not checked: the position alone selects the category.
        if (!in.word(heading) || !in.integer(count) || !in.plausibleCount(count, kMinEntryBytes))
            return malformed();
        for (int e = 0; e < count; ++e) {
            std::string keyword;
            int number = 0;
            if (!in.word(keyword) || !in.integer(number))
                return malformed();
            if (keyword == "SceneRoot") {
                std::unique_ptr<SceneRoot> scene = readSceneRoot(input);
                if (!scene)
                    in.fail("the scene could not be read");
                if (!in.ok())
                    return malformed();
                sink.addScene(std::move(scene));
                ++result.scenesAdded;
            } else if (readers.forKeyword(keyword)) {
                std::unique_ptr<FlowerObjectNode> object = readRecordBody(input, keyword);
                if (!object)
                    in.fail("the " + keyword + " entry could not be read");
                if (!in.ok())
                    return malformed();
                sink.addObject(std::move(object), section.category);
                ++result.objectsAdded;
            }
            // An unknown keyword reads nothing further but counts as an entry.
            if (!readRecordEnd(in, number)) {
                if (!in.ok())
                    return malformed();
                result.status = LibraryLoadResult::Status::EntryMismatch;
                result.message = "line " + std::to_string(in.line()) + ": the entry '" + keyword +
                                 " " + std::to_string(number) + "' does not end with 'end " +
                                 std::to_string(number) + "'";
                return result;
            }
        }
        std::string sectionEnd;
        if (!in.word(sectionEnd))
            return malformed();
    }
    // The trailer is not checked; a file that lost it still loaded completely.
    return result;
}

LibraryLoadResult loadLibraryFile(const std::string& path, const RecordReaderTable& readers,
                                  const ReadContext& context, LibrarySink& sink) {
    std::string text;
    std::string error;
    if (!readWholeFile(path, text, error)) {
        LibraryLoadResult result;
        result.status = LibraryLoadResult::Status::Unreadable;
        result.message = error;
        return result;
    }
    TextReader in(std::move(text));
    ReadContext inFolder = context;
    inFolder.libraryFolder = libraryFolderOf(path);
    return readLibrary(in, readers, inFolder, sink);
}

bool saveLibraryFile(const std::string& path, const LibraryContents& contents,
                     const TextureCache* textures, std::string& error) {
    TextWriter out;
    writeLibrary(out, contents, WriteContext{textures, libraryFolderOf(path)});
    return writeFileAtomically(path, out.str(), error);
}
