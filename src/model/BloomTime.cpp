#include "model/BloomTime.h"

#include <algorithm>

double BloomTime::of(int flowerHeadId) const {
    if (atRest())
        return 1.0;
    const double place = order ? order->placeOf(flowerHeadId) : -1.0;
    if (place < 0.0)
        return std::clamp(time, 0.0, 1.0);
    const double start = plantTimeOf(place, 0.0);
    return std::clamp((time - start) / kFlowerShare, 0.0, 1.0);
}

double BloomTime::plantTimeOf(double place, double ownTime) {
    return std::clamp(place, 0.0, 1.0) * (1.0 - kFlowerShare) + ownTime * kFlowerShare;
}
