#include "library/LibraryFile.h"
#include "math/FileText.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/AxisNode.h"
#include "model/CompositeRecord.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "model/TextureCache.h"
#include "support/CollectingSink.h"
#include "support/ModelRecords.h"
#include "support/PathOnlyTextures.h"
#include "support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>

namespace {

Stroke line(const Vector3& from, const Vector3& to, int points = 5) {
    Stroke s;
    for (int i = 0; i < points; ++i)
        s.add(from + (to - from) * (static_cast<double>(i) / (points - 1)));
    return s;
}

RecordReaderTable readers() {
    RecordReaderTable table = axisReaders();
    table.composite = readComposite;
    return table;
}

class LibraryFileTest : public ::testing::Test, protected OwnModelRecords {
protected:
    LibraryFileTest() {
        pistil = std::make_unique<AxisNode>(nextId(), kKindPistil);
        pistil->mainAxis = line({0, 0, 0}, {0, 0.3, 0.1});
        leaf = std::make_unique<AxisNode>(nextId(), kKindPetal);
        plant = std::make_unique<FlowerObjectComposite>(nextId());
        plant->appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 1, 0}),
                               {0, 0, 1});
        scene = std::make_unique<SceneRoot>(nextId());
        auto planted = std::make_unique<FlowerObjectComposite>(nextId());
        planted->appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 1, 0}),
                                 {0, 0, 1});
        scene->plantAlongStroke(std::move(planted), line({1, 0, 0}, {1, 1, 0}));
        contents.objects[kCategoryPrimitive] = {pistil.get()};
        contents.objects[kCategoryLeaf] = {leaf.get()};
        contents.objects[kCategoryComposite] = {plant.get()};
        contents.scenes = {scene.get()};
    }

    std::string written() const {
        TextWriter out;
        writeLibrary(out, contents, WriteContext{});
        return out.take();
    }

    std::unique_ptr<AxisNode> pistil, leaf;
    std::unique_ptr<FlowerObjectComposite> plant;
    std::unique_ptr<SceneRoot> scene;
    LibraryContents contents;
};

} // namespace

TEST_F(LibraryFileTest, WriterLaysOutHeaderSectionsAndTrailer) {
    const std::string text = written();
    EXPECT_EQ(text.rfind("Pelmora File\n\nprimitives 1\n\nPistil 1\n", 0), 0u);
    const size_t leaves = text.find("leaves 1\n\nPetal 2\n");
    const size_t flowers = text.find("end\nflowers 0\n\nend\nplants 1\n\nComposit 3\n");
    const size_t scenes = text.find("scenes 1\n\nSceneRoot ");
    ASSERT_NE(leaves, std::string::npos);
    ASSERT_NE(flowers, std::string::npos);
    ASSERT_NE(scenes, std::string::npos);
    EXPECT_LT(leaves, flowers);
    EXPECT_LT(flowers, scenes);
    EXPECT_EQ(text.substr(text.size() - 8), "end\nEND\n");
}

TEST_F(LibraryFileTest, ReaderHandsObjectsToTheSinkByPositionWithFreshIds) {
    const std::string text = written();
    IdCounter fresh;
    TextReader in(text);
    CollectingSink sink;
    const LibraryLoadResult result =
        readLibrary(in, readers(), {fresh, parameters, nullptr, {}}, sink);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(sink.categories, (std::vector<int>{1, 2, 4}));
    ASSERT_EQ(sink.objects.size(), 3u);
    EXPECT_EQ(sink.objects[0]->id, 1);
    EXPECT_EQ(sink.objects[0]->kind, kKindPistil);
    EXPECT_EQ(sink.objects[0]->mainAxis.points.size(), 5u);
    ASSERT_EQ(sink.scenes.size(), 1u);
    EXPECT_EQ(result.objectsAdded, 3);
    EXPECT_EQ(result.scenesAdded, 1);

    // Written again, the library gives the same text, and reading twice gives the
    // same ids.
    TextWriter rewritten;
    writeLibrary(rewritten, sink.contents(), WriteContext{});
    IdCounter third;
    TextReader in2(rewritten.str());
    CollectingSink sink2;
    ASSERT_TRUE(readLibrary(in2, readers(), {third, parameters, nullptr, {}}, sink2).ok());
    TextWriter third_text;
    writeLibrary(third_text, sink2.contents(), WriteContext{});
    EXPECT_EQ(third_text.str(), rewritten.str());
}

TEST_F(LibraryFileTest, WrongHeaderLoadsNothing) {
    std::string text = written();
    text.replace(0, 12, "Pelmora Files");
    TextReader in(text);
    CollectingSink sink;
    const LibraryLoadResult result = readLibrary(in, readers(), reading(), sink);
    EXPECT_EQ(result.status, LibraryLoadResult::Status::WrongHeader);
    EXPECT_TRUE(sink.objects.empty());
    EXPECT_TRUE(sink.scenes.empty());
    EXPECT_FALSE(hasLibraryHeader(text));
    EXPECT_TRUE(hasLibraryHeader(written()));
}

TEST_F(LibraryFileTest, SectionWordsAreNotChecked) {
    std::string text = written();
    text.replace(text.find("flowers 0"), 7, "petals");
    text.replace(text.find("plants 1"), 6, "sapals");
    TextReader in(text);
    CollectingSink sink;
    ASSERT_TRUE(readLibrary(in, readers(), reading(), sink).ok());
    EXPECT_EQ(sink.categories, (std::vector<int>{1, 2, 4}));
}

