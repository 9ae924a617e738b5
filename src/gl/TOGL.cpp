#include "interaction/OpenGL.h"

#include "gl/TOGL.h"

#include "gl/DiagnosticsLog.h"
#include "model/TextureCache.h"

#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// The colour value of a pixel where nothing was drawn on a white background.
constexpr std::uint32_t kClearedBackground = 0xFFFFFFFFu;

void initialiseGlew() {
    const GLenum status = glewInit();
    if (status == GLEW_OK)
        return;
    // No extension entry point is used, so drawing carries on without them.
    if (status == GLEW_ERROR_NO_GLX_DISPLAY) {
        qCDebug(pelmoraLog, "glewInit: no GLX display (an EGL context); carrying on without "
                            "extensions");
        return;
    }
    qCDebug(pelmoraLog, "glewInit: %s; carrying on without extensions",
            reinterpret_cast<const char*>(glewGetErrorString(status)));
}

std::uint32_t channel(float value) {
    return static_cast<std::uint32_t>(value * 255.0f);
}

// The projection that shows, in a viewport of the region's size, exactly what
// `projection` shows in the region of a `width` x `height` viewport: the clip
// coordinates scaled and shifted so the region fills the view. Depth is untouched,
// so a pixel reads the same depth as in the whole view.
Matrix4 regionProjection(const Matrix4& projection, int width, int height, int x, int y,
                         int regionWidth, int regionHeight) {
    Matrix4 narrowing;
    narrowing[0] = static_cast<double>(width) / regionWidth;
    narrowing[5] = static_cast<double>(height) / regionHeight;
    narrowing[12] = static_cast<double>(width - 2 * x - regionWidth) / regionWidth;
    narrowing[13] = static_cast<double>(height - 2 * y - regionHeight) / regionHeight;
    return narrowing * projection;
}

} // namespace

TOGL::TOGL() = default;

TOGL::~TOGL() {
    release();
}

bool TOGL::initGL() {
    glClearColor(clearColour_.r, clearColour_.g, clearColour_.b, clearColour_.a);
    glClearDepth(1.0);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const GLfloat specular[] = {0.0f, 0.0f, 0.05f, 1.0f};
    const GLfloat diffuse[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 1.5f);

    const GLfloat light0Position[] = {1000.0f, 1000.0f, -50000.0f, 1.0f};
    const GLfloat light0Ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat light0Diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat light0Specular[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light0Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light0Diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light0Specular);

    const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat halfGrey[] = {0.5f, 0.5f, 0.5f, 1.0f};
    for (GLenum light : {GL_LIGHT1, GL_LIGHT2}) {
        glLightfv(light, GL_AMBIENT, black);
        glLightfv(light, GL_DIFFUSE, halfGrey);
        glLightfv(light, GL_SPECULAR, black);
    }

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glShadeModel(GL_SMOOTH);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    glCullFace(GL_BACK);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);

    camera_.reset();
    return true;
}

bool TOGL::attach(QWindow* window) {
    return window != nullptr && createContext(window);
}

bool TOGL::attachWindowless() {
    return createContext(nullptr);
}

bool TOGL::createContext(QWindow* window) {
    release();
    if (!context_.create(window))
        return false;
    window_ = window;
    initGL();
    initialiseGlew();
    context_.doneCurrent();
    return true;
}

void TOGL::release() {
    if (!context_.valid())
        return;
    endDrag();
    makeCurrent();
    drawingCache_.release();
    context_.destroy();
    window_ = nullptr;
    inFrame_ = false;
    snapshot_ = false;
    thumbnail_ = false;
}

void TOGL::makeCurrent() {
    context_.makeCurrent();
}

void TOGL::doneCurrent() {
    context_.doneCurrent();
}

void TOGL::resize(int width, int height, bool orthographic) {
    if (width <= 0 || height <= 0)
        return;
    clientWidth_ = width;
    clientHeight_ = height;
    view_.viewport = {0, 0, width, height};
    view_.projection = projectionMatrix(width, height, orthographic);
    view_.modelView = camera_.viewMatrix();
    resizeBuffers(width, height);
    markPicksStale();
    if (!context_.valid())
        return;
    const bool wasCurrent = context_.isCurrent();
    if (!wasCurrent)
        makeCurrent();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(view_.projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view_.modelView.data());
    if (!wasCurrent)
        doneCurrent();
}

