#pragma once

// Where each flower head of a plant comes in the plant's opening: 0 opens first,
// 1 last. The plant's layout supplies it (position along the axes by default; an
// inflorescence may give its own order).
class OpeningOrder {
public:
    virtual ~OpeningOrder() = default;
    // The place of the flower head with this id, 0..1; negative for a head it does not
    // know, which then opens over the whole time line as a head on its own does.
    virtual double placeOf(int flowerHeadId) const = 0;
};

// The moment of the bloom a frame shows. At time 1 every flower head is drawn as
// modelled; below 1 the heads are drawn closing towards their buds, which they
// reach at time 0. In a plant each head opens over its own share of the time line,
// later the later its place in the opening order.
struct BloomTime {
    // The share of the time line one flower head's bloom takes within a plant.
    static constexpr double kFlowerShare = 0.5;

    double time = 1.0;
    // Null: every flower head opens over the whole time line.
    const OpeningOrder* order = nullptr;

    bool atRest() const { return time >= 1.0; }
    // The time of the flower head with this id on its own time line, 0..1.
    double of(int flowerHeadId) const;
    // The time on the plant's time line at which a flower head at `place` of the
    // opening order reaches `ownTime` of its own bloom.
    static double plantTimeOf(double place, double ownTime);
};
