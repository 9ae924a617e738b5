#include "math/TextReader.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

void TextReader::skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) {
        if (text_[pos_] == '\n')
            ++line_;
        ++pos_;
    }
}

std::string_view TextReader::peekToken() const {
    size_t end = pos_;
    while (end < text_.size() && !isBlank(text_[end]) && end - pos_ < 40)
        ++end;
    return std::string_view(text_).substr(pos_, end - pos_);
}

bool TextReader::takeWord(std::string_view expected) {
    if (!ok())
        return false;
    skipBlanks();
    if (peekToken() != expected)
        return false;
    pos_ += expected.size();
    return true;
}

bool TextReader::atEnd() {
    skipBlanks();
    return pos_ >= text_.size();
}

void TextReader::fail(std::string_view message) {
    if (!error_.empty())
        return;
    const std::string_view token = peekToken();
    error_ = "line " + std::to_string(line_);
    if (token.empty())
        error_ += ", at the end of the file";
    else
        error_ += ", near '" + std::string(token) + "'";
    error_ += ": ";
    error_ += message;
}

bool TextReader::word(std::string& out) {
    if (!ok())
        return false;
    skipBlanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_]))
        ++pos_;
    if (pos_ == start) {
        fail("a word was expected");
        return false;
    }
    out.assign(text_, start, pos_ - start);
    return true;
}

bool TextReader::integer(int& out) {
    if (!ok())
        return false;
    skipBlanks();
    size_t start = pos_;
    if (start < text_.size() && text_[start] == '+')
        ++start;
    const char* first = text_.data() + start;
    const char* last = text_.data() + text_.size();
    const auto result = std::from_chars(first, last, out);
    if (result.ec == std::errc::result_out_of_range) {
        fail("the whole number is out of range");
        return false;
    }
    if (result.ec != std::errc()) {
        fail("a whole number was expected");
        return false;
    }
    pos_ = static_cast<size_t>(result.ptr - text_.data());
    return true;
}

template <typename Real> bool TextReader::readReal(Real& out) {
    if (!ok())
        return false;
    skipBlanks();
    size_t start = pos_;
    if (start < text_.size() && text_[start] == '+')
        ++start;
    const char* first = text_.data() + start;
    const char* last = text_.data() + text_.size();
    Real value = 0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        fail(result.ec == std::errc() ? "the number is not finite" : "a number was expected");
        return false;
    }
    pos_ = static_cast<size_t>(result.ptr - text_.data());
    out = value;
    return true;
}

bool TextReader::real(double& out) {
    return readReal(out);
}
bool TextReader::real(float& out) {
    return readReal(out);
}

std::string TextReader::restOfLine(size_t maxChars) {
    std::string out;
    while (pos_ < text_.size() && out.size() < maxChars) {
        const char c = text_[pos_++];
        if (c == '\n') {
            ++line_;
            return out;
        }
        out.push_back(c);
    }
    return out;
}

bool TextReader::plausibleCount(long long count, size_t minBytesPerItem) {
    if (count < 0) {
        fail("a count may not be negative");
        return false;
    }
    if (minBytesPerItem == 0)
        minBytesPerItem = 1;
    if (static_cast<unsigned long long>(count) > remaining() / minBytesPerItem) {
        fail("the count is larger than the rest of the file could hold");
        return false;
    }
    return true;
}
