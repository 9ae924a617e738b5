#pragma once

#include "interaction/OpenGL.h"
#include "math/Matrix4.h"

#include <array>
#include <vector>

// The lit surfaces of one object gathered, while its reduced-detail list is
// compiled, into one triangle batch per drawing state (material, lights, texture):
// a flower head's dozens of surface draws, each side of each half of each organ,
// become a handful, and the rasteriser pays per draw as much as per triangle at
// this size. Each batch holds its vertices placed in the object's frame (the
// model-view matrix when gathering began) with the normals the placement gives
// them, so it draws exactly the triangles and shading the separate draws did.
//
// Gathering reads the GL state as it stands, so the list must be compiled with
// GL_COMPILE_AND_EXECUTE; what is not a gathered surface stays in the list as drawn.
class SurfaceBatches {
public:
    // Gathers surfaces seen at `pixelsPerUnit` pixels per object unit.
    explicit SurfaceBatches(double pixelsPerUnit);
    SurfaceBatches(const SurfaceBatches&) = delete;
    SurfaceBatches& operator=(const SurfaceBatches&) = delete;

    // How many pixels one unit under the current matrix spans at most (the
    // object's units scaled by the placements since): grids thin to it.
    double pixelsPerUnitHere() const;

    // Adds the triangles `indices` (count of them, three per triangle) over
    // `vertexCount` vertices: positions x, y, z, normals x, y, z (or null) and
    // texture coordinates s, t (or null), under the current matrix and state. With
    // `bothFaces` the triangles stand for both sides of the surface: drawn unculled
    // and lit on their back face with the normals negated, which is what the other
    // side's pass (the opposite winding, the normals negated) would draw.
    void add(const GLfloat* positions, const GLfloat* normals, const GLfloat* texCoords,
             int vertexCount, const GLuint* indices, GLsizei count, bool bothFaces);
    // Draws every batch, one draw each under its state, and leaves texturing off
    // and face culling and one-sided lighting as they were when gathering began.
    void emit();

private:
    struct State {
        std::array<GLfloat, 17> material{};
        unsigned lights = 0;
        GLint shadeModel = GL_SMOOTH;
        GLuint texture = 0;
        bool lighting = false;
        bool textured = false;
        bool hasNormals = false;
        bool hasTexCoords = false;
        bool bothFaces = false;
        bool operator==(const State&) const = default;
    };
    struct Batch {
        State state;
        std::vector<GLfloat> positions;
        std::vector<GLfloat> normals;
        std::vector<GLfloat> texCoords;
        std::vector<GLuint> indices;
    };

    static State currentState(bool hasNormals, bool hasTexCoords, bool bothFaces);
    Batch& batchFor(const State& state);
    static void applyState(const State& state);

    double pixelsPerUnit_;
    Matrix4 fromEye_;
    bool culling_;
    std::vector<Batch> batches_;
    std::vector<GLint> placed_;
};
