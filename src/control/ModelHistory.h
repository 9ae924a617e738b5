#pragma once

#include "control/FrozenEntry.h"
#include "control/ModelSnapshot.h"
#include "model/FlowerObjectComposite.h"
#include "control/UndoHistory.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class ObjectLibrary;
class SceneFocusManager;
struct ReadContext;
struct WriteContext;

// The model's undo history: at each commit that changed the model a snapshot of
// the library, the work object, the scenes and what the views showed, and on undo
// and redo the library and the scenes put back as a snapshot holds them. A snapshot
// shares the frozen copy of every object the step left alone with the snapshot
// before it; a live object that already is what the restored snapshot holds stays
// as it is. It also knows whether the current state is the one last saved.
class ModelHistory {
public:
    ModelHistory(ObjectLibrary& objects, SceneFocusManager& scenes);

    // The next record starts the history afresh from what the model then is (a
    // library opened or loaded at start-up).
    void restart() { restart_ = true; }
    // The step the user took led to the model as it now is, in `mode`. `changes` and
    // the edited ids say what the step may have changed: the copies of everything
    // else are shared with the state before. An empty name is made up from the
    // changes. Starting afresh, the state counts as saved and no step is recorded.
    // Copies are frozen as records written with `writing`.
    void record(unsigned changes, const std::set<int>& editedIds, std::string step,
                StepJoining joining, int mode, const WriteContext& writing);

    // Puts back the library and the scenes of the state before (after) the current
    // one, with the focus path and candidates where the step taken back (made again)
    // was made; the state put back, null when there is none. The rest of the
    // snapshot (tiles, mode, floral diagram) is for the caller to put back. Copies
    // are thawed from their records with `reading`.
    const ModelSnapshot* undo(const ReadContext& reading);
    const ModelSnapshot* redo(const ReadContext& reading);

    const UndoHistory& steps() const { return history_; }
    void setLimits(std::size_t steps, std::size_t bytes) { history_.setLimits(steps, bytes); }
    // The name of the last recorded step.
    const std::string& lastStep() const { return lastStep_; }

    // Whether the model changed since it was last saved or opened.
    bool modified() const { return history_.currentSerial() != savedSerial_; }
    void markSaved() { savedSerial_ = history_.currentSerial(); }
    // The model as it is now was never saved (recovered work): it counts as modified
    // until it is saved.
    void markUnsaved() { savedSerial_ = kNeverSaved; }

private:
    ModelSnapshot capture(unsigned changes, const std::set<int>& editedIds, int mode,
                          const WriteContext& writing);
    // `focusPath` and `candidates` are where the focus returns to, each id kept only
    // while it resolves in the restored scene.
    void restore(const ModelSnapshot& target, std::vector<int> focusPath,
                 std::vector<int> candidates, const ReadContext& reading);

    ObjectLibrary& objects_;
    SceneFocusManager& scenes_;
    UndoHistory history_;
    bool restart_ = true;
    std::string lastStep_;
    static constexpr unsigned long long kNeverSaved = ~0ULL;
    unsigned long long savedSerial_ = 0;
    // The history copy each live object and scene is equal to, by id: undo keeps a
    // live object whose copy it returns to, and the next snapshot shares it.
    std::map<int, ModelSnapshot::Object> objectSources_;
    std::map<int, ModelSnapshot::Scene> sceneSources_;
    // The plants the last restore took out of the open scene, each with its piece:
    // one step's worth, so that redo after undo (and undo after redo) swaps them.
    FrozenEntry::SparePlants sparePlants_;
};
