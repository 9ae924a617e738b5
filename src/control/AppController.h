#pragma once

#include "control/CameraFlight.h"
#include "control/Change.h"
#include "control/CommitPublisher.h"
#include "control/EditorSettings.h"
#include "control/InteractionMode.h"
#include "control/ModelHistory.h"
#include "control/ObjectLibrary.h"
#include "control/SceneEdits.h"
#include "control/SceneFocusManager.h"
#include "model/AxisOpeningOrder.h"
#include "model/DrawContext.h"
#include "model/IdCounter.h"
#include "model/ReadContext.h"

#include <functional>
#include <memory>
#include <string>

class FlowerObjectNode;
class ModeHost;
class SceneNode;
class SceneRoot;
class TOGL;
class TextureCache;
class ViewHost;

// The hub every command, interaction state, view and loader goes through. It
// composes the parts that each do one job: the object library with the work
// object, the scenes with the focus (SceneFocusManager), the scene edits, the
// editor settings, the commit publisher, the model history and the camera flight.
// What it does itself is what ties them together: the interaction mode, the focus
// moves, storing and removing objects, and the one commit point. It owns the
// records the plant objects are built, read and drawn with (ids, parameters,
// display switches, texture cache) and hands them to whatever builds, copies,
// reads or draws.
//
// Every user action ends in one commit: the action notes what it changed
// (`noteChange`) and the event's entry point (a mouse message, a command, a dialog
// notification, a file load) calls `commit`, which repaints each affected window
// once and refreshes the picks once. Only interim paints during a drag or a stroke
// bypass it.
class AppController {
public:
    AppController();
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // The texture cache the plant objects are read, drawn and written with; none
    // until the windows provide one.
    void installTextures(TextureCache* textures);
    TextureCache* textures() const { return textures_; }

    // The windows to redraw and render into; null leaves everything undrawn.
    void setViewHost(ViewHost* host);
    ViewHost* viewHost() const { return publisher_.viewHost(); }
    // The main view's context, null without one.
    TOGL* mainContext() const { return publisher_.mainContext(); }
    // The interaction modes; null leaves mode switches to the mode field alone.
    void setModeHost(ModeHost* host) { modeHost_ = host; }
    ModeHost* modeHost() const { return modeHost_; }

    EditorSettings& settings() { return settings_; }
    const EditorSettings& settings() const { return settings_; }

    // The current interaction mode.
    int mode() const { return mode_; }
    // The one way the mode changes: the mode's state becomes current, and the main
    // view is repainted and re-picked at the commit. Values outside 0..14 are
    // ignored.
    void switchToMode(int mode);

    FlowerObjectNode* workObject() const { return objects_.workObject(); }
    FlowerObjectNode* findObject(int id) const { return objects_.find(id); }
    const ObjectLibrary::Entries& library() const { return objects_.entries(); }
    bool libraryHolds(const FlowerObjectNode* node) const { return objects_.holds(node); }
    // The counter's value, then counts on.
    int nextId() { return ids_.nextId(); }
    // The counter every object the program builds, copies or reads takes its id from.
    IdCounter& ids() { return ids_; }
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
    // Where the main camera goes back to when the focus leaves the plants.
    CameraPose homeCamera() const;
    // A camera flight under way ends at its target now; the main view is repainted
    // and picked from there at the commit.
    void landCameraFlight();
    bool cameraFlying() const { return flight_.flying(); }

    SceneEdits& sceneEdits() { return sceneEdits_; }
    const SceneEdits& sceneEdits() const { return sceneEdits_; }

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
    // texture cache, the floral diagram's slot selection and the moment of the bloom.
    // A view fills in its frame (TOGL::frameContext).
    DrawContext drawRecords() const;
    // With the main or overall view's context current: the background, light
    // positions, the floor with the shadows of what the view shows (while "Show
    // floor" is on), then the open scene (scene modes) or the work object (creation
    // modes). A pick frame shows only the objects.
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
    void noteChange(unsigned changes, const std::string& step = {}) {
        publisher_.note(changes, step);
    }
    // A change of one setting (a spin box): a burst of them is one undo step.
    void noteAdjustment(unsigned changes, const std::string& step) {
        publisher_.noteAdjustment(changes, step);
    }
    // The last step made again with other values (a dialog re-applied): it replaces
    // that step's result while it is still the last step.
    void noteRevision(unsigned changes, const std::string& step) {
        publisher_.noteRevision(changes, step);
    }
    // The action edited this object in place although it is neither the work object
    // nor the open scene (a flower head through its floral diagram).
    void noteEdited(int objectId) { publisher_.noteEdited(objectId); }
    // Publishes what the finished action changed: each affected window is repainted
    // once, the picks are refreshed once, the tile of an edited library entry is
    // rendered again, and a change of the model becomes an undo step. Nothing
    // happens when nothing was noted.
    void commit();
    // Notes and commits in one call.
    void commit(unsigned changes, const std::string& step = {});
    // The next commit starts the undo history afresh from what the model then is
    // (a library opened or loaded at start-up).
    void restartHistory() { history_.restart(); }

