#pragma once

#include "interaction/OpenGL.h"
#include "model/LocalBox.h"

#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

// The drawing data one GL context keeps for plant objects drawn at reduced detail:
// a display list per drawn content and detail level, and the box of each content.
// Content is named by its drawing key (FlowerObjectNode::drawingKey), so clones
// and copies that draw the same share one list however many of them stand in the
// scene. What no frame has used for a while is freed.
//
// The lists belong to the context that compiled them: the owner releases them
// with that context current, before the context goes.
class DrawingCache {
public:
    DrawingCache() = default;
    DrawingCache(const DrawingCache&) = delete;
    DrawingCache& operator=(const DrawingCache&) = delete;

    // The box of content `key`, measured by `measure` the first time it is asked for.
    const LocalBox& boxOf(std::uint64_t key, const std::function<LocalBox()>& measure);
    // Draws content `key` at detail `level` from its list; the first time `draw`
    // issues the drawing into a new list, compiled and executed at once. False,
    // with nothing drawn, when GL has no list to give.
    bool drawList(std::uint64_t key, int level, const std::function<void()>& draw);

    // Ends a frame: lists and boxes no frame used in the last kFramesKept frames
    // are freed. Needs the context current.
    void endFrame();
    // Frees every list. Needs the context current.
    void release();

    static constexpr unsigned kFramesKept = 120;
    std::size_t listCount() const { return lists_.size(); }
    // Lists compiled since the cache was made.
    int compiledLists() const { return compiledLists_; }

private:
    struct List {
        GLuint name = 0;
        unsigned lastUsed = 0;
    };
    struct Box {
        LocalBox box;
        unsigned lastUsed = 0;
    };
    std::map<std::pair<std::uint64_t, int>, List> lists_;
    std::unordered_map<std::uint64_t, Box> boxes_;
    unsigned frame_ = 0;
    int compiledLists_ = 0;
};
