#pragma once

#include <cstdint>

// Pick colours identify what lies under a pixel of the pick snapshot. The 24-bit
// value (red in bits 0-7, green 8-15, blue 16-23) is (a << 19) + (b << 14) + key:
// a 14-bit object key and two 5-bit part indices, 31 meaning "not used".
//
// The key is the object id itself while ids stay below 16384. Larger ids would spill
// into the part-index bits, so during a pick snapshot every object is given a key of
// its own (its id whenever that key is free) and the snapshot's key table turns keys
// back into ids when a pick is decoded.
struct PickColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    std::uint32_t value() const {
        return red | (static_cast<std::uint32_t>(green) << 8) |
               (static_cast<std::uint32_t>(blue) << 16);
    }
};

struct PickRecord {
    int id = 0;
    int a = 0;
    int b = 0;
    bool twoIndexPart = false;
    bool oneIndexPart = false;
};

// The colour of object `id` with part indices a and b: neither flag set means the
// whole object (a = b = 31), oneIndexPart uses a only, twoIndexPart both.
PickColour pickColourOf(int id, int a, int b, bool twoIndexPart, bool oneIndexPart);
// Decodes a colour value read back from the pick snapshot.
PickRecord decodePickColour(std::uint32_t value);

// Starts a new table of pick keys; the GL layer calls it at the start of every pick
// snapshot of the main view, and the table then lasts until the next snapshot.
void beginPickKeys();
// While a table is being filled (between beginPickKeys and endPickKeys), the colours
// use the table's keys.
void endPickKeys();