    // Takes back the last step, or makes the last step taken back again; false when
    // there is none. The model, the work object, the open scene, the library's
    // tiles, the mode and the floral diagram return to what they were; the category
    // shown and the selections stay (see LibraryBrowser::restoreTiles).
    bool undo();
    bool redo();
    const UndoHistory& history() const { return history_.steps(); }
    void setHistoryLimits(std::size_t steps, std::size_t bytes) {
        history_.setLimits(steps, bytes);
    }
    // Called at the end of every commit that published something, after the
    // repaints: the window shell brings its status bar and tool buttons up to the
    // mode and tool then current. An empty function removes it.
    void setCommitObserver(std::function<void()> observer) {
        publisher_.setObserver(std::move(observer));
    }
    // The name of the last committed step that changed the model.
    const std::string& lastStep() const { return history_.lastStep(); }
    // Whether the library changed since it was last saved or opened.
    bool modified() const { return history_.modified(); }
    // The library as it is now has been saved (or opened).
    void markSaved() { history_.markSaved(); }
    // The library as it is now was never saved (recovered work): it counts as
    // modified until it is saved.
    void markUnsaved() { history_.markUnsaved(); }
    // Interim repaints of a stroke or a drag in progress; everything else repaints
    // through `commit`.
    void redrawMainView() {
        ++modelVersion_;
        publisher_.redrawMainView();
    }
    // An interim repaint after the camera alone moved (an orbit, a dolly, the
    // automatic rotation): the objects draw as the last frame drew them.
    void redrawMainViewForCamera() { publisher_.redrawMainView(); }
    // A move of the time slider while it is dragged or played: the main view shows
    // the bloom at `time` (0..1) at once; the picks follow when the move ends.
    void showBloomAt(double time);
    void redrawLibraryView() { publisher_.redrawLibraryView(); }
    // Whether the overall window's repaint after the last commit is still to come.
    bool overallRepaintDue() const { return publisher_.overallRepaintDue(); }

private:
    // What a view shows behind its objects outside a pick frame: the background and,
    // while "Show floor" is on, the floor with `shadows` on it.
    void drawStage(const DrawContext& draw,
                   const std::function<std::vector<GroundShadow>()>& shadows) const;
    // The mode the focus is edited in (0 without one), with the floral diagram bound
    // to a receptacle in focus.
    void switchToFocusMode();
    // After a focus move: the Cursor tool, and the camera flying to `target` when
    // animated.
    void settleFocusMove(bool animate, const CameraPose& target);
    // Puts back the tiles, mode and floral diagram of a state the history restored
    // the model to, and publishes it; the overall window is repainted when the open
    // scene was rebuilt (`sceneRestored`) or shows otherwise.
    void returnTo(const ModelSnapshot& state, bool sceneRestored);
    // `changes` with the overall window's repaint added when the mode switched
    // between the scene modes, which it shows the scene in, and the others.
    unsigned withOverallShown(unsigned changes);
    // The bloom's moment from the time dialog's settings, the plants shown (the open
    // scene's in a scene mode, else a plant being made) opening in order.
    BloomTime bloomMoment() const;

    TextureCache* textures_ = nullptr;
    ModeHost* modeHost_ = nullptr;
    int mode_ = kModeComposite;
    bool overallShowsScene_ = false;
    // Counts what may have changed how the objects draw: every commit, every restored
    // state and every interim repaint of an edit in progress; the views' drawing keys
    // stay while it stands (DrawContext::modelVersion).
    std::uint64_t modelVersion_ = 1;
    EditorSettings settings_;
    ObjectLibrary objects_;
    SceneFocusManager sceneFocus_;
    IdCounter ids_;
    CommitPublisher publisher_;
    ModelHistory history_;
    SceneEdits sceneEdits_;
    CameraFlight flight_;
    // The opening order of the plants shown, for the frames that show the bloom; it
    // lives here so that a frame's draw context can point at it. It holds for the
    // model version, object shown and direction it was gathered for.
    struct OpeningOrderSource {
        std::uint64_t modelVersion = 0;
        const SceneNode* shown = nullptr;
        bool topFirst = false;
        bool operator==(const OpeningOrderSource&) const = default;
    };
    mutable AxisOpeningOrder openingOrder_;
    mutable OpeningOrderSource openingOrderSource_;
};

AppController& appController();
