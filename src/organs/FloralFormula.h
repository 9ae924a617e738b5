#pragma once

#include <string>

class FlowerTorusNode;

// The floral formula of a flower head in the usual botanical notation: sepals K,
// petals C, stamens A and pistils G, each letter followed by its whorl's number of
// slots, separated by blanks ("K5 C5 A10 G1"). A whorl laid out as an indefinite
// band, or holding more than twelve slots, counts as "∞"; a whorl without slots is
// left out. UTF-8.
std::string floralFormula(const FlowerTorusNode& receptacle);
