#include "library/LibraryFile.h"
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ObjExport.h"
#include "model/ReadContext.h"
#include "organs/ObjWriter.h"
#include "support/CollectingSink.h"
#include "support/SamplePlants.h"
#include "support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

std::string written(const LibraryContents& contents) {
    TextWriter out;
    writeLibrary(out, contents, WriteContext{});
    return out.take();
}

// Reads a library with ids from 1.
std::unique_ptr<CollectingSink> loaded(const std::string& text) {
    OwnModelRecords records;
    auto sink = std::make_unique<CollectingSink>();
    TextReader in(text);
    const LibraryLoadResult result = readLibrary(in, libraryReaders(), records.reading(), *sink);
    EXPECT_TRUE(result.ok()) << result.message;
    return sink;
}

class EveryClassTest : public ::testing::Test, protected OwnModelRecords {
protected:
    EveryClassTest() {
        stem = samples::stem(records());
        stamen = samples::stamen(records());
        pistil = samples::pistil(records());
        sketch = samples::sketch(records());
        petal = samples::petal(records());
        flower = samples::flower(records());
        plant = samples::plant(records(), 3);
        scene = std::make_unique<SceneRoot>(nextId());
        scene->plantAlongStroke(samples::plant(records(), 2), samples::line({1, 0, 0}, {1, 2, 0}));
        contents.objects[kCategoryPrimitive] = {stem.get(), stamen.get(), pistil.get(),
                                                sketch.get()};
        contents.objects[kCategoryLeaf] = {petal.get()};
        contents.objects[kCategoryFlower] = {flower.get()};
        contents.objects[kCategoryComposite] = {plant.get()};
        contents.scenes = {scene.get()};
    }

    std::unique_ptr<FlowerObjectNode> stem, stamen, pistil, sketch, petal, flower, plant;
    std::unique_ptr<SceneRoot> scene;
    LibraryContents contents;
};

} // namespace

TEST_F(EveryClassTest, ALibraryOfEveryClassReadsBackAsTheSameLibrary) {
    const std::string first = written(contents);
    const auto once = loaded(first);
    ASSERT_EQ(once->objects.size(), 7u);
    ASSERT_EQ(once->scenes.size(), 1u);
    const char* keywords[] = {"Stem", "Stamen", "Pistil", "Sketch", "Petal", "Torus", "Composit"};
    for (size_t i = 0; i < once->objects.size(); ++i)
        EXPECT_STREQ(recordKeyword(*once->objects[i]), keywords[i]);

    // Reading gives fresh ids in file order; after one load the text is a fixed point,
    // and loading the same file twice gives the same ids.
    const std::string second = written(once->contents());
    const auto twice = loaded(second);
    EXPECT_TRUE(written(twice->contents()) == second) << "the library changed on reading it back";
    EXPECT_EQ(once->objects.front()->id, 1);
    for (size_t i = 0; i < once->objects.size(); ++i)
        EXPECT_EQ(once->objects[i]->id, twice->objects[i]->id);

    // Geometry is rebuilt from what was read: the same surfaces as the originals.
    const FlowerObjectNode* originals[] = {stem.get(),  stamen.get(), pistil.get(), sketch.get(),
                                           petal.get(), flower.get(), plant.get()};
    for (size_t i = 0; i < once->objects.size(); ++i) {
        ObjExport outA, outB;
        const int a = const_cast<FlowerObjectNode*>(originals[i])->exportObj(outA, Matrix4(), 0);
        const int b = once->objects[i]->exportObj(outB, Matrix4(), 0);
        EXPECT_EQ(a, b) << keywords[i];
        if (std::string(keywords[i]) != "Sketch") {
            EXPECT_GT(b, 0) << keywords[i];
        }
    }
}

TEST_F(EveryClassTest, FilesAndExportsAreTheSameUnderADecimalCommaLocale) {
    const auto exportAll = [&] {
        std::string text = written(contents);
        for (const auto* list :
             {&contents.objects[kCategoryFlower], &contents.objects[kCategoryComposite]})
            for (const FlowerObjectNode* node : *list) {
                ObjExport out;
                const_cast<FlowerObjectNode*>(node)->exportObj(out, Matrix4(), 0);
                text += out.obj.str() + out.mtl.str();
            }
        return text;
    };
    const std::string inC = exportAll();
    ScopedLocale decimalComma(LC_ALL, kDecimalCommaLocale);
    if (!decimalComma.active())
        GTEST_SKIP() << "no German locale";
    const std::string inGerman = exportAll();
    const auto readInGerman = loaded(inGerman);
    decimalComma.restore();
    EXPECT_TRUE(inGerman == inC) << "the output depends on the locale";
    EXPECT_EQ(readInGerman->objects.size(), 7u);
}