int TOGL::clientWidth() const {
    if (clientWidth_ < 0 && window_ != nullptr)
        return window_->width();
    return clientWidth_;
}

int TOGL::clientHeight() const {
    if (clientHeight_ < 0 && window_ != nullptr)
        return window_->height();
    return clientHeight_;
}

void TOGL::resizeBuffers(int width, int height) {
    if (width == bufferWidth_ && height == bufferHeight_)
        return;
    bufferWidth_ = width;
    bufferHeight_ = height;
    markPicksStale();
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    depthBuffer_.assign(pixels, 1.0f);
    colorBuffer_.assign(pixels, 0u);
}

void TOGL::beginFrame() {
    inFrame_ = true;
    offscreenFrame_ = snapshot_ || thumbnail_ || windowless();
    if (!context_.valid())
        return;
    makeCurrent();
    if (thumbnail_) {
        context_.bindOffscreenTarget(thumbnailWidth_, thumbnailHeight_,
                                     GlContext::Target::Thumbnail);
        glViewport(0, 0, thumbnailWidth_, thumbnailHeight_);
    } else {
        smoothedFrame_ = !snapshot_ && smoothing_ > 1 &&
                         context_.bindOffscreenTarget(clientWidth(), clientHeight(),
                                                      GlContext::Target::Smoothed, smoothing_);
        if (offscreenFrame_ && !smoothedFrame_)
            context_.bindOffscreenTarget(clientWidth(), clientHeight());
        if (snapshot_ && pickRegion_.width > 0)
            narrowToPickRegion();
    }
    const Rgba& clear = thumbnail_ ? thumbnailBackground_ : clearColour_;
    glClearColor(clear.r, clear.g, clear.b, clear.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ACCUM_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
}

void TOGL::endFrame() {
    if (!inFrame_)
        return;
    if (context_.valid()) {
        if (detailFrame_)
            drawingCache_.endFrame();
        glFinish();
        if (!offscreenFrame_) {
            if (smoothedFrame_)
                context_.resolveSmoothedTarget(true);
            context_.swapBuffers();
        } else if (context_.offscreenTargetBound()) {
            if (thumbnail_) {
                readColours(0, 0, thumbnailWidth_, thumbnailHeight_, thumbnailBuffer_);
                glViewport(0, 0, clientWidth(), clientHeight());
            } else if (snapshot_ && pickRegion_.width > 0) {
                readRegion(pickRegion_);
                freshPicks_ = pickRegion_;
            } else {
                if (smoothedFrame_)
                    context_.resolveSmoothedTarget(false);
                readBuffers();
                // A shaded frame of a windowless view overwrote the picks.
                freshPicks_ =
                    snapshot_ ? PixelRegion{0, 0, bufferWidth_, bufferHeight_} : PixelRegion{};
            }
            context_.bindDefaultTarget();
        }
        if (snapshot_ && pickRegion_.width > 0)
            widenFromPickRegion();
    }
    pickRegion_ = {};
    snapshot_ = false;
    thumbnail_ = false;
    offscreenFrame_ = false;
    smoothedFrame_ = false;
    detailFrame_ = false;
    doneCurrent();
    inFrame_ = false;
}

void TOGL::readBuffers() {
    resizeBuffers(clientWidth(), clientHeight());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, bufferWidth_, bufferHeight_, GL_DEPTH_COMPONENT, GL_FLOAT,
                 depthBuffer_.data());
    readColours(0, 0, bufferWidth_, bufferHeight_, colorBuffer_);
}

void TOGL::readRegion(const PixelRegion& region) {
    const size_t pixels = static_cast<size_t>(region.width) * static_cast<size_t>(region.height);
    std::vector<float> depth(pixels);
    std::vector<std::uint32_t> colours;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(region.x, region.y, region.width, region.height, GL_DEPTH_COMPONENT, GL_FLOAT,
                 depth.data());
    readColours(region.x, region.y, region.width, region.height, colours);
    for (int row = 0; row < region.height; ++row) {
        const size_t from = static_cast<size_t>(row) * static_cast<size_t>(region.width);
        const size_t to = static_cast<size_t>(region.y + row) * static_cast<size_t>(bufferWidth_) +
                          static_cast<size_t>(region.x);
        std::copy_n(&depth[from], region.width, &depthBuffer_[to]);
        std::copy_n(&colours[from], region.width, &colorBuffer_[to]);
    }
}

