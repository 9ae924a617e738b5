#pragma once

#include "gl/GlContext.h"
#include "interaction/Camera.h"
#include "interaction/PlaneHits.h"
#include "math/Rgba.h"
#include "model/DrawContext.h"
#include "model/DrawDetail.h"
#include "model/DrawingCache.h"
#include "model/PickColour.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

class QWindow;

// One pixel of the CPU copies of the last off-screen frame.
struct PickPixel {
    bool found = false;
    float depth = 1.0f;
    std::uint32_t colour = 0; // red in the low byte, then green, blue, alpha
};

// The OpenGL context of one 3D view: the context on the view's window (or, without
// a window, on an off-screen surface), the fixed GL state, the camera and the CPU
// copies of the depth and colour buffers that picking and thumbnails read.
//
// A frame runs beginFrame (or beginSnapshot / beginThumbnail), drawing, then
// endFrame (or endThumbnail); outside a frame no context is current. Snapshot
// frames render into an off-screen framebuffer of the client size and thumbnail
// frames into a small one of the client's shape; both are read back, so they are
// never seen and read correct pixels however the window is covered; the window's
// own frame is left alone. A windowless TOGL renders every
// frame that way and hands it back through frameImage().
//
// Picks on demand: a view that installs a pick source has its picks rendered only
// when a pick read needs them, and only for the pixels around the one read (a pick
// region): the region's viewport and a projection narrowed to it, so that what the
// drawing culls by the view's frustum leaves out all but what lies under the cursor.
// A region stays valid for further reads inside it until the picture changes: a
// camera move, a resize, a shaded frame read into the same copies, or the owner's
// markPicksStale after an edit.
class TOGL final {
public:
    TOGL();
    ~TOGL();
    TOGL(const TOGL&) = delete;
    TOGL& operator=(const TOGL&) = delete;

    // Sets the fixed GL state and puts the camera at home (resize applies it).
    bool initGL();
    // Creates the context on the window, makes it current, sets the GL state and
    // initialises GLEW. False when the window cannot take a GL surface or the
    // context cannot be created or made current.
    bool attach(QWindow* window);
    // Deletes the context and the off-screen framebuffer.
    void release();
    // Viewport, projection, camera and CPU copies for a client area of this size.
    // Sizes that are not both positive are ignored.
    void resize(int width, int height, bool orthographic);
    void makeCurrent();

    // As attach, without a window: every frame renders off-screen.
    bool attachWindowless();
    bool attached() const { return context_.valid(); }
    bool windowless() const { return window_ == nullptr; }
    void doneCurrent();

    void beginFrame();
    void endFrame();
    // A pick frame: objects draw their flat pick colours and leave out decorations;
    // endFrame reads it into the CPU copies.
    void beginSnapshot();
    // A frame that looks like a normal one, drawn at most kThumbnailFrameSide pixels
    // across on `background` and read into a colour copy of its own: the pick copies
    // stay as the last snapshot left them, and a library of many entries renders its
    // tiles fast.
    void beginThumbnail(const Rgba& background);
    void endThumbnail();
    static constexpr int kThumbnailFrameSide = 280;
    bool snapshot() const { return snapshot_; }
    bool inFrame() const { return inFrame_; }
    // Samples per pixel that smooth the edges of the frames drawn for a person (1,
    // the default, none; pick and thumbnail frames never): drawn into a multisampled
    // framebuffer with as many as the driver offers up to that, and resolved into
    // the window or the frame read back; none where the driver cannot multisample.
    // Takes effect from the next frame.
    void setSmoothing(int samples) { smoothing_ = samples; }
    int smoothing() const { return smoothing_; }
    // The draw context of the frame under way: `records` (display switches, texture
    // cache, slot selection, from their owner) with this view's frame filled in: in a
    // snapshot the pick flag and the snapshot's key table; in every frame but a
    // thumbnail, the frame's level of detail over this context's drawing cache
    // (which a full-detail frame only takes boxes from). Called once per frame,
    // inside it.
    DrawContext frameContext(DrawContext records);
    // The keys of the last snapshot, for decoding its pixels.
    const PickKeys& pickKeys() const { return pickKeys_; }
    // The display lists and boxes of plant objects drawn at reduced detail in this
    // context; freed with the context.
    DrawingCache& drawingCache() { return drawingCache_; }

    // Draws the view's picture in pick colours inside a pick frame of this context;
    // an empty source leaves the picks to explicit snapshots.
    using PickSource = std::function<void(TOGL&)>;
    void setPickSource(PickSource source);
    // The picture changed: the next pick read renders the picks it needs anew.
    void markPicksStale() { freshPicks_ = {}; }
    // Pick frames rendered on demand so far.
    int pickFrameCount() const { return pickFrames_; }
    // Pixels around the one read that a pick frame renders, each way: enough for a
    // hover's next small moves, few enough that a far flower's neighbours in a
    // crowded scene mostly fall outside and are skipped by their boxes.
    static constexpr int kPickRegionReach = 6;

