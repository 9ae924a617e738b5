#include "control/LibraryBrowser.h"

#include "control/AppController.h"
#include "control/Singleton.h"
#include "control/Thumbnail.h"
#include "organs/FlowerStemNode.h"

#include <QPainter>

namespace {

constexpr int kCellOrigin = 6;
constexpr int kCellPitch = 76;
constexpr int kRows = 4;
constexpr int kMaxFrameColumns = 100;
constexpr int kSelectionInset = 3;
// Categories in the order a renewed thumbnail looks for its entry.
constexpr int kReplaceOrder[] = {kCategoryPrimitive, kCategoryLeaf, kCategoryFlower,
                                 kCategoryComposite, kCategoryScene};

// The index of the cell under a coordinate along either axis, or -1 before the
// first cell and in the gaps; a cell takes a click up to one pixel past its tile.
int cellIndex(int coordinate) {
    const int offset = coordinate - kCellOrigin;
    if (offset < 0)
        return -1;
    return offset % kCellPitch <= kThumbnailSize ? offset / kCellPitch : -1;
}

void horizontalLine(QPainter& painter, int y, int width, const QColor& colour) {
    painter.setPen(QPen(colour, 1));
    painter.drawLine(0, y, width - 1, y);
}

} // namespace

LibraryBrowser::LibraryBrowser() {
    reset();
}

void LibraryBrowser::reset() {
    const QImage nothing = nothingTile();
    for (auto& map : thumbnails_) {
        map.clear();
        map.emplace(kNothingKey, nothing);
    }
    category_ = kCategoryPrimitive;
    selection_.fill(-1);
}

void LibraryBrowser::restoreTiles(const Tiles& tiles) {
    for (int category = 0; category < kCategoryCount; ++category) {
        int& selected = selection_[category];
        const int id = idAt(selected, category);
        if (id != kNothingKey) {
            const auto& restored = tiles[category];
            const auto it = restored.find(id);
            selected =
                it == restored.end() ? -1 : static_cast<int>(std::distance(restored.begin(), it));
        }
    }
    thumbnails_ = tiles;
}

void LibraryBrowser::addEntry(int id, QImage thumbnail, int category) {
    if (!validCategory(category) || id == kNothingKey)
        return;
    thumbnails_[category][id] = std::move(thumbnail);
}

void LibraryBrowser::replaceThumbnail(int id, QImage thumbnail) {
    if (id == kNothingKey)
        return;
    for (int category : kReplaceOrder) {
        auto it = thumbnails_[category].find(id);
        if (it != thumbnails_[category].end()) {
            it->second = std::move(thumbnail);
            return;
        }
    }
}

void LibraryBrowser::removeEntry(int id) {
    if (id <= 0)
        return;
    for (int category = 0; category < kCategoryCount; ++category) {
        auto& map = thumbnails_[category];
        auto it = map.find(id);
        if (it == map.end())
            continue;
        const int position = static_cast<int>(std::distance(map.begin(), it));
        map.erase(it);
        int& selected = selection_[category];
        if (selected == position)
            selected = -1;
        else if (selected > position)
            --selected;
    }
}

void LibraryBrowser::setCategory(int category) {
    if (validCategory(category))
        category_ = category;
}

void LibraryBrowser::select(int position, int category) {
    if (!validCategory(category) || position < -1 || position >= entryCount(category))
        return;
    selection_[category] = position;
}

int LibraryBrowser::selection(int category) const {
    return validCategory(category) ? selection_[category] : -1;
}

int LibraryBrowser::selectedId() const {
    return category_ == kCategoryScene ? kNothingKey : idAt(selection_[category_], category_);
}

int LibraryBrowser::idAt(int position, int category) const {
    if (!validCategory(category) || position <= 0 || position >= entryCount(category))
        return -1;
    return std::next(thumbnails_[category].begin(), position)->first;
}

int LibraryBrowser::entryCount(int category) const {
    return validCategory(category) ? static_cast<int>(thumbnails_[category].size()) : 0;
}

std::vector<int> LibraryBrowser::ids(int category) const {
    std::vector<int> result;
    if (!validCategory(category))
        return result;
    for (const auto& [id, tile] : thumbnails_[category])
        if (id != kNothingKey)
            result.push_back(id);
    return result;
}

const QImage* LibraryBrowser::thumbnailAt(int position, int category) const {
    if (!validCategory(category) || position < 0 || position >= entryCount(category))
        return nullptr;
    return &std::next(thumbnails_[category].begin(), position)->second;
}

std::unique_ptr<FlowerObjectNode> LibraryBrowser::copySelected() const {
    if (const FlowerObjectNode* object = appController().findObject(selectedId()))
        return object->clone(appController().ids());
    Stroke axis;
    for (double y : {0.0, 0.05, 0.1, 0.2})
        axis.add({0.0, y, 0.0});
    AppController& controller = appController();
    return std::make_unique<FlowerStemNode>(controller.nextId(), axis,
                                            controller.settings().parameters);
}

void LibraryBrowser::draw(QPainter& painter, int width, int height) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.setBrush(Qt::NoBrush);

    const QColor lightGrey(192, 192, 192), darkGrey(128, 128, 128);
    const QColor band[] = {lightGrey, Qt::white, lightGrey, lightGrey,
                           lightGrey, darkGrey,  Qt::black};
    for (int i = 0; i < 7; ++i)
        horizontalLine(painter, kSeparatorTop + i, width, band[i]);

    painter.setPen(QPen(QColor(200, 150, 150), 1, Qt::DotLine));
    for (int i = 0; i < kMaxFrameColumns; ++i) {
        const int x = kCellOrigin + kCellPitch * i;
        if (x + kThumbnailSize > width)
            break;
        for (int j = 0; j < kRows; ++j)
            painter.drawRect(x, kCellOrigin + kCellPitch * j, kThumbnailSize - 1,
                             kThumbnailSize - 1);
    }

    int k = 0;
    for (const auto& [id, tile] : thumbnails_[category_]) {
        const int x = kCellOrigin + kCellPitch * (k / kRows);
        if (x + kThumbnailSize > width)
            break;
        painter.drawImage(x, kCellOrigin + kCellPitch * (k % kRows), tile);
        ++k;
    }

    const int s = selection_[category_];
    if (s > 0) {
        painter.setPen(QPen(QColor(180, 250, 10), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(kSelectionInset + kCellPitch * (s / kRows),
                         kSelectionInset + kCellPitch * (s % kRows), kCellPitch, kCellPitch);
    }
}

int LibraryBrowser::positionAt(int x, int y) {
    const int column = cellIndex(x);
    const int row = cellIndex(y);
    return column < 0 || row < 0 || row >= kRows ? -1 : kRows * column + row;
}

LibraryBrowser& libraryBrowser() {
    return singleton<LibraryBrowser>();
}
