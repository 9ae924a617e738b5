#pragma once

#include "control/SceneFocusManager.h"
#include "control/UndoHistory.h"
#include "math/Rgba.h"
#include "model/DisplaySwitches.h"
#include "model/DrawContext.h"
#include "model/Parameters.h"
#include "model/ReadContext.h"

#include <QImage>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

class FlowerObjectNode;
class ModeHost;
class SceneNode;
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

inline constexpr bool isValidMode(int mode) {
    return mode >= 0 && mode < kModeCount;
}

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

// What a finished user action changed, for the commit that publishes it. The first
// three are changes of the model (they make the library unsaved); the others only
// change what the views show.
enum Change : unsigned {
    kChangeWorkObject = 1u << 0,  // the work object was replaced or edited
    kChangeScene = 1u << 1,       // the open scene or the focus inside it changed
    kChangeLibrary = 1u << 2,     // a library entry was added, removed or renewed
    kChangeMainView = 1u << 3,    // mode, camera or a display switch: repaint and re-pick
    kChangeLibraryView = 1u << 4, // category, selection or floral diagram shown
    kChangeOverallView = 1u << 5, // the overall window's camera
    kChangeTool = 1u << 6,        // the drawing tool: only the status line follows
};
inline constexpr unsigned kModelChanges = kChangeWorkObject | kChangeScene | kChangeLibrary;

// The hub every command, interaction state, view and loader goes through: the
// interaction mode, the drawing tool and display switches, the work object of the
// creation modes, the object library and the scenes, and the id counter. It owns
// the records the plant objects are built, read and drawn with (ids, parameters,
// display switches) and hands them to whatever builds, copies, reads or draws.
//
// Every user action ends in one commit: the action notes what it changed
// (`noteChange`) and the event's entry point (a mouse message, a command, a dialog
// notification, a file load) calls `commit`, which repaints each affected window
// once and refreshes the picks once. Only interim paints during a drag or a stroke
// bypass it.
class AppController {
public:
    AppController() = default;
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // The texture cache the plant objects use; none until the windows provide one.
    void installTextures(TextureCache* textures);

    // The windows to redraw and render into; null leaves everything undrawn.
    void setViewHost(ViewHost* host) { host_ = host; }
    ViewHost* viewHost() const { return host_; }
    // The interaction modes; null leaves mode switches to the mode field alone.
    void setModeHost(ModeHost* host) { modeHost_ = host; }
    ModeHost* modeHost() const { return modeHost_; }

    // The current interaction mode.
    int mode() const { return mode_; }
    // The one way the mode changes: the mode's state becomes current, and the main
    // view is repainted and re-picked at the commit. Values outside 0..14 are
    // ignored.
    void switchToMode(int mode);

    // The work object: held here while the library does not hold it, else the
    // library entry with its id; null when there is none or its entry was removed.
    FlowerObjectNode* workObject() const;
    // Null for id -1; else the library entry; else the work object if its id
    // matches; else null.
    FlowerObjectNode* findObject(int id) const;
    const std::map<int, std::unique_ptr<FlowerObjectNode>>& library() const { return library_; }
    bool libraryHolds(const FlowerObjectNode* node) const;
    // The counter's value, then counts on.
    int nextId() { return ids_.nextId(); }
    // The counter every object the program builds, copies or reads takes its id from.
    IdCounter& ids() { return ids_; }
    // The texture cache the windows provide; null before they do.
    TextureCache* textures() const { return textures_; }
    // What reading records into the program's model works with: the program's ids,
    // parameters and texture cache; `libraryFolder` is the folder relative image
    // paths are taken against (none for records the program wrote itself).
    ReadContext readContext(std::string libraryFolder = {});
    // What writing the program's records works with: its texture cache; image paths
    // are written relative to `libraryFolder` when they lie inside it.
    WriteContext writeContext(std::string libraryFolder = {}) const;

