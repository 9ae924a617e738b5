#include "cli/CliCommands.h"
#include "cli/CliRender.h"
#include "library/LibraryFile.h"
#include "math/FileText.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "organs/FakeTextureCache.h"
#include "library/LibraryReaders.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"
#include "support/CollectingSink.h"
#include "support/FrameDifference.h"
#include "support/SamplePlants.h"
#include "support/TextLines.h"
#include "support/ToolReports.h"
#include "support/ViewBackground.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

namespace {

class CliCommandsTest : public ::testing::Test, protected OwnModelRecords {
protected:
    CliCommandsTest() {
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        // Ids far from 1, so that the test sees them renumbered on loading.
        for (int i = 0; i < 40; ++i)
            nextId();
        plant = std::make_unique<FlowerObjectComposite>(nextId());
        otherPlant = std::make_unique<FlowerObjectComposite>(nextId());
        scene = std::make_unique<SceneRoot>(nextId());
        contents.objects[kCategoryComposite] = {plant.get(), otherPlant.get()};
        contents.scenes = {scene.get()};
        std::string error;
        EXPECT_TRUE(saveLibraryFile(library, contents, nullptr, error)) << error;
    }
    ~CliCommandsTest() override { std::filesystem::remove_all(directory); }

    int run(const std::vector<std::string>& args, CliRenderer renderer = nullptr) {
        out.str("");
        err.str("");
        return runCli(args, out, err, renderer, cliTextures);
    }

    static std::string read(const std::string& path) {
        std::string text, error;
        EXPECT_TRUE(readWholeFile(path, text, error)) << error;
        return text;
    }

    // The texture cache the tool is handed, as main() hands it its own.
    TextureCache* cliTextures = nullptr;
    // One folder per test: ctest runs the tests of this fixture in parallel.
    const std::string directory = ::testing::TempDir() + "pelmora_cli_" +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string library = directory + "/library.pmr";
    std::unique_ptr<FlowerObjectComposite> plant, otherPlant;
    std::unique_ptr<SceneRoot> scene;
    LibraryContents contents;
    std::ostringstream out, err;
};

} // namespace

