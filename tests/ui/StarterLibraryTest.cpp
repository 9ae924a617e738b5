#include "ShellFixture.h"

#include "control/LibraryBrowser.h"
#include "control/LibraryFileModule.h"
#include "control/Thumbnail.h"
#include "gl/TextureManager.h"
#include "model/FlowerObjectNode.h"
#include "support/TileCoverage.h"
#include "ui/ViewManager.h"

#include <QPainter>
#include <QProcess>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}


} // namespace

class StarterLibraryTest : public ShellFixture {};

// A new user's first start: the starter library fills every category, and each
// tile shows its entry large and unmistakably different from every other tile.
TEST_F(StarterLibraryTest, EveryCategoryIsFilledWithRecognisableDistinctTiles) {
    useStarterLibrary();
    start();
    std::vector<QImage> tiles;
    for (int category = 0; category < kCategoryCount; ++category) {
        const int entries = libraryBrowser().entryCount(category);
        EXPECT_GT(entries, 1) << "category " << category;
        for (int position = 1; position < entries; ++position) {
            const QImage tile = *libraryBrowser().thumbnailAt(position, category);
            const TileCoverage c = tileCoverage(tile, 12);
            SCOPED_TRACE(testing::Message() << "category " << category << " entry " << position);
            // The thumbnail frames the object: it reaches across most of the tile,
            // and even a stem shows as more than a hairline.
            EXPECT_GE(std::max(c.width(), c.height()), 55);
            EXPECT_GE(c.objectPixels, 100);
            for (const QImage& earlier : tiles)
                EXPECT_NE(tile, earlier);
            tiles.push_back(tile);
        }
    }
    EXPECT_EQ(appController().mode(), kModeComposite);
    EXPECT_EQ(appController().workObject(), nullptr);

    // The leaves wear the image that lies beside the library, and their tile shows it.
    int textured = 0;
    for (const int id : libraryBrowser().ids(kCategoryLeaf)) {
        FlowerObjectNode* organ = appController().findObject(id);
        if (!organ || !organ->hasTexture)
            continue;
        ++textured;
        EXPECT_EQ(viewManager().textures().path(organ->textureFront),
                  std::filesystem::absolute(dir.path("pminit-leaf.bmp")).string());
        const QImage veined = renderThumbnail(*organ, viewManager().mainContext(), appController().drawRecords());
        organ->setTexture(false, -1, -1);
        EXPECT_NE(renderThumbnail(*organ, viewManager().mainContext(), appController().drawRecords()), veined);
    }
    EXPECT_EQ(textured, 1);

    // With PELMORA_SCREENSHOT set, every tile is written there, a row per category.
    if (const QByteArray path = qgetenv("PELMORA_SCREENSHOT"); !path.isEmpty()) {
        QImage sheet(76 * 7, 76 * kCategoryCount, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        for (int category = 0; category < kCategoryCount; ++category)
            for (int position = 1; position < libraryBrowser().entryCount(category); ++position)
                painter.drawImage(76 * (position - 1) + 3, 76 * category + 3,
                                  *libraryBrowser().thumbnailAt(position, category));
        painter.end();
        EXPECT_TRUE(sheet.save(QString::fromLocal8Bit(path)));
    }
}

// The generator builds the same file every time, whatever the run.
TEST(StarterLibraryGenerator, WritesTheSameFileAsTheBuild) {
    WorkingDirectory dir;
    const std::filesystem::path again = dir.path("again.pmr");
    QProcess generator;
    generator.start(QStringLiteral(PELMORA_STARTER), {QString::fromStdString(again.string())});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    EXPECT_EQ(fileText(again), fileText(PELMORA_STARTER_LIBRARY));
    const std::filesystem::path image = std::filesystem::path(PELMORA_STARTER_LIBRARY).parent_path() /
                                        "pminit-leaf.bmp";
    EXPECT_EQ(fileText(dir.path("pminit-leaf.bmp")), fileText(image));
}
