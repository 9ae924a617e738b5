#pragma once

#include "model/DrawDetail.h"

class TOGL;

// The level of detail of one frame of a view, installed for the drawing it scopes:
// the view context's drawing cache, projection and viewport, and a new frame count.
// At its end drawing goes back to full detail and the cache frees what no frame
// has used for a while. Needs `context` current; a null or unattached context
// installs nothing, and everything is drawn in full.
class ScopedFrameDetail {
public:
    ScopedFrameDetail(DrawDetail& detail, TOGL* context);
    ~ScopedFrameDetail();
    ScopedFrameDetail(const ScopedFrameDetail&) = delete;
    ScopedFrameDetail& operator=(const ScopedFrameDetail&) = delete;

private:
    DrawDetail* detail_ = nullptr;
};
