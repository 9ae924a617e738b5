#include "control/FrozenEntry.h"

#include "library/LibraryFile.h"
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"

namespace {

// Fast packing: a step is taken at every commit.
constexpr int kPackingLevel = 1;

QByteArray pack(const LibraryContents& contents) {
    TextWriter out;
    writeLibrary(out, contents);
    const std::string& text = out.str();
    return qCompress(reinterpret_cast<const uchar*>(text.data()),
                     static_cast<qsizetype>(text.size()), kPackingLevel);
}

// Receives the one entry of a frozen record.
class ThawingSink final : public LibrarySink {
public:
    void setMode(int) override {}
    void addObject(std::unique_ptr<FlowerObjectNode> node, int) override {
        object = std::move(node);
    }
    void addScene(std::unique_ptr<SceneRoot> root) override { scene = std::move(root); }

    std::unique_ptr<FlowerObjectNode> object;
    std::unique_ptr<SceneRoot> scene;
};

ThawingSink thaw(const QByteArray& packed) {
    const QByteArray text = qUncompress(packed);
    TextReader in(std::string(text.constData(), static_cast<size_t>(text.size())));
    ThawingSink sink;
    readLibrary(in, libraryReaders(), sink);
    return sink;
}

} // namespace

std::shared_ptr<const FrozenEntry> FrozenEntry::freeze(const FlowerObjectNode& object) {
    LibraryContents contents;
    contents.objects[kCategoryPrimitive].push_back(&object);
    return std::shared_ptr<const FrozenEntry>(
        new FrozenEntry(identitiesOf(object), pack(contents)));
}

std::shared_ptr<const FrozenEntry> FrozenEntry::freeze(const SceneRoot& scene) {
    LibraryContents contents;
    contents.scenes.push_back(&scene);
    return std::shared_ptr<const FrozenEntry>(new FrozenEntry(identitiesOf(scene), pack(contents)));
}

std::unique_ptr<FlowerObjectNode> FrozenEntry::thawObject() const {
    std::unique_ptr<FlowerObjectNode> object = thaw(packed_).object;
    if (object)
        giveIdentities(*object, identities_);
    return object;
}

std::unique_ptr<SceneRoot> FrozenEntry::thawScene() const {
    std::unique_ptr<SceneRoot> scene = thaw(packed_).scene;
    if (scene)
        giveIdentities(*scene, identities_);
    return scene;
}

std::size_t FrozenEntry::bytes() const {
    return static_cast<std::size_t>(packed_.size()) + identities_.size() * sizeof(NodeIdentity);
}