void TOGL::narrowToPickRegion() {
    const PixelRegion& r = pickRegion_;
    glViewport(r.x, r.y, r.width, r.height);
    glEnable(GL_SCISSOR_TEST);
    glScissor(r.x, r.y, r.width, r.height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(regionProjection(view_.projection, clientWidth(), clientHeight(), r.x, r.y,
                                   r.width, r.height)
                      .data());
    glMatrixMode(GL_MODELVIEW);
}

void TOGL::widenFromPickRegion() {
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, clientWidth(), clientHeight());
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(view_.projection.data());
    glMatrixMode(GL_MODELVIEW);
}

void TOGL::readColours(int x, int y, int width, int height,
                       std::vector<std::uint32_t>& colours) const {
    colours.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // Read as bytes R, G, B, A and assembled with red in the low byte whatever the
    // machine's byte order.
    std::vector<std::uint8_t> bytes(colours.size() * 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    for (size_t i = 0; i < colours.size(); ++i) {
        const std::uint8_t* p = &bytes[4 * i];
        colours[i] = p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
                     (static_cast<std::uint32_t>(p[2]) << 16) |
                     (static_cast<std::uint32_t>(p[3]) << 24);
    }
}

void TOGL::beginSnapshot() {
    resizeBuffers(clientWidth(), clientHeight());
    snapshot_ = true;
    pickKeys_.clear();
    beginFrame();
}

void TOGL::setPickSource(PickSource source) {
    pickSource_ = std::move(source);
    markPicksStale();
}

void TOGL::renderPicksAround(int px, int py) {
    resizeBuffers(clientWidth(), clientHeight());
    const int left = std::max(0, px - kPickRegionReach);
    const int bottom = std::max(0, py - kPickRegionReach);
    const int right = std::min(bufferWidth_, px + kPickRegionReach + 1);
    const int top = std::min(bufferHeight_, py + kPickRegionReach + 1);
    pickRegion_ = {left, bottom, right - left, top - bottom};
    ++pickFrames_;
    beginSnapshot();
    pickSource_(*this);
    endFrame();
}

DrawContext TOGL::frameContext(DrawContext records) {
    records.snapshot = snapshot_;
    records.pickKeys = snapshot_ ? &pickKeys_ : nullptr;
    // A full-detail frame keeps the record too: it lists nothing, but its ground
    // shadows take the objects' boxes from the cache.
    if (thumbnail_ || !inFrame_ || !context_.valid())
        return records;
    detail_.cache = &drawingCache_;
    glGetDoublev(GL_PROJECTION_MATRIX, &detail_.projection[0]);
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    detail_.viewportWidth = viewport[2];
    detail_.viewportHeight = viewport[3];
    // A pick frame only skips what lies outside its region and uses no list: it
    // reuses the drawing keys of the frame shown last (every change of the model is
    // drawn before its picks are read), and does not count towards what the cache
    // keeps.
    if (!snapshot_) {
        ++detail_.frame;
        if (records.textures)
            records.textures->uploadPending();
    }
    detailFrame_ = !snapshot_;
    records.detail = &detail_;
    return records;
}

void TOGL::beginThumbnail(const Rgba& background) {
    // The client's shape keeps the projection as it is; only the viewport shrinks.
    const int width = std::max(clientWidth(), 1);
    const int height = std::max(clientHeight(), 1);
    const double scale = std::min(1.0, static_cast<double>(kThumbnailFrameSide) /
                                           std::max(width, height));
    thumbnailWidth_ = std::max(1, static_cast<int>(std::lround(width * scale)));
    thumbnailHeight_ = std::max(1, static_cast<int>(std::lround(height * scale)));
    thumbnailBuffer_.clear();
    thumbnailBackground_ = background;
    thumbnail_ = true;
    beginFrame();
}

void TOGL::endThumbnail() {
    endFrame();
}

std::uint32_t TOGL::thumbnailColour(int x, int y) const {
    if (x < 0 || y < 0 || x >= thumbnailWidth_ || y >= thumbnailHeight_ ||
        thumbnailBuffer_.size() < static_cast<size_t>(thumbnailWidth_) * thumbnailHeight_)
        return channel(thumbnailBackground_.r) + 256u * channel(thumbnailBackground_.g) +
               65536u * channel(thumbnailBackground_.b);
    return thumbnailBuffer_[static_cast<size_t>(y) * thumbnailWidth_ + x];
}

QImage TOGL::frameImage() const {
    if (bufferWidth_ <= 0 || bufferHeight_ <= 0)
        return {};
    QImage image(bufferWidth_, bufferHeight_, QImage::Format_RGBA8888);
    for (int y = 0; y < bufferHeight_; ++y) {
        // The copies run bottom-up, the image top-down.
        const std::uint32_t* row = &colorBuffer_[static_cast<size_t>(bufferHeight_ - 1 - y) *
                                                 static_cast<size_t>(bufferWidth_)];
        uchar* line = image.scanLine(y);
        for (int x = 0; x < bufferWidth_; ++x) {
            line[4 * x + 0] = static_cast<uchar>(row[x] & 0xFF);
            line[4 * x + 1] = static_cast<uchar>((row[x] >> 8) & 0xFF);
            line[4 * x + 2] = static_cast<uchar>((row[x] >> 16) & 0xFF);
            line[4 * x + 3] = static_cast<uchar>((row[x] >> 24) & 0xFF);
        }
    }
    return image;
}

void TOGL::loadViewMatrix() {
    const Matrix4 before = view_.modelView;
    view_.modelView = camera_.viewMatrix();
    if (!(view_.modelView == before))
        markPicksStale();
    if (!context_.valid())
        return;
    const bool wasCurrent = context_.isCurrent();
    if (!wasCurrent)
        makeCurrent();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view_.modelView.data());
    if (!wasCurrent)
        doneCurrent();
}

