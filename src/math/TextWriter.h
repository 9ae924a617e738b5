#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The one text formatter of the program. Numbers come out exactly as C's "%f"
// (six decimals) and "%d" write them in the C locale, whatever locale the process
// runs in: a German locale would otherwise turn "1.500000" into "1,500000" and
// corrupt every library file and export.
//
// The writer accumulates text in memory. With a sink it hands the text to the
// stream in large blocks and remembers whether any write failed.
class TextWriter {
public:
    TextWriter() = default;
    explicit TextWriter(std::FILE* sink) : sink_(sink) {}
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    ~TextWriter() { flush(); }

    TextWriter& text(std::string_view s) {
        buffer_.append(s);
        spill();
        return *this;
    }
    // "%f"
    TextWriter& real(double v);
    // "%d"
    TextWriter& integer(long long v);

    // The same conversions into a caller's buffer, for writers that assemble whole
    // lines before handing them over: each returns the end of what it wrote.
    static constexpr size_t kMaxRealChars = 330;
    static constexpr size_t kMaxIntegerChars = 24;
    static char* realTo(char* out, double v);
    static char* integerTo(char* out, long long v);

    // printf-style output for the conversions %f, %d and %s (and %% for a percent
    // sign), so that record layouts read like the lines they produce.
    template <typename... Args> TextWriter& format(std::string_view fmt, const Args&... args) {
        (formatNext(fmt, args), ...);
        appendLiteral(fmt);
        spill();
        return *this;
    }

    // Text written so far and not yet handed to a sink.
    const std::string& str() const { return buffer_; }
    std::string take() { return std::move(buffer_); }
    // Hands buffered text to the sink; false once any write to it has failed.
    bool flush();
    bool failed() const { return failed_; }

private:
    void spill() {
        if (sink_ && buffer_.size() >= kBlock)
            flush();
    }
    // Appends the literal text of fmt up to its next conversion and returns the
    // conversion character, leaving fmt behind it.
    char literalUpToConversion(std::string_view& fmt);
    // Appends the rest of a format, "%%" written as "%".
    void appendLiteral(std::string_view fmt);
    void formatNext(std::string_view& fmt, double v);
    void formatNext(std::string_view& fmt, float v) { formatNext(fmt, static_cast<double>(v)); }
    void formatNext(std::string_view& fmt, int v) { formatNext(fmt, static_cast<long long>(v)); }
    void formatNext(std::string_view& fmt, long long v);
    void formatNext(std::string_view& fmt, std::string_view v);
    void formatNext(std::string_view& fmt, const char* v) { formatNext(fmt, std::string_view(v)); }
    void formatNext(std::string_view& fmt, const std::string& v) {
        formatNext(fmt, std::string_view(v));
    }

    static constexpr size_t kBlock = 1 << 16;
    std::string buffer_;
    std::FILE* sink_ = nullptr;
    bool failed_ = false;
};

// "%f" of one value, independent of the C library's locale.
std::string formatFixed(double v);