TEST_F(CliCommandsTest, InfoListsEntriesInFileOrderWithLoadedIds) {
    EXPECT_EQ(run({"info", library}), 0);
    EXPECT_EQ(out.str(), "4 1 Composit\n4 2 Composit\n0 3 SceneRoot\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliCommandsTest, ResaveWritesWhatSaveWritesWithIdsFromOne) {
    const std::string copy = directory + "/copy.pmr";
    ASSERT_EQ(run({"resave", library, copy}), 0) << err.str();
    ASSERT_EQ(run({"resave", copy, directory + "/again.pmr"}), 0) << err.str();
    EXPECT_EQ(read(copy), read(directory + "/again.pmr"));
    EXPECT_NE(read(copy).find("Composit 1\n"), std::string::npos);
}

TEST_F(CliCommandsTest, ExportFollowsTheFileNameRules) {
    ASSERT_EQ(run({"export-obj", library, "3", directory + "/scene"}), 0) << err.str();
    EXPECT_EQ(read(directory + "/scene.obj"), "mtllib scene.mtl\n");
    EXPECT_EQ(read(directory + "/scene.mtl"), "");
    ASSERT_EQ(run({"export-obj", library, "1", directory + "/plant.obj"}), 0) << err.str();
    EXPECT_TRUE(std::filesystem::exists(directory + "/plant.mtl"));
}

TEST_F(CliCommandsTest, FailuresEndWithOneLineAndANonZeroStatus) {
    const auto expectFailure = [&](const std::vector<std::string>& args, const std::string& says) {
        EXPECT_NE(run(args), 0);
        EXPECT_EQ(out.str(), "");
        const std::string message = err.str();
        EXPECT_NE(message.find(says), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
    };
    expectFailure({"info", directory + "/missing.pmr"}, "cannot open");
    expectFailure({"diagram", library, "1", directory + "/x.svg"}, "entry 1 is not a flower head");
    expectFailure({"export-obj", library, "99", directory + "/x"}, "no entry with id 99");
    expectFailure({"export-obj", library, "one", directory + "/x"}, "not an object id");
    expectFailure({"export-obj", library, "1", directory + "/no/such/dir/x"}, "cannot write");
    expectFailure({"resave", library, directory + "/no/such/dir/x.pmr"}, "cannot write");
    expectFailure({"frobnicate"}, "unknown command");
    expectFailure({}, "no command");
    expectFailure({"info"}, "wrong arguments");
    const std::string png = directory + "/x.png";
    expectFailure({"render", library, "1", png, "--size", "10y10"}, "--size");
    expectFailure({"render", library, "1", png, "--turn", "nan"}, "--turn takes");
    expectFailure({"render", library, "1", png, "--elevation", "91"}, "from -90 to 90");
    expectFailure({"render", library, "1", png, "--samples", "0"}, "--samples takes");
    expectFailure({"render", library, "1", png, "--turn", "10", "--turn", "20"}, "twice");
    expectFailure({"render", library, "1", png, "--samples"}, "needs a value");
    expectFailure({"render", library, "1", png, "--spin", "3"}, "does not know '--spin'");
    expectFailure({"render", library, "1", png, "--time", "1.5"}, "--time takes");
    expectFailure({"export-gltf", library, "1", directory + "/x.glb", "--animate", "-2"},
                  "--animate takes");

    std::string error;
    ASSERT_TRUE(writeFileAtomically(directory + "/broken.pmr",
                                    "Pelmora File\n\nprimitives 1\n\nStem 4\nstamen Color\nxyz\n",
                                    error));
    expectFailure({"info", directory + "/broken.pmr"}, "line ");
    ASSERT_TRUE(writeFileAtomically(directory + "/other.pmr", "Other File\n", error));
    expectFailure({"resave", directory + "/other.pmr", directory + "/y.pmr"}, "Pelmora File");
    EXPECT_FALSE(std::filesystem::exists(directory + "/y.pmr"));
}

// A textured flower on a stem, exported by the tool, moved to another folder and
// imported by another program: every material once, its textures found beside it.
TEST_F(CliCommandsTest, ATexturedExportImportsElsewhereAfterItMoved) {
    FakeTextureCache textures;
    cliTextures = &textures;
    std::filesystem::create_directories(directory + "/maps");
    const std::string petalImage = directory + "/maps/petal.png";
    const std::string barkImage = directory + "/maps/bark.png";
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(petalImage)));
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(QString::fromStdString(barkImage)));
    const int petalTexture = textures.load(petalImage);
    const int barkTexture = textures.load(barkImage);

    auto flower = samples::flower(records());
    flower->whorl(kWhorlPistil).parts[0]->object->setTexture(true, barkTexture, -1);
    for (const auto& slot : flower->whorl(kWhorlPetal).parts)
        slot->object->setTexture(true, petalTexture, petalTexture);
    auto stem = samples::stem(records());
    stem->setTexture(true, barkTexture, -1);
    FlowerObjectComposite plant(nextId());
    plant.appendAlongAxis(std::move(stem), samples::line({0, 0, 0}, {0, 1, 0}), {0, 0, 1});
    plant.appendAlongAxis(std::move(flower), samples::line({0, 1, 0}, {0, 1.2, 0}), {0, 0, 1});
    LibraryContents one;
    one.objects[kCategoryComposite] = {&plant};
    const std::string texturedLibrary = directory + "/textured.pmr";
    std::string error;
    ASSERT_TRUE(saveLibraryFile(texturedLibrary, one, &textures, error)) << error;

    std::filesystem::create_directories(directory + "/out");
    testing::internal::CaptureStdout();
    ASSERT_EQ(run({"export-obj", texturedLibrary, "1", directory + "/out/plant"}), 0) << err.str();
    ASSERT_EQ(run({"export-obj", texturedLibrary, "1", directory + "/out/single.obj", "--single"}),
              0)
        << err.str();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "diagnostics belong on stderr";

    const std::string mtl = read(directory + "/out/plant.mtl");
    std::vector<std::string> names, maps;
    for (const std::string& line : lines(mtl)) {
        if (line.rfind("newmtl ", 0) == 0)
            names.push_back(line.substr(7));
        if (line.rfind("map_Kd ", 0) == 0)
            maps.push_back(line.substr(7));
    }
    std::vector<std::string> distinct = names;
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end()) << mtl;
    // Six petals with both sides textured, the pistil and the stem.
    EXPECT_EQ(maps.size(), 6u * 2 + 2);
    std::sort(maps.begin(), maps.end());
    maps.erase(std::unique(maps.begin(), maps.end()), maps.end());
    ASSERT_EQ(maps.size(), 2u) << "one copy per image";

    // Moved away from the images it was made from, which are gone too.
    std::filesystem::rename(directory + "/out", directory + "/moved");
    std::filesystem::remove_all(directory + "/maps");
    for (const std::string& copy : maps)
        EXPECT_TRUE(QImage(QString::fromStdString(directory + "/moved/" + copy)).width() == 4)
            << copy;
    const std::string both = assimpInfo(directory + "/moved/plant.obj");
    ASSERT_NE(reportValue(both, "Faces"), "") << both;
    // Texture references come from the MTL file's map lines, so the MTL was found.
    const std::string refs = both.substr(std::min(both.find("Texture Refs:"), both.size()));
    for (const std::string& copy : maps)
        EXPECT_NE(refs.find("'" + copy + "'"), std::string::npos) << both;
    const std::string single = assimpInfo(directory + "/moved/single.obj");
    EXPECT_EQ(2 * std::atol(reportValue(single, "Faces").c_str()),
              std::atol(reportValue(both, "Faces").c_str()))
        << single;
}

