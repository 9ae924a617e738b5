#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <random>
#include <string>

namespace {

std::string printfFixed(double v) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%f", v);
    return buffer;
}

} // namespace

TEST(TextWriter, FixedMatchesPrintfInTheCLocale) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> small(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 30);
    const double special[] = {0.0,       -0.0, 0.5,           1.5,   2.5,    0.0000005, -0.0000005,
                              0.0000015, 1e-7, 123456789.125, 1e300, -1e300, 5e-324};
    for (double v : special)
        EXPECT_EQ(formatFixed(v), printfFixed(v)) << v;
    for (int i = 0; i < 20000; ++i) {
        const double v = small(random) * std::pow(10.0, exponent(random));
        ASSERT_EQ(formatFixed(v), printfFixed(v)) << v;
    }
    // Near-ties in the sixth decimal and the edges of the integer fast path.
    std::uniform_int_distribution<long long> millionths(0, 2000000000000000LL);
    for (int i = 0; i < 20000; ++i) {
        const double n = static_cast<double>(millionths(random));
        for (double v : {(n + 0.5) / 1e6, -(n + 0.5) / 1e6, n / 1e6, (n + 0.4999999) / 1e6})
            ASSERT_EQ(formatFixed(v), printfFixed(v)) << v;
    }
    for (double v : {999999999.9999995, 1e9, 1e9 - 1e-6, -1e9, 4503599627.370496, -1e-7, -4e-7})
        EXPECT_EQ(formatFixed(v), printfFixed(v)) << v;
}

TEST(TextWriter, FormatWritesConversionsInOrder) {
    TextWriter w;
    w.format("theta %f radius %f\n", 1.0, 2.5).format("size %d \n", 7).format("name %s%%\n", "a b");
    EXPECT_EQ(w.str(), "theta 1.000000 radius 2.500000\nsize 7 \nname a b%\n");
}

TEST(TextWriter, IsIndependentOfTheCLocale) {
    // Qt sets the C library's locale from the environment; a decimal comma must not
    // reach our files.
    ScopedLocale decimalComma(LC_NUMERIC, kDecimalCommaLocale);
    if (!decimalComma.active())
        GTEST_SKIP() << "no German locale on this machine";
    TextWriter w;
    w.real(1.5);
    decimalComma.restore();
    EXPECT_EQ(w.str(), "1.500000");
}

TEST(TextWriter, SinkReceivesEverythingAndReportsFailure) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    TextWriter expected;
    {
        TextWriter w(file);
        for (int i = 0; i < 20000; ++i) {
            w.format("v %f %f %f\n", i * 0.5, -1.0, 2.0);
            expected.format("v %f %f %f\n", i * 0.5, -1.0, 2.0);
        }
        EXPECT_TRUE(w.flush());
        EXPECT_TRUE(w.str().empty());
    }
    std::string written(static_cast<size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    ASSERT_EQ(std::fread(written.data(), 1, written.size(), file), written.size());
    std::fclose(file);
    EXPECT_EQ(written, expected.str());

    std::FILE* full = std::fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "no /dev/full";
    TextWriter w(full);
    w.text(std::string(1 << 17, 'x'));
    EXPECT_FALSE(w.flush() && std::fflush(full) == 0);
    std::fclose(full);
}

TEST(TextReader, ReadsRunTogetherLabelsAndNumbersLikeScanf) {
    TextReader r("m_resV 12m_resH 8m_basicCurve 5\n  -3.25e1 +4 end");
    std::string word;
    int a = 0, b = 0, c = 0, d = 0;
    double x = 0;
    ASSERT_TRUE(r.word(word));
    EXPECT_EQ(word, "m_resV");
    ASSERT_TRUE(r.integer(a));
    ASSERT_TRUE(r.word(word));
    EXPECT_EQ(word, "m_resH");
    ASSERT_TRUE(r.integer(b));
    ASSERT_TRUE(r.word(word));
    EXPECT_EQ(word, "m_basicCurve");
    ASSERT_TRUE(r.integer(c));
    ASSERT_TRUE(r.real(x));
    ASSERT_TRUE(r.integer(d));
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 8);
    EXPECT_EQ(c, 5);
    EXPECT_EQ(x, -32.5);
    EXPECT_EQ(d, 4);
    ASSERT_TRUE(r.word(word));
    EXPECT_EQ(word, "end");
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.word(word));
}

TEST(TextReader, NumbersWrittenReadBackExactlyToSixDecimals) {
    TextWriter w;
    for (int i = -500; i < 500; ++i)
        w.real(i * 0.123457).text(" ");
    TextReader r(w.str());
    for (int i = -500; i < 500; ++i) {
        double v = 0;
        ASSERT_TRUE(r.real(v));
        EXPECT_EQ(formatFixed(v), formatFixed(i * 0.123457));
    }
}

TEST(TextReader, FailureSaysWhereAndSticks) {
    TextReader r("count 3\nnext x7 9");
    std::string word;
    int n = 0;
    ASSERT_TRUE(r.word(word));
    ASSERT_TRUE(r.integer(n));
    ASSERT_TRUE(r.word(word));
    EXPECT_FALSE(r.integer(n));
    EXPECT_EQ(r.error(), "line 2, near 'x7': a whole number was expected");
    EXPECT_FALSE(r.word(word));
    EXPECT_FALSE(r.ok());
}

TEST(TextReader, RejectsNonFiniteAndOutOfRangeNumbers) {
    double v = 0;
    TextReader nan("nan");
    EXPECT_FALSE(nan.real(v));
    TextReader inf("-inf");
    EXPECT_FALSE(inf.real(v));
    int n = 0;
    TextReader big("99999999999");
    EXPECT_FALSE(big.integer(n));
    EXPECT_NE(big.error().find("out of range"), std::string::npos);
}

TEST(TextReader, RestOfLineTakesTheRemainderUpToTheLimit) {
    TextReader r("textureFront C:\\tex\\a b.bmp\ntextureBack NON\n");
    std::string word;
    ASSERT_TRUE(r.word(word));
    EXPECT_EQ(r.restOfLine(255), " C:\\tex\\a b.bmp");
    ASSERT_TRUE(r.word(word));
    EXPECT_EQ(word, "textureBack");
    EXPECT_EQ(r.restOfLine(3), " NO");
    EXPECT_EQ(r.restOfLine(255), "N");
    EXPECT_EQ(r.line(), 3);
}

TEST(TextReader, PlausibleCountRejectsNegativeAndHugeCounts) {
    TextReader r("1 2 3 4 5 6 7 8");
    EXPECT_TRUE(r.plausibleCount(4, 2));
    EXPECT_TRUE(r.ok());
    TextReader negative("x");
    EXPECT_FALSE(negative.plausibleCount(-1, 1));
    TextReader huge("1 2 3");
    EXPECT_FALSE(huge.plausibleCount(1000000, 8));
    EXPECT_NE(huge.error().find("larger than the rest"), std::string::npos);
}
