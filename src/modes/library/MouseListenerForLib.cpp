#include "modes/library/MouseListenerForLib.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"

#include <cmath>

namespace {

// The mode an opened copy is edited in, by its kind; -1 keeps the mode.
int editingModeOf(int kind) {
    switch (kind) {
    case kKindPistil:
        return kModePistilModify;
    case kKindStamen:
        return kModeStamenModify;
    case kKindPetal:
        return kModePetalModify;
    case kKindTorus:
        return kModeTorusModify;
    case kKindComposite:
        return kModeCompositeModify;
    default:
        return -1;
    }
}

} // namespace

int MouseListenerForLib::tileAt(int x, int y) {
    const int position = LibraryBrowser::positionAt(x, y);
    const LibraryBrowser& browser = libraryBrowser();
    return position < browser.entryCount(browser.category()) ? position : -1;
}

int MouseListenerForLib::entryAt(int x, int y) {
    const LibraryBrowser& browser = libraryBrowser();
    return browser.idAt(tileAt(x, y), browser.category());
}

int MouseListenerForLib::diagramDistance(int x, int y) {
    const QPoint centre = floralDiagram().centre();
    return static_cast<int>(std::hypot(x - centre.x(), y - centre.y()));
}

void MouseListenerForLib::onLButtonDown(int x, int y) {
    leftDown = true;
    pressedPosition_ = tileAt(x, y);
    pressedId_ = libraryBrowser().idAt(pressedPosition_, libraryBrowser().category());
    hit_ = floralDiagram().hitTest(x, y);
    diagramDrag_ = hit_.kind != DiagramHit::kNothing;
    dragged_ = false;
    noteChange(kChangeLibraryView);
}

void MouseListenerForLib::onMouseMove(int x, int y) {
    AppController& controller = appController();
    if (leftDown && diagramDrag_) {
        // Every move shows the organ or ring where it now is; the change is published
        // once, at the release.
        if (floralDiagram().dragTo(x, y, hit_.kind, hit_.index)) {
            dragged_ = true;
            controller.redrawMainView();
            controller.redrawLibraryView();
        }
    } else if (rightDown && marking_) {
        FloralDiagram& diagram = floralDiagram();
        const int r = diagramDistance(x, y);
        diagram.setHighlight(markRadius_, r);
        diagram.clearMarks();
        diagram.markRange(markRadius_, r);
        controller.redrawLibraryView();
    }
}

void MouseListenerForLib::onLButtonUp(int x, int y) {
    if (!leftDown)
        return;
    leftDown = false;
    AppController& controller = appController();
    if (dragged_)
        noteChange(controller.targetChange(), hit_.kind >= DiagramHit::kRingHandle
                                                  ? "Move whorl ring"
                                                  : "Move organ in diagram");
    // A press and release on the same tile selects it; a tile dragged elsewhere
    // is deleted or dropped instead.
    if (pressedPosition_ != -1 && tileAt(x, y) == pressedPosition_) {
        select(pressedPosition_);
    } else if (pressedId_ != -1) {
        const DiagramHit drop = floralDiagram().hitTest(x, y);
        if (LibraryBrowser::positionAt(x, y) == 0) {
            if (controller.removeObject(pressedId_))
                noteChange(kChangeLibrary, "Delete from library");
        } else if (drop.index != -1) {
            const FlowerObjectNode* prototype = controller.findObject(pressedId_);
            if (prototype &&
                floralDiagram().applyToOne(*prototype, drop.kind, drop.index, controller.ids()))
                noteChange(controller.targetChange(), "Fill organs");
        }
    }
    reset();
    noteChange(kChangeLibraryView | kChangeMainView);
}

void MouseListenerForLib::onRButtonDown(int x, int y) {
    rightDown = true;
    if (y <= LibraryBrowser::kSeparatorTop)
        return;
    marking_ = true;
    floralDiagram().clearMarks();
    markRadius_ = diagramDistance(x, y);
    noteChange(kChangeLibraryView);
}

void MouseListenerForLib::onRButtonUp(int, int) {
    rightDown = false;
    marking_ = false;
    markRadius_ = 0;
    floralDiagram().setHighlight(0, 0);
    // The marked organs show their control points in the main view. The marks are
    // the view's, not the flower's: no step to undo.
    noteChange(kChangeLibraryView | kChangeMainView);
}

void MouseListenerForLib::onLButtonDblClk(int x, int y) {
    if (const int position = tileAt(x, y); position != -1)
        select(position);
}

void MouseListenerForLib::select(int position) {
    LibraryBrowser& browser = libraryBrowser();
    browser.select(position, browser.category());
    noteChange(kChangeLibraryView);
}

void MouseListenerForLib::onRButtonDblClk(int x, int y) {
    const int id = entryAt(x, y);
    if (id != -1)
        openForEditing(id);
}

void MouseListenerForLib::openForEditing(int id) {
    AppController& controller = appController();
    if (libraryBrowser().category() == kCategoryScene) {
        if (const SceneRoot* scene = controller.findSceneObject(id)) {
            controller.openScene(scene->clone(controller.ids()));
            controller.switchToMode(kModeSceneSketch);
            noteChange(kChangeScene | kChangeLibraryView, "Open scene");
        }
        return;
    }
    const FlowerObjectNode* entry = controller.findObject(id);
    if (!entry)
        return;
    std::unique_ptr<FlowerObjectNode> copy = entry->clone(controller.ids());
    FlowerObjectNode* opened = copy.get();
    const int mode = editingModeOf(copy->kind);
    controller.setWorkObject(std::move(copy));
    if (mode != -1)
        controller.switchToMode(mode);
    // The diagram shows the flower head being edited, not the entry it came from.
    if (opened->kind == kKindTorus)
        floralDiagram().bind(static_cast<FlowerTorusNode*>(opened));
    noteChange(kChangeWorkObject, "Open copy");
}

void MouseListenerForLib::reset() {
    pressedPosition_ = -1;
    pressedId_ = -1;
    diagramDrag_ = false;
    hit_ = DiagramHit{};
    dragged_ = false;
}
