#include "math/TextWriter.h"

#include <cassert>
#include <charconv>
#include <system_error>

namespace {

// "%f" writes up to 309 integer digits, a point and six decimals.
constexpr size_t kMaxFixedChars = 330;

} // namespace

TextWriter& TextWriter::real(double v) {
    char digits[kMaxFixedChars];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, 6);
    assert(result.ec == std::errc());
    buffer_.append(digits, result.ptr);
    spill();
    return *this;
}

TextWriter& TextWriter::integer(long long v) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, v);
    buffer_.append(digits, result.ptr);
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
