#pragma once

#include "control/Change.h"
#include "control/UndoHistory.h"
#include "model/DrawContext.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <functional>
#include <set>
#include <string>

class ObjectLibrary;
class SceneNode;
class TOGL;
class ViewHost;

// Collects what the user action in progress changed and publishes it when the
// action ends: each affected window is repainted once, the main view's picks are
// marked stale (the main view renders them when a click or a hover reads them), and
// the tiles of edited library entries are rendered again. Without a view host
// (tests, the command-line tool) nothing is drawn.
//
// The main view, where the user works, is repainted at once. The overall window
// only overlooks the scene: its repaint waits for the event loop, and during a run
// of edits (a drag, undo held down) it follows at most every kOverallIntervalMs, so
// that a whole-scene frame there does not slow every step in the main view.
class CommitPublisher {
public:
    // `drawMainView` draws what the main view shows (the main view's pick frames
    // draw it in pick colours); `drawRecords` gives the records every frame and tile draws with.
    CommitPublisher(std::function<void(const DrawContext&)> drawMainView,
                    std::function<DrawContext()> drawRecords);

    // Installs the main view's pick source on the host's main context (and takes it
    // from the last host's).
    void setViewHost(ViewHost* host);
    ViewHost* viewHost() const { return host_; }
    // The main view's context, null without one.
    TOGL* mainContext() const;

    // Notes what the action in progress changed; `step` names it when it changed the
    // model.
    void note(unsigned changes, const std::string& step);
    // A change of one setting: a burst of them is one undo step.
    void noteAdjustment(unsigned changes, const std::string& step);
    // The last step made again with other values: it replaces that step's result
    // while nothing came after it.
    void noteRevision(unsigned changes, const std::string& step);
    // An object edited in place although it is neither the work object nor the open
    // scene.
    void noteEdited(int objectId);

    // What the action noted; edited objects count as a change of the library.
    struct Pending {
        unsigned changes = 0;
        std::string step;
        StepJoining joining = StepJoining::NewStep;
        std::set<int> editedIds;
    };
    // Hands out what was noted; nothing is noted afterwards.
    Pending take();
    // Forgets what was noted (a state the history restored records nothing).
    void discard() { take(); }

    // The repaints that publish `changes` and the stale picks, then the observer.
    void publish(unsigned changes);
    // Renders anew the tiles of the library entries with these ids; ids the library
    // does not hold are passed over.
    void renewThumbnails(const std::set<int>& ids, const ObjectLibrary& library);
    // A library tile of the node, rendered through the main view's context into a
    // framebuffer of its own: the picks' copies stay as they are.
    QImage thumbnailOf(SceneNode& node);

    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

    void redrawMainView();
    void redrawLibraryView();
    // Whether the overall window's repaint is waiting for the event loop.
    bool overallRepaintDue() const { return overallTimer_.isActive(); }

    static constexpr int kOverallIntervalMs = 250;

private:
    // Schedules the overall window's repaint (see the class comment).
    void scheduleOverallView();
    void redrawOverallView();

    // Draws the main view in pick colours inside a pick frame of `context`.
    void drawPicks(TOGL& context);

    std::function<void(const DrawContext&)> drawMainView_;
    std::function<DrawContext()> drawRecords_;
    ViewHost* host_ = nullptr;
    Pending pending_;
    std::function<void()> observer_;
    QTimer overallTimer_;
    QElapsedTimer sinceOverallPaint_;
};