// A flower head's formula and diagram, printed and drawn by the tool: the formula
// on the flower's info line, the SVG picture well-formed, one glyph placed at each
// slot and the formula as its caption.
TEST_F(CliCommandsTest, AFlowerHeadsFormulaAndDiagramComeOutOfTheTool) {
    auto flower = samples::flower(records());
    LibraryContents one;
    one.objects[kCategoryFlower] = {flower.get()};
    one.objects[kCategoryComposite] = {plant.get()};
    const std::string flowers = directory + "/flowers.pmr";
    std::string error;
    ASSERT_TRUE(saveLibraryFile(flowers, one, nullptr, error)) << error;

    EXPECT_EQ(run({"info", flowers, "--formula"}), 0);
    EXPECT_EQ(out.str(), "3 1 Torus K5 C6 A6 G1\n4 20 Composit\n");

    const std::string svg = directory + "/flower.svg";
    ASSERT_EQ(run({"diagram", flowers, "1", svg}), 0) << err.str();
    QXmlStreamReader xml(QString::fromStdString(read(svg)));
    std::set<QString> glyphPlaces;
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        // Each glyph is drawn in a frame moved to its slot.
        const QString transform = xml.attributes().value("transform").toString();
        if (xml.name() == QStringLiteral("g") && transform != "matrix(1,0,0,1,0,0)" &&
            !transform.isEmpty())
            glyphPlaces.insert(transform);
        if (xml.name() == QStringLiteral("text"))
            text += xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(glyphPlaces.size(), 1u + 6 + 6 + 5);
    EXPECT_EQ(text.toStdString(), "K5 C6 A6 G1");

    EXPECT_EQ(run({"export-gltf", flowers, "1", directory + "/flower"}), 0) << err.str();
    EXPECT_EQ(read(directory + "/flower.glb").substr(0, 4), "glTF");
}

// A flower head built from a typed formula in batch: the formula read back by
// info --formula is the one given, the petal whorl holds copies of the stored
// petal, and a formula that cannot be read writes nothing.
TEST_F(CliCommandsTest, FormulaFlowerAddsAFlowerHeadThatInfoReadsBack) {
    auto petal = samples::petal(records());
    ASSERT_NE(petal, nullptr);
    LibraryContents withPetal;
    withPetal.objects[kCategoryLeaf] = {petal.get()};
    withPetal.objects[kCategoryComposite] = {plant.get()};
    const std::string source = directory + "/petal.pmr";
    const std::string target = directory + "/flowered.pmr";
    std::string error;
    ASSERT_TRUE(saveLibraryFile(source, withPetal, nullptr, error)) << error;

    ASSERT_EQ(run({"formula-flower", source, "K5 C5 A10 G1", target, "--petal", "1"}), 0)
        << err.str();
    EXPECT_EQ(run({"info", target, "--formula"}), 0);
    EXPECT_NE(out.str().find("\n3 2 Torus K5 C5 A10 G1\n"), std::string::npos) << out.str();
    CollectingSink sink;
    ASSERT_TRUE(loadLibraryFile(target, libraryReaders(), reading(), sink).ok());
    const FlowerTorusNode* flower = asTorus(sink.objects.at(1).get());
    ASSERT_NE(flower, nullptr);
    ASSERT_EQ(flower->whorl(kWhorlPetal).parts.size(), 5u);
    for (const auto& slot : flower->whorl(kWhorlPetal).parts)
        EXPECT_TRUE(slot->object && slot->object->kind == kKindPetal);

    std::filesystem::remove(target);
    EXPECT_EQ(run({"formula-flower", source, "K5 C5 A10 G1", target, "--petal", "2"}), 1);
    EXPECT_EQ(err.str(), "pelmora-cli: entry 2 is not a petal\n");
    EXPECT_EQ(run({"formula-flower", source, "K5 X3", target}), 1);
    EXPECT_NE(err.str().find("'X' is not a whorl letter"), std::string::npos) << err.str();
    EXPECT_EQ(run({"formula-flower", source, "A2000", target}), 1);
    EXPECT_FALSE(std::filesystem::exists(target));
}

