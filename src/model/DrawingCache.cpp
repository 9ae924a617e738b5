#include "model/DrawingCache.h"

const LocalBox& DrawingCache::boxOf(std::uint64_t key, const std::function<LocalBox()>& measure) {
    auto found = boxes_.find(key);
    if (found == boxes_.end())
        found = boxes_.emplace(key, Box{measure(), frame_}).first;
    found->second.lastUsed = frame_;
    return found->second.box;
}

bool DrawingCache::drawList(std::uint64_t key, int level, const std::function<void()>& draw) {
    List& list = lists_[{key, level}];
    list.lastUsed = frame_;
    if (list.name != 0) {
        glCallList(list.name);
        return true;
    }
    list.name = glGenLists(1);
    if (list.name == 0)
        return false;
    ++compiledLists_;
    glNewList(list.name, GL_COMPILE_AND_EXECUTE);
    draw();
    glEndList();
    return true;
}

void DrawingCache::endFrame() {
    ++frame_;
    for (auto it = lists_.begin(); it != lists_.end();) {
        if (frame_ - it->second.lastUsed > kFramesKept) {
            if (it->second.name != 0)
                glDeleteLists(it->second.name, 1);
            it = lists_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(boxes_, [&](const auto& entry) { return frame_ - entry.second.lastUsed > kFramesKept; });
}

void DrawingCache::release() {
    for (const auto& [key, list] : lists_)
        if (list.name != 0)
            glDeleteLists(list.name, 1);
    lists_.clear();
    boxes_.clear();
}
