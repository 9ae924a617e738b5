#pragma once

class FlowerObjectNode;

// The kinds of organ one texture command reaches.
enum class OrganGroup {
    Leaves, // petal-class organs that stand on a plant's axis rather than in a flower head
    Petals, // the organs of the receptacles' petal whorls
    Stems,  // stems and the receptacles' bodies
    Sepals, // the organs of the receptacles' sepal whorls
};

// Gives every organ of the group in `root` (the root included) the front and back
// textures, walking the plant's segments and branches and the flower heads' slots.
// Returns how many organs were textured.
int textureOrgans(FlowerObjectNode& root, OrganGroup group, int front, int back);
