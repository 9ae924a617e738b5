#pragma once

#include "gl/TOGL.h"

#include <gtest/gtest.h>

// A windowless TOGL of a given size for tests that render for real: attached,
// resized (perspective) and current until the first frame, which leaves no context
// current as every frame does.
class GlTestContext {
public:
    explicit GlTestContext(int width = 160, int height = 120) : width_(width), height_(height) {
        if (!togl_.attachWindowless())
            return;
        togl_.resize(width, height, false);
        togl_.makeCurrent();
    }

    bool attached() const { return togl_.attached(); }
    TOGL& togl() { return togl_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    TOGL togl_;
    int width_;
    int height_;
};

// Fixture for GL tests: fails the test when no context can be made.
class GlTest : public testing::Test {
protected:
    explicit GlTest(int width = 160, int height = 120) : context_(width, height) {}
    void SetUp() override { ASSERT_TRUE(context_.attached()) << "no OpenGL context"; }

    TOGL& togl() { return context_.togl(); }
    // The draw context of the frame under way, made of `drawRecords`.
    DrawContext frame() { return togl().frameContext(drawRecords); }
    GlTestContext context_;
    DrawContext drawRecords;
};
