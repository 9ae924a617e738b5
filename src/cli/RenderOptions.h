#pragma once

// How `pelmora-cli render` draws an entry: the picture's size, the turntable's
// position (the object turned about the vertical axis through the view's centre,
// counter-clockwise seen from above, then tilted towards the viewer so that the
// camera seems raised by `elevation`; the camera and the lights stay) and the
// samples per pixel that smooth the edges (1: none), and the moment of the
// flowers' bloom (1: as modelled).
struct RenderOptions {
    int width = 1000;
    int height = 800;
    double turn = 0.0;
    double elevation = 0.0;
    int samples = 4;
    double time = 1.0;
};
