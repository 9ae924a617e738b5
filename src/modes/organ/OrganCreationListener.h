#pragma once

#include "model/FlowerObjectNode.h"
#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

struct OneStrokeOrgan;

// A creation mode in which one stroke on the drawing plane z = 0 makes an organ of
// `kind`, which becomes the work object in the organ's modify mode. The organ stays
// on screen where it was drawn. The other buttons do nothing: the camera stays where
// the creation command put it.
class OrganCreationListener : public MouseListenerState {
public:
    explicit OrganCreationListener(NodeKind kind);

    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext&) override { stroke_.drawSketch(); }

protected:
    ~OrganCreationListener() = default;

private:
    const OneStrokeOrgan& organ_;
    Stroke stroke_;
};

// Mode 11: the filament of a stamen, of at least 4 points, moved so that it starts
// at the origin.
class MouseListenerForStamen final : public OrganCreationListener {
public:
    MouseListenerForStamen() : OrganCreationListener(kKindStamen) {}
};

// Mode 13: the outline of a pistil, up one side and down the other, where it was
// drawn; the release point ends it and counts towards the 10 points it needs.
class MouseListenerForPistil final : public OrganCreationListener {
public:
    MouseListenerForPistil() : OrganCreationListener(kKindPistil) {}
};