TEST_F(LibraryFileTest, AMismatchedEndStopsAndKeepsWhatWasRead) {
    std::string text = written();
    text.replace(text.find("end 2\n"), 5, "end 9");
    TextReader in(text);
    CollectingSink sink;
    const LibraryLoadResult result = readLibrary(in, readers(), reading(), sink);
    EXPECT_EQ(result.status, LibraryLoadResult::Status::EntryMismatch);
    EXPECT_EQ(sink.objects.size(), 2u); // the pistil and the leaf whose end was wrong
    EXPECT_NE(result.message.find("does not end with 'end 2'"), std::string::npos);
}

TEST_F(LibraryFileTest, MalformedTextStopsWithItsLocation) {
    std::string text = written();
    text.replace(text.find("mainAxis 5\n0 0.000000"), 21, "mainAxis 5\n0 zero");
    TextReader in(text);
    CollectingSink sink;
    const LibraryLoadResult result = readLibrary(in, readers(), reading(), sink);
    EXPECT_EQ(result.status, LibraryLoadResult::Status::Malformed);
    EXPECT_NE(result.message.find("near 'zero"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("line "), std::string::npos);
    EXPECT_TRUE(sink.objects.empty());
}

TEST_F(LibraryFileTest, HostileCountsAreRejectedBeforeAllocating) {
    TextReader in("Pelmora File\nprimitives 2000000000\n");
    CollectingSink sink;
    const LibraryLoadResult result = readLibrary(in, readers(), reading(), sink);
    EXPECT_EQ(result.status, LibraryLoadResult::Status::Malformed);
    EXPECT_NE(result.message.find("larger than the rest"), std::string::npos);
}

TEST_F(LibraryFileTest, OutputIsTheSameUnderADecimalCommaLocale) {
    const std::string inC = written();
    ScopedLocale decimalComma(LC_ALL, kDecimalCommaLocale);
    if (!decimalComma.active())
        GTEST_SKIP() << "no German locale";
    const std::string inGerman = written();
    TextReader in(inGerman);
    CollectingSink sink;
    const bool readBack = readLibrary(in, readers(), reading(), sink).ok();
    decimalComma.restore();
    EXPECT_EQ(inGerman, inC);
    EXPECT_TRUE(readBack);
}

TEST_F(LibraryFileTest, SavingCommitsTheWholeFileOrLeavesTheEarlierOne) {
    const std::string directory = ::testing::TempDir() + "pelmora_save_test";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    const std::string path = directory + "/library.pmr";
    std::string error;
    ASSERT_TRUE(saveLibraryFile(path, contents, nullptr, error)) << error;

    CollectingSink sink;
    EXPECT_TRUE(loadLibraryFile(path, readers(), reading(), sink).ok());
    EXPECT_EQ(sink.objects.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));

    // The temporary file cannot be made: the save fails and the library is untouched.
    const auto before = std::filesystem::file_size(path);
    std::filesystem::create_directory(path + ".part");
    contents.objects[kCategoryLeaf].clear();
    EXPECT_FALSE(saveLibraryFile(path, contents, nullptr, error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(path), before);

    EXPECT_FALSE(saveLibraryFile(directory + "/missing/library.pmr", contents, nullptr, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    std::filesystem::remove_all(directory);
}

TEST_F(LibraryFileTest, AFileThatCannotBeReadLoadsNothing) {
    CollectingSink sink;
    const LibraryLoadResult result =
        loadLibraryFile(::testing::TempDir() + "no/such/library.pmr", readers(), reading(), sink);
    EXPECT_EQ(result.status, LibraryLoadResult::Status::Unreadable);
    EXPECT_NE(result.message.find("cannot open"), std::string::npos);
    EXPECT_TRUE(sink.objects.empty());
    EXPECT_TRUE(sink.scenes.empty());
}

// Opening a library whose images have gone missing and saving it used to write NON
// in their place, so that putting the images back no longer brought them back.
TEST_F(LibraryFileTest, ALibrarySavedAgainStillNamesItsMissingImages) {
    const std::filesystem::path directory = ::testing::TempDir() + "pelmora_missing_images";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory / "images");
    const std::string present = (directory / "images" / "here.bmp").string();
    { std::ofstream(present) << "BM"; }
    std::string text = written();
    const size_t at = text.find("textureFront NON\ntextureBack NON\n");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 34, "textureFront images/gone.bmp\ntextureBack images/here.bmp\n");
    const std::string path = (directory / "library.pmr").string();
    { std::ofstream(path) << text; }

    PathOnlyTextures textures(
        [](const std::string& path) { return std::filesystem::exists(path); });
    CollectingSink sink;
    ASSERT_TRUE(loadLibraryFile(path, readers(), reading(&textures), sink).ok());
    ASSERT_EQ(textures.paths, std::vector<std::string>{present});
    std::string error;
    ASSERT_TRUE(saveLibraryFile(path, sink.contents(), &textures, error)) << error;
    std::string again;
    ASSERT_TRUE(readWholeFile(path, again, error)) << error;
    EXPECT_NE(again.find("textureFront images/gone.bmp\ntextureBack images/here.bmp\n"),
              std::string::npos);

    // Saved in a folder beside it, the names still lead to the same files.
    const std::filesystem::path other = ::testing::TempDir() + "pelmora_missing_images_other";
    std::filesystem::create_directories(other);
    const std::string elsewhere = (other / "library.pmr").string();
    ASSERT_TRUE(saveLibraryFile(elsewhere, sink.contents(), &textures, error)) << error;
    ASSERT_TRUE(readWholeFile(elsewhere, again, error)) << error;
    EXPECT_NE(again.find("textureFront " + (directory / "images" / "gone.bmp").string() +
                         "\ntextureBack " + present + "\n"),
              std::string::npos);
    std::filesystem::remove_all(other);
    std::filesystem::remove_all(directory);
}