    SceneFocusManager& sceneFocus() { return sceneFocus_; }
    const SceneFocusManager& sceneFocus() const { return sceneFocus_; }
    SceneRoot* root() const { return sceneFocus_.root(); }
    FlowerObjectNode* focus() const { return sceneFocus_.focus(); }
    SceneRoot* findSceneObject(int id) const { return sceneFocus_.findSceneObject(id); }
    // Opens a scene in the main view (the previous one is deleted unless the scene
    // library holds it) with the Cursor tool; the scene modes forget any
    // half-finished stroke or pick.
    void openScene(std::unique_ptr<SceneRoot> scene);
    // The focus moves. Each clears the candidates, takes the Cursor tool and
    // switches to the mode the new focus's class is edited in (0 without a focus):
    // a receptacle binds the floral diagram. Animated, the main camera flies to frame
    // the new focus (to home without one).
    void focusToRoot(bool animate);
    void focusUp(bool animate);
    // The part with this id of the focus becomes the focus; without a focus the
    // plant that is or holds the part does.
    void focusDown(int id, bool animate);
    bool selectSimilar(int id);
    bool addCandidate(int id);
    // "Load object from library": the candidates, or else the focus, are replaced by
    // copies of the library view's selection.
    void loadSelectedIntoFocus();
    // Whether there is something for it to replace: candidates, or a focus whose
    // holder is on the focus path.
    bool canLoadSelectedIntoFocus() const;
    // "Leaf or Petal creation": a plant or flower head in focus takes a petal drawn
    // onto it (mode 2); the petal mode starts a new petal in any case.
    void startPetalOnFocus();
    // Whether a plant or flower head is in focus to take the petal.
    bool focusTakesPetal() const;
    // The focused sketch gives way to an organ drawn along its stroke. A sketch with
    // no parent on the focus path stays; the new organ takes its place and the focus.
    // A stamen and a flower head go into a plant or a flower head, a stem only into
    // a plant; the flower head is scaled to the sketch's length.
    void replaceSketchWithStamen();
    void replaceSketchWithStem();
    void replaceSketchWithFlower();
    // The sketch's stroke, resampled to the petal rows, becomes the midrib of a petal
    // the petal mode draws in its place.
    void replaceSketchWithPetal();
    // Whether the focused sketch can give way to an organ of this kind (kKindStamen,
    // kKindStem, kKindTorus or kKindPetal) by the rules above.
    bool sketchReplaceableBy(int kind) const;
    // Flies the main camera to `target` in short synchronous repaints; without a
    // main view nothing happens.
    void flyMainCamera(const CameraPose& target);
    // The object the object commands act on: the focus in a scene mode, else the
    // work object.
    FlowerObjectNode* targetObject() const;
    // What an edit of the target object changes: the open scene in a scene mode,
    // else the work object.
    unsigned targetChange() const;
    // Home camera, an empty work object and the creation mode.
    void enterCreationMode(int creationMode);
    // "Scene Creation": a new empty scene open in mode 0, with the Pen to plant.
    void createScene();
    // "Flower Creation": a new receptacle with the new-flower layout becomes the
    // work object in mode 6 and is stored at once.
    void createFlower();

    // The records drawing reads that the controller owns: the display switches, the
    // texture cache and the floral diagram's slot selection. A view fills in its
    // frame (TOGL::frameContext).
    DrawContext drawRecords() const;
    // With the main or overall view's context current: light positions, then the
    // open scene (scene modes) or the work object (creation modes).
    void drawMainView(const DrawContext& draw);
    void drawOverall(const DrawContext& draw);

    // Replaces the work object (the previous one is deleted unless the library holds
    // it).
    void setWorkObject(std::unique_ptr<FlowerObjectNode> node);
    // The library takes the object under its id with a rendered thumbnail. An id the
    // library already holds keeps its entry and the new object is dropped. The work
    // object is empty afterwards.
    void addToLibrary(std::unique_ptr<FlowerObjectNode> node, int category);
    // The scene library takes the scene with a rendered thumbnail in category 0; no
    // scene is open afterwards.
    void addScene(std::unique_ptr<SceneRoot> scene);
    // Removes the object or scene with this id wherever it is held. A work object
    // with this id is dropped and the mode returns to 8. Whether anything was
    // removed.
    bool removeObject(int id);
    // "Store Current object": the open scene in mode 0, the focus in the other scene
    // modes (a sketch excepted), else the work object, into the library; storing a
    // scene or work object again renews only the thumbnail. Whether there was
    // something to store.
    bool storeCurrent();
    // What storeCurrent would store; null when there is nothing.
    const SceneNode* storable() const;
    // Empties library, scenes and work object, resets the thumbnails and the id
    // counter.
    void resetAll();

    // Notes what the action in progress changed; `step` names it when it changed
    // the model ("Bend petal").
    void noteChange(unsigned changes, const std::string& step = {});
    // A change of one setting (a spin box): a burst of them is one undo step.
    void noteAdjustment(unsigned changes, const std::string& step);
    // The action edited this object in place although it is neither the work object
    // nor the open scene (a flower head through its floral diagram).
    void noteEdited(int objectId);
    // Publishes what the finished action changed: each affected window is repainted
    // once, the picks are refreshed once, the tile of an edited library entry is
    // rendered again, and a change of the model becomes an undo step. Nothing
    // happens when nothing was noted.
    void commit();
    // Notes and commits in one call.
    void commit(unsigned changes, const std::string& step = {});
    // The next commit starts the undo history afresh from what the model then is
    // (a library opened or loaded at start-up).
    void restartHistory() { restartHistory_ = true; }

