#include "model/PickColour.h"

namespace {

constexpr int kNotUsed = 31;

} // namespace

void PickKeys::clear() {
    idOfKey_.fill(0);
    keyOfId_.clear();
    nextSpare_ = kKeyCount - 1;
}

int PickKeys::keyFor(int id) {
    if (const auto known = keyOfId_.find(id); known != keyOfId_.end())
        return known->second;
    int key = id & (kKeyCount - 1);
    if (key != id || key == 0 || idOfKey_[key] != 0) {
        // The id cannot keep its own key: take a spare one from the top down.
        while (nextSpare_ > 0 && idOfKey_[nextSpare_] != 0)
            --nextSpare_;
        if (nextSpare_ == 0)
            return 0; // more objects than keys: the rest are not pickable
        key = nextSpare_--;
    }
    idOfKey_[key] = id;
    keyOfId_.emplace(id, key);
    return key;
}

PickColour pickColourOf(int id, int a, int b, bool twoIndexPart, bool oneIndexPart,
                        PickKeys* keys) {
    if (!twoIndexPart && !oneIndexPart) {
        a = kNotUsed;
        b = kNotUsed;
    } else if (!twoIndexPart) {
        b = kNotUsed;
    }
    const int key = keys ? keys->keyFor(id) : (id & (PickKeys::kKeyCount - 1));
    const std::uint32_t value = (static_cast<std::uint32_t>(a & 31) << 19) +
                                (static_cast<std::uint32_t>(b & 31) << 14) +
                                static_cast<std::uint32_t>(key);
    return {static_cast<std::uint8_t>(value & 0xFF),
            static_cast<std::uint8_t>((value & 0xFF00) >> 8),
            static_cast<std::uint8_t>((value & 0xFF0000) >> 16)};
}

PickRecord decodePickColour(std::uint32_t value, const PickKeys* keys) {
    PickRecord r;
    const int key = static_cast<int>(value & 0x3FFF);
    r.id = keys ? keys->idFor(key) : key;
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