void TOGL::setCamera(const Vector3& eye, const Vector3& center, const Vector3& up) {
    camera_.setPose({eye, center, up});
    loadViewMatrix();
}

void TOGL::resetCamera() {
    camera_.reset();
    loadViewMatrix();
}

void TOGL::orbit(double horizontal, double vertical) {
    camera_.orbit(horizontal, vertical);
    loadViewMatrix();
}

void TOGL::beginDrag(int kind, int x, int y) {
    camera_.beginDrag(kind, x, y);
    if (window_ != nullptr && !mouseGrabbed_)
        mouseGrabbed_ = window_->setMouseGrabEnabled(true);
}

void TOGL::endDrag() {
    camera_.endDrag();
    if (window_ != nullptr && mouseGrabbed_)
        window_->setMouseGrabEnabled(false);
    mouseGrabbed_ = false;
}

bool TOGL::dragCamera(int x, int y) {
    if (!holdsMouseCapture() || !camera_.drag(x, y))
        return false;
    loadViewMatrix();
    return true;
}

Vector3 TOGL::unprojectPixel(double x, double y, double depth) const {
    return ::unprojectPixel(view_, x, y, depth);
}

PickRay TOGL::pickRay(double x, double y) const {
    return ::pickRay(view_, camera_.eye, x, y);
}

Vector3 TOGL::pixelNearPoint(double x, double y) const {
    return ::pixelNearPoint(view_, x, y);
}

Vector3 TOGL::hitPlaneZ0(double x, double y) const {
    return ::hitPlaneZ0(pickRay(x, y));
}

Vector3 TOGL::hitPlaneY0(double x, double y) const {
    return ::hitPlaneY0(pickRay(x, y));
}

Vector3 TOGL::hitViewPlane(double x, double y) const {
    return ::hitViewPlane(pickRay(x, y), camera_.center);
}

Vector3 TOGL::hitPlaneThroughPoint(const Vector3& q, const Vector3& p0, const Vector3& n) const {
    return ::hitPlaneThroughPoint(camera_.eye, q, p0, n);
}

PickPixel TOGL::readPickPixel(int px, int py) {
    if (px < 0 || py < 0 || px >= bufferWidth_ || py >= bufferHeight_)
        return {};
    if (pickSource_ && !inFrame_ && context_.valid() && !freshPicks_.contains(px, py))
        renderPicksAround(px, py);
    const size_t index = static_cast<size_t>(py) * static_cast<size_t>(bufferWidth_) + px;
    return {true, depthBuffer_[index], colorBuffer_[index]};
}

PickPixel TOGL::pixelHasObject(int x, int y) {
    // Window row y is buffer row height - 1 - y: the pixel under the cursor.
    PickPixel pixel = readPickPixel(x, view_.viewport.height - 1 - y);
    if (pixel.colour == kClearedBackground || pixel.depth == 1.0f)
        pixel.found = false;
    return pixel;
}