    // Takes back the last step, or makes the last step taken back again; false when
    // there is none. The model, the work object, the open scene, the library's
    // tiles, the mode and the floral diagram return to what they were; the category
    // shown and the selections stay (see LibraryBrowser::restoreTiles).
    bool undo();
    bool redo();
    const UndoHistory& history() const { return history_; }
    void setHistoryLimits(std::size_t steps, std::size_t bytes) {
        history_.setLimits(steps, bytes);
    }
    // Called at the end of every commit that published something, after the
    // repaints: the window shell brings its status bar and tool buttons up to the
    // mode and tool then current. An empty function removes it.
    void setCommitObserver(std::function<void()> observer) {
        commitObserver_ = std::move(observer);
    }
    // The name of the last committed step that changed the model.
    const std::string& lastStep() const { return lastStep_; }
    // Whether the library changed since it was last saved or opened.
    bool modified() const { return history_.currentSerial() != savedSerial_; }
    // The library as it is now has been saved (or opened).
    void markSaved() { savedSerial_ = history_.currentSerial(); }
    // The library as it is now was never saved (recovered work): it counts as
    // modified until it is saved.
    void markUnsaved() { savedSerial_ = kNeverSaved; }
    // How often the picks were refreshed: lets tests and benchmarks count the work a
    // commit does.
    int pickRefreshCount() const { return pickRefreshes_; }

    // Interim repaints of a stroke or a drag in progress; everything else repaints
    // through `commit`.
    void redrawMainView();
    void redrawOverallView();
    void redrawLibraryView();

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
    // Renders the main view in pick colours into the main context's CPU copies.
    void refreshPickBuffers();
    // A library tile of the node, rendered through the main view's context.
    QImage thumbnailOf(SceneNode& node);
    // The repaints and the pick refresh that publish `changes`.
    void publish(unsigned changes);
    // The model as it now is, sharing with the current history state the copies of
    // whatever `changes` and the edited ids leave untouched.
    ModelSnapshot captureSnapshot(unsigned changes);
    // `focusPath` and `candidates` are where the focus returns to, each id kept
    // only while it resolves in the restored scene.
    void restoreSnapshot(const ModelSnapshot& target, std::vector<int> focusPath,
                         std::vector<int> candidates);
    // The focused sketch, null when the focus is none.
    FlowerObjectNode* focusedSketch() const;
    // Puts `organ` in the focused sketch's place and focuses it; whether it went in.
    bool putInSketchPlace(std::unique_ptr<FlowerObjectNode> organ);
    // The mode the focus is edited in (0 without one), with the floral diagram bound
    // to a receptacle in focus.
    void switchToFocusMode();
    // The direction a replacement is attached along, in the frame of the focus's
    // parent: upright, or towards the viewer with "z direction Here".
    Vector3 attachmentOrientation() const;
    // Where the main camera goes back to when the focus leaves the plants.
    CameraPose homeCamera() const;
    // Renders the tiles of the library entries the committed action edited.
    void renewEditedThumbnails(unsigned changes);

    ViewHost* host_ = nullptr;
    TextureCache* textures_ = nullptr;
    ModeHost* modeHost_ = nullptr;
    int mode_ = kModeComposit;
    // The work object is either a library entry, named by its id, or held here while
    // the library does not hold it; never both.
    int workObjectId_ = -1;
    std::unique_ptr<FlowerObjectNode> unstoredWorkObject_;
    std::map<int, std::unique_ptr<FlowerObjectNode>> library_;
    SceneFocusManager sceneFocus_;
    IdCounter ids_;
    unsigned pendingChanges_ = 0;
    std::string pendingStep_;
    bool pendingBurst_ = false;
    std::set<int> editedIds_;
    std::string lastStep_;
    int pickRefreshes_ = 0;
    // A tile was rendered into the main context's CPU copies since the last pick
    // refresh.
    bool picksStale_ = false;
    UndoHistory history_;
    bool restartHistory_ = true;
    static constexpr unsigned long long kNeverSaved = ~0ULL;
    unsigned long long savedSerial_ = 0;
    // The history copy each live object and scene is equal to, by id: undo keeps a
    // live object whose copy it returns to, and the next snapshot shares it.
    std::map<int, ModelSnapshot::Object> objectSources_;
    std::map<int, ModelSnapshot::Scene> sceneSources_;
    std::function<void()> commitObserver_;
};

AppController& appController();
