#include "gl/FrameDetail.h"

#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "interaction/RenderState.h"
#include "model/DrawingCache.h"

ScopedFrameDetail::ScopedFrameDetail(DrawDetail& detail, TOGL* context) {
    if (!context || !context->attached())
        return;
    detail_ = &detail;
    detail.cache = &context->drawingCache();
    glGetDoublev(GL_PROJECTION_MATRIX, &detail.projection[0]);
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    detail.viewportWidth = viewport[2];
    detail.viewportHeight = viewport[3];
    ++detail.frame;
    renderState().detail = &detail;
}

ScopedFrameDetail::~ScopedFrameDetail() {
    if (!detail_)
        return;
    renderState().detail = nullptr;
    detail_->cache->endFrame();
    detail_->cache = nullptr;
}
