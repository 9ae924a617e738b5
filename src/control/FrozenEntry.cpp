#include "control/FrozenEntry.h"

#include "library/LibraryFile.h"
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"

namespace {

// Fast packing: a step is taken at every commit.
constexpr int kPackingLevel = 1;

QByteArray pack(const LibraryContents& contents, const WriteContext& context) {
    TextWriter out;
    writeLibrary(out, contents, context);
    const std::string& text = out.str();
    return qCompress(reinterpret_cast<const uchar*>(text.data()),
                     static_cast<qsizetype>(text.size()), kPackingLevel);
}

// Receives the one entry of a frozen record.
class ThawingSink final : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode> node, int) override {
        object = std::move(node);
    }
    void addScene(std::unique_ptr<SceneRoot>) override {}

    std::unique_ptr<FlowerObjectNode> object;
};

ThawingSink thaw(const QByteArray& packed, const ReadContext& context) {
    const QByteArray text = qUncompress(packed);
    TextReader in(std::string(text.constData(), static_cast<size_t>(text.size())));
    ThawingSink sink;
    readLibrary(in, libraryReaders(), context, sink);
    return sink;
}

} // namespace

std::shared_ptr<const FrozenEntry> FrozenEntry::freeze(const FlowerObjectNode& object,
                                                       const WriteContext& context) {
    LibraryContents contents;
    contents.objects[kCategoryPrimitive].push_back(&object);
    return std::shared_ptr<const FrozenEntry>(
        new FrozenEntry(identitiesOf(object), pack(contents, context)));
}

std::shared_ptr<const FrozenEntry>
FrozenEntry::freeze(const SceneRoot& scene, const WriteContext& context,
                    const FrozenEntry* previous,
                    const std::function<bool(int plantId)>& unchanged) {
    auto frozen = std::shared_ptr<FrozenEntry>(new FrozenEntry({{scene.id, {}, {}}}, {}));
    for (const SceneRoot::Plant& plant : scene.plants) {
        const int plantId = plant.composite->id;
        std::shared_ptr<const FrozenEntry> piece;
        if (previous && unchanged && unchanged(plantId))
            piece = previous->pieceFor(plantId);
        if (!piece) {
            piece = freeze(*plant.composite, context);
            frozen->bytes_ += piece->bytes();
        }
        frozen->plants_.push_back({std::move(piece), plant.placement});
        frozen->bytes_ += sizeof(Matrix4);
    }
    return frozen;
}

FrozenEntry::FrozenEntry(std::vector<NodeIdentity> identities, QByteArray packed)
    : identities_(std::move(identities)), packed_(std::move(packed)) {
    bytes_ = static_cast<std::size_t>(packed_.size()) + identities_.size() * sizeof(NodeIdentity);
}

std::shared_ptr<const FrozenEntry> FrozenEntry::pieceFor(int plantId) const {
    for (const FrozenPlant& plant : plants_)
        if (plant.piece->id() == plantId)
            return plant.piece;
    return nullptr;
}

std::unique_ptr<FlowerObjectNode> FrozenEntry::thawObject(const ReadContext& context) const {
    if (packed_.isEmpty())
        return nullptr;
    std::unique_ptr<FlowerObjectNode> object = thaw(packed_, context).object;
    if (object)
        giveIdentities(*object, identities_);
    return object;
}

std::unique_ptr<SceneRoot> FrozenEntry::thawScene(const ReadContext& context,
                                                  const FrozenEntry* liveSource, SceneRoot* live,
                                                  SparePlants* spare,
                                                  SparePlants* displaced) const {
    if (!packed_.isEmpty())
        return nullptr;
    auto scene = std::make_unique<SceneRoot>(id());
    for (const FrozenPlant& frozen : plants_) {
        const FrozenEntry& piece = *frozen.piece;
        std::unique_ptr<FlowerObjectComposite> plant;
        if (liveSource && live && liveSource->pieceFor(piece.id()) == frozen.piece)
            for (SceneRoot::Plant& held : live->plants)
                if (held.composite && held.composite->id == piece.id())
                    plant = std::move(held.composite);
        if (!plant && spare)
            for (SparePlant& kept : *spare)
                if (kept.plant && kept.piece == frozen.piece)
                    plant = std::move(kept.plant);
        if (!plant)
            plant = asComposite(piece.thawObject(context));
        // A piece that does not thaw (it always should) leaves the scene out rather
        // than a scene with a plant missing.
        if (!plant)
            return nullptr;
        scene->plants.push_back({std::move(plant), frozen.placement});
    }
    if (displaced && liveSource && live)
        for (SceneRoot::Plant& held : live->plants)
            if (held.composite)
                if (std::shared_ptr<const FrozenEntry> piece = liveSource->pieceFor(held.composite->id))
                    displaced->push_back({std::move(piece), std::move(held.composite)});
    return scene;
}