// bud-flower gives a flower head the bud another stored flower head models, as the
// window's import does, and refuses a bud with other slots or an entry that is no
// flower head, writing nothing.
TEST_F(CliCommandsTest, BudFlowerGivesAFlowerHeadItsModelledBud) {
    auto flower = samples::flower(records());
    auto bud = samples::handModelledBud(*flower, records());
    auto misfit = samples::handModelledBud(*flower, records());
    misfit->removeLastSlots(kWhorlPetal, 1);
    LibraryContents heads;
    heads.objects[kCategoryFlower] = {flower.get(), bud.get(), misfit.get()};
    heads.objects[kCategoryComposite] = {plant.get()};
    const std::string source = directory + "/heads.pmr";
    const std::string target = directory + "/budded.pmr";
    std::string error;
    ASSERT_TRUE(saveLibraryFile(source, heads, nullptr, error)) << error;
    ASSERT_EQ(run({"info", source}), 0);
    std::vector<std::string> ids;
    std::string plantId;
    std::istringstream lines(out.str());
    for (std::string category, id, keyword; lines >> category >> id >> keyword;) {
        if (keyword == "Torus")
            ids.push_back(id);
        else
            plantId = id;
    }
    ASSERT_EQ(ids.size(), 3u);

    EXPECT_EQ(run({"bud-flower", source, ids[0], ids[2], target}), 1);
    EXPECT_EQ(err.str(), "pelmora-cli: The bud has 5 slots for petals, the flower 6.\n");
    EXPECT_EQ(run({"bud-flower", source, ids[0], plantId, target}), 1);
    EXPECT_NE(err.str().find("is not a flower head"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(target));

    ASSERT_EQ(run({"bud-flower", source, ids[0], ids[1], target}), 0) << err.str();
    CollectingSink sink;
    ASSERT_TRUE(loadLibraryFile(target, libraryReaders(), reading(), sink).ok());
    const FlowerTorusNode* budded = asTorus(sink.objects.at(0).get());
    ASSERT_NE(budded, nullptr);
    ASSERT_NE(budded->modelledBud, nullptr);
    EXPECT_TRUE(budded->modelledBud->fits(*budded));
}

TEST_F(CliCommandsTest, HelpDescribesEveryCommand) {
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* command : {"info", "--formula", "formula-flower", "--petal", "bud-flower", "resave",
                                "export-obj", "--single",
                                "export-gltf", "diagram", "render", "--turn", "--elevation",
                                "--samples", "--time", "--animate", "xvfb-run -a"})
        EXPECT_NE(out.str().find(command), std::string::npos) << command;
}

namespace {

// The rows of the upper half of a render, where the home camera shows the sky above
// the floor's horizon: what is not the background gradient there is the object.
bool background(const QImage& image, int x, int y, int tolerance = 3) {
    return showsBackground(QColor(image.pixel(x, y)), y, image.height(), tolerance);
}

double meanBrightnessAboveHorizon(const QImage& image) {
    double sum = 0.0;
    int count = 0;
    for (int y = 0; y < image.height() / 2; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb c = image.pixel(x, y); !background(image, x, y)) {
                sum += (qRed(c) + qGreen(c) + qBlue(c)) / 3.0;
                ++count;
            }
    return count > 0 ? sum / count : 0.0;
}

// The share of rows above the horizon whose leftmost object pixel (where the
// object's left edge crosses the row) is neither background nor the object's colour
// a few pixels further in: a blend of the two where the edge covers part of it.
double blendedEdgeShare(const QImage& image) {
    int rows = 0, blended = 0;
    for (int y = 0; y < image.height() / 2; ++y) {
        int x = 0;
        while (x + 4 < image.width() && background(image, x, y))
            ++x;
        if (x + 4 >= image.width())
            continue;
        ++rows;
        const QRgb edge = image.pixel(x, y);
        blended += !background(image, x, y, 12) && coloursDiffer(edge, image.pixel(x + 4, y), 12);
    }
    return rows > 0 ? static_cast<double>(blended) / rows : 0.0;
}

} // namespace

