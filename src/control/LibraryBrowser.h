#pragma once

#include "library/LibraryFile.h"

#include <QImage>

#include <array>
#include <map>
#include <memory>
#include <vector>

class FlowerObjectNode;
class QPainter;

// The thumbnails of the library view: per category an ordered map from object id
// to its 70 x 70 tile, with the "nothing" tile under key -1 at position 0, the
// category shown and one selected position per category (-1 for none).
class LibraryBrowser {
public:
    static constexpr int kNothingKey = -1;
    // Where the library view's separator band begins; the floral diagram is below it.
    static constexpr int kSeparatorTop = 307;
    static constexpr int kDiagramTop = 317;

    // Per category, the tiles by object id.
    using Tiles = std::array<std::map<int, QImage>, kCategoryCount>;

    LibraryBrowser();

    const Tiles& tiles() const { return thumbnails_; }
    // Puts back the tiles an undo step returns to. What the user chose to see and
    // to carry is no edit: the category shown stays, and each selection stays on
    // its entry (at the entry's position among the restored tiles), becoming none
    // only when the entry is gone.
    void restoreTiles(const Tiles& tiles);

    // Only the nothing tiles remain; category 1 is shown and nothing is selected.
    void reset();
    // The id's tile in that category, replacing an earlier one.
    void addEntry(int id, QImage thumbnail, int category);
    // Renews the tile of the first category (in the order 1, 2, 3, 4, 0) holding the
    // id; an id that no category holds is ignored.
    void replaceThumbnail(int id, QImage thumbnail);
    // Removes a positive id from every category; a selection of the removed
    // position becomes -1 and later selections move back by one.
    void removeEntry(int id);

    void setCategory(int category);
    int category() const { return category_; }
    // Selects the position if the category has an entry there (the nothing tile
    // included); -1 clears the selection.
    void select(int position, int category);
    int selection(int category) const;
    // The id of the entry selected in the shown category: what the Pen carries; -1
    // when nothing or the nothing tile is selected, and while scenes are shown.
    int selectedId() const;
    // The id at a position of the category in ascending id order; -1 for the
    // nothing tile and for positions outside.
    int idAt(int position, int category) const;
    // Entries of the category, the nothing tile included.
    int entryCount(int category) const;
    // The ids of the category in ascending order, without the nothing tile.
    std::vector<int> ids(int category) const;
    // The tile at a position of the category, or null.
    const QImage* thumbnailAt(int position, int category) const;

    // A copy (with fresh ids) of the selected object of the shown category; a
    // default stem when nothing is selected, the nothing tile is, or scenes are
    // shown.
    std::unique_ptr<FlowerObjectNode> copySelected() const;

    // The library view: background, separator band, cell frames, the thumbnails of
    // the shown category, four to a column in as many columns as the width holds,
    // and the selection square.
    void draw(QPainter& painter, int width, int height) const;
    // The position whose tile `draw` puts under the view pixel (x, y); -1 in the
    // gaps and outside the four rows. Clicks and drawing share this one layout.
    static int positionAt(int x, int y);

private:
    static bool validCategory(int category) { return category >= 0 && category < kCategoryCount; }

    std::array<std::map<int, QImage>, kCategoryCount> thumbnails_;
    int category_ = kCategoryPrimitive;
    std::array<int, kCategoryCount> selection_{};
};

LibraryBrowser& libraryBrowser();
