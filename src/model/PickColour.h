#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

// Pick colours identify what lies under a pixel of the pick snapshot. The 24-bit
// value (red in bits 0-7, green 8-15, blue 16-23) is (a << 19) + (b << 14) + key:
// a 14-bit object key and two 5-bit part indices, 31 meaning "not used".
//
// The key is the object id itself while ids stay below 16384. Larger ids would spill
// into the part-index bits, so during a pick snapshot every object is given a key of
// its own (its id whenever that key is free) and the snapshot's key table turns keys
// back into ids when a pick is decoded. The view that renders the snapshot owns the
// table and hands it to the drawing through the draw context.
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

// The keys of one pick snapshot: filled while it is drawn, read while its pixels
// are decoded, emptied when the next snapshot starts.
class PickKeys {
public:
    static constexpr int kKeyCount = 1 << 14;

    void clear();
    // The key of `id`, given on first request; 0 (not pickable) once every key is
    // taken.
    int keyFor(int id);
    // The id a key was given to; a key never given is read as the id itself.
    int idFor(int key) const { return idOfKey_[key] != 0 ? idOfKey_[key] : key; }

private:
    std::array<int, kKeyCount> idOfKey_{}; // 0 when free
    std::unordered_map<int, int> keyOfId_;
    int nextSpare_ = kKeyCount - 1; // large ids take keys from the top down
};

// The colour of object `id` with part indices a and b: neither flag set means the
// whole object (a = b = 31), oneIndexPart uses a only, twoIndexPart both. With a
// key table the key comes from it, without one the key is the id itself.
PickColour pickColourOf(int id, int a, int b, bool twoIndexPart, bool oneIndexPart,
                        PickKeys* keys = nullptr);
// Decodes a colour value read back from a pick snapshot drawn with `keys` (or
// without a table).
PickRecord decodePickColour(std::uint32_t value, const PickKeys* keys = nullptr);
