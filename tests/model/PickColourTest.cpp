#include "model/PickColour.h"

#include <gtest/gtest.h>

TEST(PickColour, EncodesIdAndPartIndicesInTheirBits) {
    const PickColour c = pickColourOf(5, 3, 7, true, false);
    EXPECT_EQ(c.red, 5);
    EXPECT_EQ(c.green, 0xC0);
    EXPECT_EQ(c.blue, 0x19);
    const PickRecord r = decodePickColour(c.value());
    EXPECT_EQ(r.id, 5);
    EXPECT_EQ(r.a, 3);
    EXPECT_EQ(r.b, 7);
    EXPECT_TRUE(r.twoIndexPart);
    EXPECT_FALSE(r.oneIndexPart);
}

TEST(PickColour, OneIndexAndWholeObject) {
    const PickRecord one = decodePickColour(pickColourOf(5, 2, 0, false, true).value());
    EXPECT_EQ(one.id, 5);
    EXPECT_TRUE(one.oneIndexPart);
    EXPECT_FALSE(one.twoIndexPart);
    EXPECT_EQ(one.a, 2);
    const PickRecord whole = decodePickColour(pickColourOf(5, 0, 0, false, false).value());
    EXPECT_EQ(whole.id, 5);
    EXPECT_FALSE(whole.oneIndexPart || whole.twoIndexPart);
    EXPECT_EQ(whole.a, 31);
    EXPECT_EQ(whole.b, 31);
}

TEST(PickColour, ASecondIndexWithoutAFirstDecodesAsTheWholeObject) {
    const PickRecord r = decodePickColour((31u << 19) + (5u << 14) + 9u);
    EXPECT_EQ(r.id, 9);
    EXPECT_EQ(r.a, 0);
    EXPECT_EQ(r.b, 0);
    EXPECT_FALSE(r.oneIndexPart || r.twoIndexPart);
}

TEST(PickColour, LargeIdsResolveThroughTheSnapshotKeys) {
    PickKeys keys;
    const PickColour small = pickColourOf(7, 0, 0, false, false, &keys);
    const PickColour big = pickColourOf(16384 + 7, 1, 2, true, false, &keys);
    const PickColour bigger = pickColourOf(40000, 0, 0, false, false, &keys);
    const PickColour bigAgain = pickColourOf(16384 + 7, 4, 5, true, false, &keys);
    // Small ids keep the plain layout.
    EXPECT_EQ(small.red, 7);
    const PickRecord rs = decodePickColour(small.value(), &keys);
    const PickRecord rb = decodePickColour(big.value(), &keys);
    const PickRecord rr = decodePickColour(bigger.value(), &keys);
    const PickRecord ra = decodePickColour(bigAgain.value(), &keys);
    EXPECT_EQ(rs.id, 7);
    EXPECT_EQ(rb.id, 16384 + 7);
    EXPECT_EQ(rb.a, 1);
    EXPECT_EQ(rb.b, 2);
    EXPECT_TRUE(rb.twoIndexPart);
    EXPECT_EQ(rr.id, 40000);
    EXPECT_EQ(ra.id, 16384 + 7);
    EXPECT_EQ(ra.a, 4);
}

TEST(PickColour, ASmallIdWhoseKeyIsTakenGetsAnotherKey) {
    PickKeys keys;
    // Fill spare keys from the top until one collides with a small id drawn later.
    const int large = 16384 * 2 + 16383;
    const PickColour first = pickColourOf(large, 0, 0, false, false, &keys);
    const int takenKey = static_cast<int>(first.value() & 0x3FFF);
    const PickColour second = pickColourOf(takenKey, 0, 0, false, false, &keys);
    EXPECT_NE(first.value() & 0x3FFF, second.value() & 0x3FFF);
    EXPECT_EQ(decodePickColour(first.value(), &keys).id, large);
    EXPECT_EQ(decodePickColour(second.value(), &keys).id, takenKey);
}
