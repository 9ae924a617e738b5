#pragma once

#include "math/Rgba.h"
#include "organs/Grid.h"

class SurfaceBatches;

// The one strip drawer behind every surface drawing style: for each pair of
// adjacent rows g and g + 1 a triangle strip that alternates row g and row g + 1
// column by column. The styles differ only in the GL state they set and in these
// options.
enum class StripDirection {
    Forward,  // columns from 0 upwards
    Reversed, // columns from the last down, which flips the winding
};

enum class StripNormals {
    None,
    Stored,
    Negated,
};

// Draws the strips of `positions`; normals and texture coordinates (each a grid of
// the same size, or null) are sent per vertex as requested. With `gather` the
// triangles go to it instead, from the grid thinned to its pixels per unit: every
// k-th row and column kept (the first and last always), k the largest power of two
// that keeps a cell a few pixels across.
void drawGridStrips(const Grid& positions, StripDirection direction, StripNormals normalMode,
                    const Grid* normals, const Grid* texCoords, SurfaceBatches* gather = nullptr);

// Both faces of a surface in one unculled pass: the same triangles as drawing each
// side culled (one side's strips with the normals as stored, the other's reversed
// and negated) at half the count. With `normals`, lit two-sided: the face the strips
// wind counter-clockwise on screen along the stored normals, the other (in the back
// material, which is the front's) with them negated, so whichever side faces the
// viewer is lit as that side; without, plain positions in the current colour (the
// pick pass). Face culling is left as it was, two-sided lighting off.
void drawBothFaces(const Grid& positions, StripDirection direction, const Grid* normals,
                   SurfaceBatches* gather = nullptr);

// For each cell, a line strip along its four edges and one diagonal.
void drawGridCells(const Grid& positions);

// Smooth, lit, opaque shading in the material, with the scene's lights 0 to
// `lights` - 1 switched on (the others stay as the last pass left them).
void beginLitSurface(const Rgba& diffuse, float shininess, const Rgba& specular,
                     const Rgba& ambient, int lights);
// The same in the white material textured surfaces are lit in, so that the
// texture's own colours show.
void beginTexturedSurface(int lights);
