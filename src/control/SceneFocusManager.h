#pragma once

#include "gl/GroundShadows.h"
#include "interaction/Camera.h"
#include "math/Matrix4.h"

#include <map>
#include <memory>
#include <vector>

struct DrawContext;
class IdCounter;
class FlowerObjectComposite;
class FlowerObjectNode;
class FlowerTorusNode;
class SceneRoot;

// One element of the focus path or of the candidate list as it stands now: the
// object and its complete model matrix in the scene. Valid until the next edit.
struct FocusLink {
    FlowerObjectNode* node = nullptr;
    Matrix4 matrix;
};

// The scenes of the library, the scene open in the main view, the focus path from
// a plant of the open scene down to the object being edited, and the composites
// chosen as candidates for replacement. The controller embeds one.
//
// Path and candidates are held as object ids and looked up in the open scene on
// every use: an edit that removes, cuts, replaces or moves a part can never leave a
// way to reach a node that is gone, and matrices always follow the current layout.
// The path is the longest prefix of its ids that still resolves, each id a part of
// the element before it (the first a plant of the open scene or a part of one).
// The root itself is never on the path; the focus is the last path element.
class SceneFocusManager {
public:
    SceneFocusManager() = default;
    ~SceneFocusManager();
    SceneFocusManager(const SceneFocusManager&) = delete;
    SceneFocusManager& operator=(const SceneFocusManager&) = delete;

    // Null for id -1; else the stored scene with that id; else the open scene if its
    // id matches; else null.
    SceneRoot* findSceneObject(int id) const;
    SceneRoot* root() const;
    // The focus object, null without a root or with an empty path.
    FlowerObjectNode* focus() const;
    // The focus and its model matrix; null and `matrix` untouched without a focus.
    FlowerObjectNode* focusWithMatrix(Matrix4& matrix) const;
    // The element before the focus and its matrix; with a one-element path null and
    // the identity; without a root or with an empty path null and `matrix` untouched.
    FlowerObjectNode* parentWithMatrix(Matrix4& matrix) const;

    // The path and the candidates resolved now.
    std::vector<FocusLink> path() const;
    std::vector<FocusLink> candidates() const;
    // The ids as held; an undo step records and restores them.
    const std::vector<int>& pathIds() const { return pathIds_; }
    const std::vector<int>& candidateIds() const { return candidateIds_; }
    void setFocusIds(std::vector<int> pathIds, std::vector<int> candidateIds);
    // Drops the ids that no longer resolve; whether the path became shorter.
    bool prune();

    const std::map<int, std::unique_ptr<SceneRoot>>& scenes() const { return scenes_; }

    // Makes `scene` the open scene, deleting the previous one unless the scene
    // library holds it; path and candidates are cleared.
    void openScene(std::unique_ptr<SceneRoot> scene);
    // Opens the scene the scene library holds under this id; with no such scene
    // none is open afterwards.
    void openStoredScene(int id);
    // Closes the open scene (deleted unless the scene library holds it), clears path
    // and candidates.
    void closeScene();
    // The scene library takes the open scene under its id when it holds none with
    // that id yet; whether it did.
    bool storeRoot();
    // The scene library takes `scene` unless it holds that id already (the scene is
    // then deleted). Returns the stored scene or null.
    SceneRoot* storeScene(std::unique_ptr<SceneRoot> scene);
    // Removes the scene with this id: the open scene is closed when it has it, and a
    // stored one is deleted. Whether anything was removed.
    bool removeScene(int id);
    // Closes the open scene and deletes every stored scene.
    void clear();
    // The id of the open scene, -1 without one.
    int openSceneId() const;
    // Undo's way back: the stored scenes and the unstored open scene are handed out,
    // and given back as a step left them; path and candidates are cleared.
    std::map<int, std::unique_ptr<SceneRoot>> takeScenes();
    std::unique_ptr<SceneRoot> takeUnstoredRoot();
    void restore(std::map<int, std::unique_ptr<SceneRoot>> scenes, int openSceneId,
                 std::unique_ptr<SceneRoot> unstoredRoot);

    void clearPath();
    void clearCandidates();

    // The focus moves without their mode switch and camera (the controller's part):
    // the last element leaves the path; false with an empty path or no root.
    bool ascend();
    // The part with this id of the focus joins the path; with an empty path the
    // plant that is or holds the part does; a wrapper composite holding a single segment and no
    // branches is passed through to that segment, the wrapper joining the path too. Null when there
    // is no such part.
    FlowerObjectNode* descend(int id);

    // Every branch of the focus composite that is alike the composite part with
    // this id (or the composite holding the part) becomes a candidate; whether any
    // did.
    bool selectSimilar(int id);
    // The composite part of the focus with this id (or the composite holding the
    // part) joins the candidates unless it is one already; whether it joined.
    bool addCandidate(int id);

    // Puts `replacement` in the focus's place inside the element before it (a
    // composite part is replaced by a composite, wrapped first when it is none; an
    // organ of a receptacle by the receptacle's organ replacement). The focus id on
    // the path is dropped: the caller moves the focus onto the returned id, the
    // replacement's or its wrapper's. `orientation` is the attachment direction in
    // the parent's frame, `outward` the side a non-composite part faces. -1, the
    // replacement dropped, when the focus has no parent that can take it. A wrapper
    // takes its id from `ids`.
    int replaceFocus(std::unique_ptr<FlowerObjectNode> replacement, const Vector3& orientation,
                     const Vector3& outward, IdCounter& ids);
    // Makes every candidate look like `model`: position by position when the
    // structures match in size, else by a wrapper holding a copy of it. Copies and
    // wrappers take their ids from `ids`.
    void applyToCandidates(const FlowerObjectNode& model, const Vector3& orientation,
                           IdCounter& ids);

    // The open scene as the main view shows it in a scene mode: the whole scene
    // without a focus; else the top-level object holding the focus translucent
    // (the whole scene for a plant in focus), the focus in full and the candidates
    // highlighted. Needs a current GL context.
    void drawScene(const DrawContext& draw, bool showControlPoints, bool showWireFrame) const;
    // The shadows on the floor under what drawScene shows: under every plant, or with
    // the focus below a plant under the plant that holds it. None without a root.
    std::vector<GroundShadow> groundShadows(const DrawContext& draw) const;

    // The camera that frames an object with model matrix `matrix`: it looks along
    // the object's -z at the middle of its main axis from far enough to see it.
    static CameraPose framingCamera(const FlowerObjectNode& node, const Matrix4& matrix);
    // The receptacle somewhere below the composite that holds the organ with this
    // id: organs are parts of their receptacle, not of the composite.
    static FlowerTorusNode* receptacleHolding(FlowerObjectComposite& composite, int organId);

private:
    // The composite a pick of the part with this id names inside the focus: the
    // part when it is a composite, else the composite holding it; never the focus.
    const FlowerObjectComposite* branchAt(int id) const;

    std::map<int, std::unique_ptr<SceneRoot>> scenes_;
    std::vector<int> pathIds_;
    // The open scene is either a scene library entry, named by its id, or held here
    // while the library does not hold it; never both.
    int rootId_ = -1;
    std::unique_ptr<SceneRoot> unstoredRoot_;
    std::vector<int> candidateIds_;
};
