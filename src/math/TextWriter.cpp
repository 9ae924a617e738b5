#include "math/TextWriter.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

// Geometry is written in bulk, so values of ordinary size take an integer path:
// the magnitude in millionths, rounded, then its digits with the point put in. The
// product v * 1e6 is off by at most half an ulp (below 1e-7 under kFastLimit), so
// unless its fraction lies within kTieMargin of one half, rounding it gives the
// same digits as rounding the exact binary value, which is what "%f" does. Other
// values go through the general conversion.
constexpr double kFastLimit = 1e9;
constexpr double kTieMargin = 1e-5;

char* fixedSixDecimals(char* out, double v) {
    const double millionths = std::fabs(v) * 1e6;
    if (!(millionths < kFastLimit * 1e6))
        return nullptr;
    const double whole = std::floor(millionths);
    const double fraction = millionths - whole;
    if (std::fabs(fraction - 0.5) < kTieMargin)
        return nullptr;
    unsigned long long n = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
    char reversed[24];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0 || count < 7);
    if (std::signbit(v))
        *out++ = '-';
    while (count > 6)
        *out++ = reversed[--count];
    *out++ = '.';
    while (count > 0)
        *out++ = reversed[--count];
    return out;
}

} // namespace

// "%f" writes up to 309 integer digits, a point and six decimals.
static_assert(TextWriter::kMaxRealChars >= 309 + 8 + 1);

char* TextWriter::realTo(char* out, double v) {
    if (char* end = fixedSixDecimals(out, v))
        return end;
    const auto result = std::to_chars(out, out + kMaxRealChars, v, std::chars_format::fixed, 6);
    assert(result.ec == std::errc());
    return result.ptr;
}

char* TextWriter::integerTo(char* out, long long v) {
    return std::to_chars(out, out + kMaxIntegerChars, v).ptr;
}

TextWriter& TextWriter::real(double v) {
    char digits[kMaxRealChars];
    buffer_.append(digits, realTo(digits, v));
    spill();
    return *this;
}

TextWriter& TextWriter::integer(long long v) {
    char digits[kMaxIntegerChars];
    buffer_.append(digits, integerTo(digits, v));
    spill();
    return *this;
}

bool TextWriter::flush() {
    if (!sink_ || buffer_.empty())
        return !failed_;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), sink_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
    return !failed_;
}

char TextWriter::literalUpToConversion(std::string_view& fmt) {
    for (;;) {
        const size_t percent = fmt.find('%');
        assert(percent != std::string_view::npos && percent + 1 < fmt.size() &&
               "more arguments than conversions");
        buffer_.append(fmt.substr(0, percent));
        const char conversion = fmt[percent + 1];
        fmt.remove_prefix(percent + 2);
        if (conversion != '%')
            return conversion;
        buffer_.push_back('%');
    }
}

void TextWriter::appendLiteral(std::string_view fmt) {
    for (size_t percent = fmt.find('%'); percent != std::string_view::npos;
         percent = fmt.find('%')) {
        assert(percent + 1 < fmt.size() && fmt[percent + 1] == '%' &&
               "fewer arguments than conversions");
        buffer_.append(fmt.substr(0, percent + 1));
        fmt.remove_prefix(percent + 2);
    }
    buffer_.append(fmt);
}

void TextWriter::formatNext(std::string_view& fmt, double v) {
    [[maybe_unused]] const char conversion = literalUpToConversion(fmt);
    assert(conversion == 'f');
    real(v);
}

void TextWriter::formatNext(std::string_view& fmt, long long v) {
    [[maybe_unused]] const char conversion = literalUpToConversion(fmt);
    assert(conversion == 'd');
    integer(v);
}

void TextWriter::formatNext(std::string_view& fmt, std::string_view v) {
    [[maybe_unused]] const char conversion = literalUpToConversion(fmt);
    assert(conversion == 's');
    text(v);
}

std::string formatFixed(double v) {
    TextWriter w;
    w.real(v);
    return w.take();
}
