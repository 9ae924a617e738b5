#pragma once

#include "math/Matrix4.h"

#include <map>
#include <memory>
#include <vector>

class FlowerObjectComposite;
class FlowerObjectNode;
class SceneRoot;

// The scenes of the library, the scene open in the main view, the focus path from
// a plant of the open scene down to the object being edited, and the composites
// chosen as candidates for replacement. The controller embeds one.
//
// The two path sequences always have the same length, and so have the two
// candidate sequences. The root itself is never on the path; the focus is the last
// path element.
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

    const std::vector<FlowerObjectNode*>& path() const { return path_; }
    const std::vector<Matrix4>& pathMatrices() const { return pathMatrices_; }
    const std::vector<FlowerObjectComposite*>& candidates() const { return candidates_; }
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

    // The open scene as the main view shows it in a scene mode. Needs a current
    // GL context.
    void drawScene(bool showControlPoints, bool showWireFrame) const;

private:
    std::map<int, std::unique_ptr<SceneRoot>> scenes_;
    std::vector<FlowerObjectNode*> path_;
    std::vector<Matrix4> pathMatrices_;
    // The open scene is either a scene library entry, named by its id, or held here
    // while the library does not hold it; never both.
    int rootId_ = -1;
    std::unique_ptr<SceneRoot> unstoredRoot_;
    std::vector<FlowerObjectComposite*> candidates_;
    std::vector<Matrix4> candidateMatrices_;
};
