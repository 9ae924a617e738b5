#include "model/SurfaceBatches.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLights = 8;
constexpr GLenum kMaterialParts[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};

Matrix4 currentModelView() {
    Matrix4 modelView;
    glGetDoublev(GL_MODELVIEW_MATRIX, &modelView[0]);
    return modelView;
}

} // namespace

SurfaceBatches::SurfaceBatches(double pixelsPerUnit)
    : pixelsPerUnit_(pixelsPerUnit), fromEye_(inverted(currentModelView())),
      culling_(glIsEnabled(GL_CULL_FACE)) {}

double SurfaceBatches::pixelsPerUnitHere() const {
    const Matrix4 place = fromEye_ * currentModelView();
    double scale = 0.0;
    for (int c = 0; c < 3; ++c)
        scale = std::max(scale, std::hypot(place[4 * c], place[4 * c + 1], place[4 * c + 2]));
    return pixelsPerUnit_ * scale;
}

SurfaceBatches::State SurfaceBatches::currentState(bool hasNormals, bool hasTexCoords,
                                                   bool bothFaces) {
    State state;
    for (int i = 0; i < 4; ++i)
        glGetMaterialfv(GL_FRONT, kMaterialParts[i], &state.material[4 * i]);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &state.material[16]);
    for (int i = 0; i < kLights; ++i)
        if (glIsEnabled(GL_LIGHT0 + i))
            state.lights |= 1u << i;
    glGetIntegerv(GL_SHADE_MODEL, &state.shadeModel);
    state.lighting = glIsEnabled(GL_LIGHTING);
    state.textured = glIsEnabled(GL_TEXTURE_2D) && hasTexCoords;
    if (state.textured) {
        GLint texture = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        state.texture = static_cast<GLuint>(texture);
    }
    state.hasNormals = hasNormals;
    state.hasTexCoords = hasTexCoords;
    state.bothFaces = bothFaces;
    return state;
}

SurfaceBatches::Batch& SurfaceBatches::batchFor(const State& state) {
    const auto found = std::find_if(batches_.begin(), batches_.end(),
                                    [&](const Batch& batch) { return batch.state == state; });
    if (found != batches_.end())
        return *found;
    batches_.push_back({state, {}, {}, {}, {}});
    return batches_.back();
}

void SurfaceBatches::add(const GLfloat* positions, const GLfloat* normals, const GLfloat* texCoords,
                         int vertexCount, const GLuint* indices, GLsizei count,
                         bool bothFaces) {
    Batch& batch = batchFor(currentState(normals != nullptr, texCoords != nullptr, bothFaces));
    // The object's frame from the surface's, and for normals the inverse transpose
    // of its upper 3 x 3, as GL would apply them.
    const Matrix4 place = fromEye_ * currentModelView();
    const Matrix4 toNormal = inverted(place);
    placed_.assign(static_cast<size_t>(vertexCount), -1);
    for (GLsizei k = 0; k < count; ++k) {
        const GLuint v = indices[k];
        GLint& at = placed_[v];
        if (at < 0) {
            at = static_cast<GLint>(batch.positions.size() / 3);
            const GLfloat* p = positions + 3 * v;
            for (int r = 0; r < 3; ++r)
                batch.positions.push_back(static_cast<GLfloat>(
                    place[r] * p[0] + place[4 + r] * p[1] + place[8 + r] * p[2] + place[12 + r]));
            if (normals) {
                const GLfloat* n = normals + 3 * v;
                for (int r = 0; r < 3; ++r)
                    batch.normals.push_back(static_cast<GLfloat>(
                        toNormal[4 * r] * n[0] + toNormal[4 * r + 1] * n[1] + toNormal[4 * r + 2] * n[2]));
            }
            if (texCoords)
                batch.texCoords.insert(batch.texCoords.end(), texCoords + 2 * v, texCoords + 2 * v + 2);
        }
        batch.indices.push_back(static_cast<GLuint>(at));
    }
}

void SurfaceBatches::applyState(const State& state) {
    for (int i = 0; i < 4; ++i)
        glMaterialfv(GL_FRONT_AND_BACK, kMaterialParts[i], &state.material[4 * i]);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, state.material[16]);
    for (int i = 0; i < kLights; ++i)
        (state.lights & (1u << i) ? glEnable : glDisable)(GL_LIGHT0 + i);
    (state.lighting ? glEnable : glDisable)(GL_LIGHTING);
    glShadeModel(static_cast<GLenum>(state.shadeModel));
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, state.bothFaces ? GL_TRUE : GL_FALSE);
    (state.bothFaces ? glDisable : glEnable)(GL_CULL_FACE);
    if (state.textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, state.texture);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

void SurfaceBatches::emit() {
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const Batch& batch : batches_) {
        applyState(batch.state);
        glVertexPointer(3, GL_FLOAT, 0, batch.positions.data());
        if (batch.state.hasNormals) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, 0, batch.normals.data());
        } else {
            glDisableClientState(GL_NORMAL_ARRAY);
        }
        if (batch.state.hasTexCoords) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, 0, batch.texCoords.data());
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(batch.indices.size()), GL_UNSIGNED_INT,
                       batch.indices.data());
    }
    glPopClientAttrib();
    glDisable(GL_TEXTURE_2D);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    (culling_ ? glEnable : glDisable)(GL_CULL_FACE);
}