// A petal standing upright, its upper part against the sky, put on the turntable.
// Turned half round it shows its back under the same lights, and that side is lit
// as brightly as the front was; edges are smoothed unless --samples 1 says not to.
TEST_F(CliCommandsTest, RenderTurnsAPetalLitOnTheSideItShowsWithSmoothEdges) {
    Stroke left, midrib, right;
    for (int i = 0; i <= 20; ++i) {
        const double t = i / 20.0;
        const double y = 1.6 * t;
        left.add({-0.45 * std::sin(3.14159 * t), y, 0.0});
        midrib.add({0.0, y, 0.0});
        right.add({0.45 * std::sin(3.14159 * t), y, 0.0});
    }
    PetalStrokes fitted;
    ASSERT_TRUE(makePetalStrokes(left, midrib, right, fitted));
    const FlowerPetalNode petal(nextId(), fitted.left, fitted.middle, fitted.right, parameters);
    LibraryContents petalLibrary;
    petalLibrary.objects[kCategoryLeaf] = {&petal};
    const std::string petals = directory + "/petal.pmr";
    std::string error;
    ASSERT_TRUE(saveLibraryFile(petals, petalLibrary, nullptr, error)) << error;

    const auto render = [&](const std::vector<std::string>& options) {
        const std::string png = directory + "/petal.png";
        std::vector<std::string> args = {"render", petals, "1", png, "--size", "300x240"};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args, renderEntry), 0) << err.str();
        return QImage(QString::fromStdString(png));
    };
    const QImage front = render({});
    const QImage back = render({"--turn", "180"});
    const QImage sharp = render({"--samples", "1"});
    ASSERT_FALSE(front.isNull());
    const double frontBrightness = meanBrightnessAboveHorizon(front);
    ASSERT_GT(frontBrightness, 0.0);
    const double ratio = meanBrightnessAboveHorizon(back) / frontBrightness;
    EXPECT_GE(ratio, 0.7);
    EXPECT_LE(ratio, 1.0 / 0.7);
    EXPECT_GT(blendedEdgeShare(front), 1.0 / 3.0);
    EXPECT_LT(blendedEdgeShare(sharp), 0.1);

    // A quarter turn shows the flat petal edge on: hardly anything above the horizon.
    const QImage edgeOn = render({"--turn", "90"});
    int shown = 0, shownEdgeOn = 0;
    for (int y = 0; y < front.height() / 2; ++y)
        for (int x = 0; x < front.width(); ++x) {
            shown += !background(front, x, y);
            shownEdgeOn += !background(edgeOn, x, y);
        }
    EXPECT_LT(shownEdgeOn * 10, shown);
}

TEST_F(CliCommandsTest, RenderDrawsTheEntryOnTheFloorIntoAPng) {
    const std::string corpus =
        std::string(std::getenv("PELMORA_TEST_DATA")) + "/library-corpus/every-class.pmr";
    ASSERT_EQ(run({"info", corpus}), 0) << err.str();
    // The flower is the sixth entry: 1..4 primitives, 5 the leaf, 6 the flower.
    ASSERT_NE(out.str().find("3 6 Torus\n"), std::string::npos) << out.str();
    const std::string png = directory + "/flower.png";
    ASSERT_EQ(run({"render", corpus, "6", png, "--size", "200x160"}, renderEntry), 0) << err.str();
    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 200);
    EXPECT_EQ(image.height(), 160);
    // The flower stands in the middle, over the views' background; the top corners
    // show the background alone.
    EXPECT_TRUE(showsBackground(image.pixelColor(0, 0), 0, image.height()));
    EXPECT_TRUE(showsBackground(image.pixelColor(199, 0), 0, image.height()));
    int flowerPixels = 0;
    for (int y = 40; y < 120; ++y)
        for (int x = 60; x < 140; ++x)
            flowerPixels += !showsBackground(image.pixelColor(x, y), y, image.height());
    EXPECT_GT(flowerPixels, 200);
    // At time 0 it is drawn as its bud, at time 1 as modelled.
    ASSERT_EQ(run({"render", corpus, "6", png, "--size", "200x160", "--time", "1"}, renderEntry), 0);
    EXPECT_EQ(QImage(QString::fromStdString(png)), image);
    ASSERT_EQ(run({"render", corpus, "6", png, "--size", "200x160", "--time", "0"}, renderEntry), 0);
    EXPECT_GT(differingPixels(QImage(QString::fromStdString(png)), image), 50);

    EXPECT_NE(run({"render", corpus, "6", directory + "/no/such/dir/x.png"}, renderEntry), 0);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}