    // The colour the last thumbnail frame shows at position (x, y) (origin bottom
    // left); outside it its background packed as R + 256 G + 65536 B.
    std::uint32_t thumbnailColour(int x, int y) const;
    int thumbnailWidth() const { return thumbnailWidth_; }
    int thumbnailHeight() const { return thumbnailHeight_; }
    const std::vector<std::uint32_t>& thumbnailBuffer() const { return thumbnailBuffer_; }
    // The last frame read into the CPU copies, top row first; null before the first.
    QImage frameImage() const;

    Rgba clearColour() const { return clearColour_; }
    // Takes effect from the next frame.
    void setClearColour(const Rgba& colour) { clearColour_ = colour; }

    // Camera. The home camera is copied into the camera by initGL and resetCamera.
    const Camera& camera() const { return camera_; }
    void setHomeCamera(const CameraPose& home) { camera_.home = home; }
    void setOrbitStyle(OrbitStyle style) { camera_.orbitStyle = style; }
    // Loads the camera into the model-view matrix, making the context current for
    // that if it is not (and releasing it again afterwards).
    void loadViewMatrix();
    void setCamera(const Vector3& eye, const Vector3& center, const Vector3& up);
    void resetCamera();
    void orbit(double horizontal, double vertical);
    // A camera drag of the given kind starting at window position (x, y). The
    // window grabs the mouse so that the matching button release comes back here.
    void beginDrag(int kind, int x, int y);
    void endDrag();
    bool holdsMouseCapture() const { return dragKind() != kNoDrag; }
    int dragKind() const { return camera_.dragKind; }
    // Moves the camera for the current drag; false when none is going on.
    bool dragCamera(int x, int y);

    // Projection of window client pixels (y growing downwards) through the view's
    // current camera, projection and viewport; no GL context is needed.
    const ViewTransform& viewTransform() const { return view_; }
    Vector3 unprojectPixel(double x, double y, double depth) const;
    PickRay pickRay(double x, double y) const;
    Vector3 pixelNearPoint(double x, double y) const;
    Vector3 hitPlaneZ0(double x, double y) const;
    Vector3 hitPlaneY0(double x, double y) const;
    Vector3 hitViewPlane(double x, double y) const;
    Vector3 hitPlaneThroughPoint(const Vector3& q, const Vector3& p0, const Vector3& n) const;

    // Picking reads the CPU copies of the snapshot, first rendering the pick region
    // around the pixel when a pick source is installed and the copies do not hold
    // current picks there (outside a frame only).
    // The pixel at buffer position (px, py), origin bottom left; not found outside.
    PickPixel readPickPixel(int px, int py);
    // The pixel under window position (x, y); found only where something was drawn:
    // not outside, not on the cleared background, not at the far plane.
    PickPixel pixelHasObject(int x, int y);

    int bufferWidth() const { return bufferWidth_; }
    int bufferHeight() const { return bufferHeight_; }
    const std::vector<float>& depthBuffer() const { return depthBuffer_; }
    const std::vector<std::uint32_t>& colorBuffer() const { return colorBuffer_; }

private:
    // A rectangle of buffer pixels, origin bottom left; empty when not positive.
    struct PixelRegion {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool contains(int px, int py) const {
            return px >= x && py >= y && px < x + width && py < y + height;
        }
    };
    void renderPicksAround(int px, int py);
    void narrowToPickRegion();
    void widenFromPickRegion();
    bool createContext(QWindow* window);
    void resizeBuffers(int width, int height);
    void readBuffers();
    void readRegion(const PixelRegion& region);
    void readColours(int x, int y, int width, int height,
                     std::vector<std::uint32_t>& colours) const;
    int clientWidth() const;
    int clientHeight() const;

    QWindow* window_ = nullptr;
    GlContext context_;
    bool snapshot_ = false;
    bool thumbnail_ = false;
    bool inFrame_ = false;
    bool offscreenFrame_ = false;
    // The frame under way draws into the multisampled target.
    bool smoothedFrame_ = false;
    int smoothing_ = 1;
    bool mouseGrabbed_ = false;
    Camera camera_;
    PickKeys pickKeys_;
    PickSource pickSource_;
    // The part of the CPU copies that holds current picks, and the region the pick
    // frame under way renders (empty for a whole-view snapshot).
    PixelRegion freshPicks_;
    PixelRegion pickRegion_;
    int pickFrames_ = 0;
    Rgba clearColour_{1.0f, 1.0f, 1.0f, 0.5f};
    ViewTransform view_;
    DrawingCache drawingCache_;
    DrawDetail detail_;
    // The frame under way draws at reduced detail: its end ages the cache.
    bool detailFrame_ = false;
    int clientWidth_ = -1;
    int clientHeight_ = -1;
    int bufferWidth_ = -1;
    int bufferHeight_ = -1;
    std::vector<float> depthBuffer_;
    std::vector<std::uint32_t> colorBuffer_;
    Rgba thumbnailBackground_;
    int thumbnailWidth_ = 0;
    int thumbnailHeight_ = 0;
    std::vector<std::uint32_t> thumbnailBuffer_;
};
