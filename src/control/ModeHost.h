#pragma once

// The interaction modes as the controller sees them. The mode manager implements it
// and installs itself; without one (tests, the command-line tool) a mode switch only
// changes the controller's mode.
class ModeHost {
public:
    virtual ~ModeHost() = default;
    // Makes the mode's state the one that receives the main view's mouse messages.
    virtual void activateMode(int mode) = 0;
    // The scene modes forget half-finished strokes, picks and drags: the scene they
    // were made in has gone.
    virtual void forgetSceneInteraction() = 0;
    // The scene petal mode starts a new petal: drawn onto the focus, or replacing
    // the focused sketch.
    virtual void preparePetal(bool fromSketch) = 0;
};
