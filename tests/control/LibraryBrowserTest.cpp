#include "AppFixture.h"

#include "control/LibraryBrowser.h"
#include "control/Thumbnail.h"
#include "model/AxisNode.h"

#include <QPainter>

namespace {

QImage tile(int shade) {
    QImage image(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    image.fill(qRgb(shade, 0, 0));
    return image;
}

// The library view of the given size as the browser draws it.
QImage drawn(const LibraryBrowser& browser, int width = 200, int height = 800) {
    QImage view(width, height, QImage::Format_RGB32);
    QPainter painter(&view);
    browser.draw(painter, width, height);
    return view;
}

} // namespace

class LibraryBrowserTest : public AppFixture {
protected:
    LibraryBrowser browser;
};

TEST_F(LibraryBrowserTest, ResetLeavesOnlyNothingTilesInCategoryOne) {
    browser.addEntry(5, tile(10), kCategoryLeaf);
    browser.setCategory(kCategoryLeaf);
    browser.select(1, kCategoryLeaf);
    browser.reset();
    EXPECT_EQ(browser.category(), kCategoryPrimitive);
    for (int category = 0; category < kCategoryCount; ++category) {
        EXPECT_EQ(browser.entryCount(category), 1);
        EXPECT_EQ(browser.selection(category), -1);
        EXPECT_EQ(*browser.thumbnailAt(0, category), nothingTile());
    }
}

TEST_F(LibraryBrowserTest, PositionsFollowAscendingIdsAfterTheNothingTile) {
    browser.addEntry(9, tile(9), kCategoryFlower);
    browser.addEntry(3, tile(3), kCategoryFlower);
    EXPECT_EQ(browser.idAt(0, kCategoryFlower), -1);
    EXPECT_EQ(browser.idAt(1, kCategoryFlower), 3);
    EXPECT_EQ(browser.idAt(2, kCategoryFlower), 9);
    EXPECT_EQ(browser.idAt(3, kCategoryFlower), -1);
    EXPECT_EQ(browser.idAt(-4, kCategoryFlower), -1);
    EXPECT_EQ(browser.idAt(1, 7), -1);
    EXPECT_EQ(browser.ids(kCategoryFlower), (std::vector<int>{3, 9}));

    browser.addEntry(3, tile(33), kCategoryFlower);
    EXPECT_EQ(browser.entryCount(kCategoryFlower), 3);
    EXPECT_EQ(*browser.thumbnailAt(1, kCategoryFlower), tile(33));
}

TEST_F(LibraryBrowserTest, SelectAcceptsOnlyPositionsThatHoldAnEntry) {
    browser.addEntry(4, tile(4), kCategoryLeaf);
    browser.select(1, kCategoryLeaf);
    EXPECT_EQ(browser.selection(kCategoryLeaf), 1);
    browser.select(2, kCategoryLeaf);
    EXPECT_EQ(browser.selection(kCategoryLeaf), 1);
    browser.select(-7, kCategoryLeaf);
    EXPECT_EQ(browser.selection(kCategoryLeaf), 1);
    browser.select(0, kCategoryLeaf);
    EXPECT_EQ(browser.selection(kCategoryLeaf), 0);
    browser.select(-1, kCategoryLeaf);
    EXPECT_EQ(browser.selection(kCategoryLeaf), -1);
    browser.select(0, 9);
    EXPECT_EQ(browser.selection(9), -1);
}

TEST_F(LibraryBrowserTest, RemovingAnEntryMovesLaterSelectionsBack) {
    for (int id : {2, 4, 6})
        browser.addEntry(id, tile(id), kCategoryComposite);
    browser.addEntry(4, tile(4), kCategoryFlower);
    browser.select(3, kCategoryComposite); // id 6
    browser.select(1, kCategoryFlower);    // id 4

    browser.removeEntry(4);
    EXPECT_EQ(browser.selection(kCategoryComposite), 2);
    EXPECT_EQ(browser.idAt(2, kCategoryComposite), 6);
    EXPECT_EQ(browser.selection(kCategoryFlower), -1);
    EXPECT_EQ(browser.entryCount(kCategoryFlower), 1);

    browser.removeEntry(2);
    EXPECT_EQ(browser.selection(kCategoryComposite), 1);
    browser.removeEntry(6);
    EXPECT_EQ(browser.selection(kCategoryComposite), -1);
}

TEST_F(LibraryBrowserTest, TheNothingTileCannotBeRemovedOrReplaced) {
    browser.removeEntry(-1);
    browser.removeEntry(0);
    browser.replaceThumbnail(-1, tile(1));
    EXPECT_EQ(browser.entryCount(kCategoryPrimitive), 1);
    EXPECT_EQ(*browser.thumbnailAt(0, kCategoryPrimitive), nothingTile());
}

TEST_F(LibraryBrowserTest, ReplaceThumbnailRenewsTheFirstCategoryHoldingTheId) {
    browser.addEntry(8, tile(1), kCategoryScene);
    browser.addEntry(8, tile(2), kCategoryComposite);
    browser.replaceThumbnail(8, tile(3));
    EXPECT_EQ(*browser.thumbnailAt(1, kCategoryComposite), tile(3));
    EXPECT_EQ(*browser.thumbnailAt(1, kCategoryScene), tile(1));
    browser.replaceThumbnail(99, tile(4));
    for (int category = 0; category < kCategoryCount; ++category)
        EXPECT_EQ(browser.idAt(1, category) == 99, false);
}

TEST_F(LibraryBrowserTest, DrawsTheSeparatorBandAcrossTheView) {
    const QImage view = drawn(browser);
    const QRgb expected[] = {qRgb(192, 192, 192), qRgb(255, 255, 255), qRgb(192, 192, 192),
                             qRgb(192, 192, 192), qRgb(192, 192, 192), qRgb(128, 128, 128),
                             qRgb(0, 0, 0)};
    for (int i = 0; i < 7; ++i)
        for (int x : {1, 100, 198})
            EXPECT_EQ(view.pixel(x, 307 + i), expected[i]) << "row " << 307 + i << " x " << x;
    EXPECT_EQ(view.pixel(100, 306), qRgb(255, 255, 255));
    EXPECT_EQ(view.pixel(100, 500), qRgb(255, 255, 255));
}

// A wider view shows more columns of the same tiles, and a click lands on the entry
// drawn under it in every column shown (the clicks once stopped a column short).
TEST_F(LibraryBrowserTest, AWiderViewShowsMoreColumnsAndEveryShownTileTakesClicks) {
    for (int id = 1; id <= 60; ++id)
        browser.addEntry(id, tile(id), kCategoryPrimitive);
    // Entry k sits at column k / 4, row k % 4.
    const auto centre = [](int k) { return QPoint(6 + 76 * (k / 4) + 35, 6 + 76 * (k % 4) + 35); };
    const auto shown = [&](int width, int k) {
        const QImage view = drawn(browser, width, 800);
        return view.rect().contains(centre(k)) && view.pixel(centre(k)) == qRgb(k, 0, 0);
    };
    // Four columns fit 312 pixels, thirteen fit 1000.
    EXPECT_TRUE(shown(312, 15));
    EXPECT_FALSE(shown(312, 16));
    EXPECT_TRUE(shown(1000, 51));
    EXPECT_FALSE(shown(1000, 52));
    EXPECT_EQ(drawn(browser, 1000, 800).pixel(centre(0)), nothingTile().pixel(35, 35));

    for (int k = 0; k <= 51; ++k) {
        EXPECT_EQ(LibraryBrowser::positionAt(centre(k).x(), centre(k).y()), k);
        EXPECT_EQ(LibraryBrowser::positionAt(centre(k).x() + 38, centre(k).y()), -1) << k;
    }
    EXPECT_EQ(LibraryBrowser::positionAt(centre(3).x(), centre(3).y() + 76), -1);
}

TEST_F(LibraryBrowserTest, DrawsTheSelectionSquareOnlyAfterTheNothingTile) {
    browser.addEntry(3, tile(3), kCategoryPrimitive);
    browser.addEntry(4, tile(4), kCategoryPrimitive);
    const QRgb green = qRgb(180, 250, 10);
    browser.select(0, kCategoryPrimitive);
    QImage view = drawn(browser);
    EXPECT_NE(view.pixel(3, 3), green);

    browser.select(2, kCategoryPrimitive);
    view = drawn(browser);
    // Position 2: top-left (3, 3 + 76 * 2), side 76.
    EXPECT_EQ(view.pixel(3, 155), green);
    EXPECT_EQ(view.pixel(79, 231), green);
    EXPECT_EQ(view.pixel(40, 155), green);
    EXPECT_NE(view.pixel(3, 3), green);
}

TEST_F(LibraryBrowserTest, CopySelectedClonesTheSelectedObjectOrGivesTheDefaultStem) {
    AppController& c = controller();
    auto petal = std::make_unique<AxisNode>(c.nextId(), kKindPetal);
    petal->mainAxis.add({0, 0, 0});
    petal->mainAxis.add({0, 0.3, 0});
    const int id = petal->id;
    c.addToLibrary(std::move(petal), kCategoryLeaf);
    LibraryBrowser& shown = libraryBrowser();
    shown.setCategory(kCategoryLeaf);

    const auto expectDefaultStem = [&](const std::unique_ptr<FlowerObjectNode>& copy) {
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->kind, kKindStem);
        EXPECT_GT(copy->id, id);
        ASSERT_GE(copy->mainAxis.size(), 2);
        EXPECT_NEAR(copy->mainAxis.back().y, 0.2, 1e-9);
        EXPECT_NEAR(copy->mainAxis.front().y, 0.0, 1e-9);
    };
    expectDefaultStem(shown.copySelected()); // nothing selected
    shown.select(0, kCategoryLeaf);
    expectDefaultStem(shown.copySelected()); // the nothing tile

    shown.select(1, kCategoryLeaf);
    const std::unique_ptr<FlowerObjectNode> copy = shown.copySelected();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->kind, kKindPetal);
    EXPECT_NE(copy->id, id);
    EXPECT_EQ(copy->mainAxis.points, c.findObject(id)->mainAxis.points);

    shown.select(1, kCategoryScene);
    shown.setCategory(kCategoryScene);
    expectDefaultStem(shown.copySelected());
}
