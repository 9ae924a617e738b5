#pragma once

#include "app/SceneFocusManager.h"
#include "math/Rgba.h"
#include "model/ModelContext.h"
#include "model/Parameters.h"

#include <map>
#include <memory>

class FlowerObjectNode;
class SceneRoot;
class TextureCache;
class ViewHost;

// The interaction modes: each names the state that receives the main view's mouse
// events. Modes 0..5 show the open scene, 6..14 the work object.
enum InteractionMode : int {
    kModeSceneSketch = 0,
    kModeSceneModify = 1,
    kModeScenePetal = 2,
    kModeSceneTorus = 3,
    kModeSceneStamen = 4,
    kModeScenePetalModify = 5,
    kModeTorusModify = 6,
    kModeCompositModify = 7,
    kModeComposit = 8,
    kModePetal = 9,
    kModePetalModify = 10,
    kModeStamen = 11,
    kModeStamenModify = 12,
    kModePistil = 13,
    kModePistilModify = 14,
};
inline constexpr int kModeCount = 15;

inline constexpr bool isSceneMode(int mode) {
    return mode >= kModeSceneSketch && mode <= kModeScenePetalModify;
}

// The tools of the scene modes.
enum DrawingTool : int {
    kToolPen = 0,
    kToolCursor = 1,
    kToolEraser = 2,
    kToolBrowsing = 3,
    kToolAxisModify = 4,
    kToolBranchBillboard = 5,
    kToolFlowerBillboard = 6,
    kToolLeafBillboard = 7,
};

// The library category of an object follows from its class: receptacles are
// flowers, petals leaves, pistils, stamens and stems primitives, and everything
// else (composites, sketches) composites.
int libraryCategoryOf(const FlowerObjectNode& node);

// The hub every command, interaction state, view and loader goes through: the
// interaction mode, the drawing tool and display switches, the work object of the
// creation modes, the object library and the scenes, and the id counter. It owns
// the records the plant objects read (ids, parameters, display switches) and
// installs them for as long as it lives.
class AppController {
public:
    AppController();
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // The texture cache the plant objects use; none until the windows provide one.
    void installTextures(TextureCache* textures);

    // The windows to redraw and render into; null leaves everything undrawn.
    void setViewHost(ViewHost* host) { host_ = host; }
    ViewHost* viewHost() const { return host_; }

    FlowerObjectNode* workObject() const { return workObject_; }
    // Null for id -1; else the library entry; else the work object if its id
    // matches; else null.
    FlowerObjectNode* findObject(int id) const;
    const std::map<int, std::unique_ptr<FlowerObjectNode>>& library() const { return library_; }
    bool libraryHolds(const FlowerObjectNode* node) const;
    // The counter's value, then counts on.
    int nextId() { return ids_.nextId(); }

    SceneFocusManager& sceneFocus() { return sceneFocus_; }
    const SceneFocusManager& sceneFocus() const { return sceneFocus_; }
    SceneRoot* root() const { return sceneFocus_.root(); }
    FlowerObjectNode* focus() const { return sceneFocus_.focus(); }
    SceneRoot* findSceneObject(int id) const { return sceneFocus_.findSceneObject(id); }
    // Opens a scene in the main view (the previous one is deleted unless the scene
    // library holds it) with the Cursor tool; the scene modes forget any
    // half-finished stroke or pick.
    void openScene(std::unique_ptr<SceneRoot> scene);
    // The object the object commands act on: the focus in a scene mode, else the
    // work object.
    FlowerObjectNode* targetObject() const;

    // With the main or overall view's context current: light positions, then the
    // open scene (scene modes) or the work object (creation modes).
    void drawMainView();
    void drawOverall();
    // Renders the main view in pick colours into the main context's CPU copies.
    void refreshPickBuffers();

    // Replaces the work object (the previous one is deleted unless the library holds
    // it); then library view and main view are redrawn and the picks refreshed.
    void setWorkObject(std::unique_ptr<FlowerObjectNode> node);
    // The library takes the object under its id with a rendered thumbnail. An id the
    // library already holds keeps its entry and the new object is dropped. The work
    // object is empty afterwards.
    void addToLibrary(std::unique_ptr<FlowerObjectNode> node, int category);
    // The scene library takes the scene with a rendered thumbnail in category 0.
    void addScene(std::unique_ptr<SceneRoot> scene);
    // Removes the object or scene with this id wherever it is held. A work object
    // with this id is dropped and the mode returns to 8. Whether anything was
    // removed.
    bool removeObject(int id);
    // "Store Current object": the open scene in mode 0, else the work object, into
    // the library; storing again renews only the thumbnail.
    void storeCurrent();
    // Empties library, scenes and work object, resets the thumbnails and the id
    // counter, and redraws everything.
    void resetAll();

    void redrawMainView();
    void redrawOverallView();
    void redrawLibraryView();

    // The current interaction mode; the mode switches of the MouseListenerManager
    // keep it in step with the main-view listener.
    int mode = kModeComposit;
    int drawingTool = kToolPen;
    // The rule the petal-editing modes update control points by; no command changes
    // it.
    int controlPointVariant = 0;
    // 0 attaches objects upright ("z direction Up"), 1 towards the viewer ("Here").
    int zDirection = 0;
    Rgba sketchColour{1.0f, 1.0f, 0.0f, 0.5f};
    bool stamenEditEnabled = true;
    bool showFloor = true;
    bool showControlPoints = false;
    bool showWireFrame = false;
    // Billboards, sketches and organ strokes: read by the drawing code.
    DisplaySwitches display;
    // The tessellation values the parameter dialog edits and the organs read.
    Parameters parameters;

private:
    // Deletes the work object unless the library holds it; the work object is empty.
    void dropWorkObject();

    ViewHost* host_ = nullptr;
    FlowerObjectNode* workObject_ = nullptr;
    // The work object while the library does not hold it.
    std::unique_ptr<FlowerObjectNode> ownedWorkObject_;
    std::map<int, std::unique_ptr<FlowerObjectNode>> library_;
    SceneFocusManager sceneFocus_;
    IdCounter ids_;
    ModelContext previousContext_;
};

AppController& appController();
