#pragma once

// The interaction modes: each names the state that receives the main view's mouse
// events. Modes 0..5 show the open scene, 6..14 the work object.
enum InteractionMode : int {
    kModeSceneSketch = 0,
    kModeSceneModify = 1,
    kModeScenePetal = 2,
    kModeSceneTorus = 3,
    kModeSceneStamen = 4,
    kModeScenePetalModify = 5,
    kModeTorusModify = 6,
    kModeCompositeModify = 7,
    kModeComposite = 8,
    kModePetal = 9,
    kModePetalModify = 10,
    kModeStamen = 11,
    kModeStamenModify = 12,
    kModePistil = 13,
    kModePistilModify = 14,
};
inline constexpr int kModeCount = 15;

inline constexpr bool isValidMode(int mode) {
    return mode >= 0 && mode < kModeCount;
}

inline constexpr bool isSceneMode(int mode) {
    return mode >= kModeSceneSketch && mode <= kModeScenePetalModify;
}

// The scene modes and the editing modes of flower heads and plants are the modes
// the drawing tools (Pen, Cursor, Eraser, Browsing) work in.
inline constexpr bool takesDrawingTools(int mode) {
    return isSceneMode(mode) || mode == kModeTorusModify || mode == kModeCompositeModify;
}
