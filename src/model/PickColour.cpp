#include "model/PickColour.h"

#include <array>
#include <unordered_map>

namespace {

constexpr int kKeyCount = 1 << 14;
constexpr int kNotUsed = 31;

// Keys of the last (or current) pick snapshot: key -> object id, 0 when free.
struct PickKeyTable {
    std::array<int, kKeyCount> idOfKey{};
    std::unordered_map<int, int> keyOfId;
    bool filling = false;
    int nextSpare = kKeyCount - 1; // large ids take keys from the top down

    void clear() {
        idOfKey.fill(0);
        keyOfId.clear();
        nextSpare = kKeyCount - 1;
    }

    int keyFor(int id) {
        if (const auto known = keyOfId.find(id); known != keyOfId.end())
            return known->second;
        int key = id & (kKeyCount - 1);
        if (key != id || key == 0 || idOfKey[key] != 0) {
            // The id cannot keep its own key: take a spare one from the top down.
            while (nextSpare > 0 && idOfKey[nextSpare] != 0)
                --nextSpare;
            if (nextSpare == 0)
                return 0; // more objects than keys: the rest are not pickable
            key = nextSpare--;
        }
        idOfKey[key] = id;
        keyOfId.emplace(id, key);
        return key;
    }

    int idFor(int key) const { return idOfKey[key] != 0 ? idOfKey[key] : key; }
};

PickKeyTable& keys() {
    static PickKeyTable table;
    return table;
}

} // namespace

void beginPickKeys() {
    keys().clear();
    keys().filling = true;
}

void endPickKeys() {
    keys().filling = false;
}

PickColour pickColourOf(int id, int a, int b, bool twoIndexPart, bool oneIndexPart) {
    if (!twoIndexPart && !oneIndexPart) {
        a = kNotUsed;
        b = kNotUsed;
    } else if (!twoIndexPart) {
        b = kNotUsed;
    }
    const int key = keys().filling ? keys().keyFor(id) : (id & (kKeyCount - 1));
    const std::uint32_t value = (static_cast<std::uint32_t>(a & 31) << 19) +
                                (static_cast<std::uint32_t>(b & 31) << 14) +
                                static_cast<std::uint32_t>(key);
    return {static_cast<std::uint8_t>(value & 0xFF),
            static_cast<std::uint8_t>((value & 0xFF00) >> 8),
            static_cast<std::uint8_t>((value & 0xFF0000) >> 16)};
}

PickRecord decodePickColour(std::uint32_t value) {
    PickRecord r;
    r.id = keys().idFor(static_cast<int>(value & 0x3FFF));
    r.a = static_cast<int>((value & 0xF80000) >> 19);
    r.b = static_cast<int>((value & 0x7C000) >> 14);
    if (r.b == kNotUsed && r.a != kNotUsed) {
        r.oneIndexPart = true;
    } else if (r.b != kNotUsed && r.a != kNotUsed) {
        r.twoIndexPart = true;
    } else if (r.b != kNotUsed && r.a == kNotUsed) {
        r.a = 0;
        r.b = 0;
    }
    return r;
}
