#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The one tokenizer of the program, reading text as C's scanf reads it with "%s",
// "%d" and "%lf", but independent of the locale: white space (line ends included)
// separates tokens, a number stops at the first character that cannot continue it
// ("12m_resH" reads as 12 followed by the word "m_resH"), and a word is the next
// run of non-blank characters.
//
// Reading never throws. The first failure is kept with the line and the token
// where it happened, so that a caller can tell the user where a file went wrong;
// after a failure every further read fails too.
class TextReader {
public:
    explicit TextReader(std::string text) : text_(std::move(text)) {}

    bool word(std::string& out);
    bool integer(int& out);
    bool real(double& out);
    bool real(float& out);
    // Reads the next word only if it is `expected`: how an optional block is told
    // from what follows it.
    bool takeWord(std::string_view expected);
    // The rest of the current line, at most maxChars characters, without the line
    // end (fgets followed by cutting at the line end). The position moves past the
    // characters returned and past the line end when it was reached.
    std::string restOfLine(size_t maxChars);

    // Records a failure at the current position unless one is recorded already.
    void fail(std::string_view message);
    bool ok() const { return error_.empty(); }
    // "line 12, near 'abc': message", empty while nothing failed.
    const std::string& error() const { return error_; }

    // A count read from the file is plausible when the bytes left could hold that
    // many items of at least minBytesPerItem bytes each. Implausible counts are
    // reported as a failure, so that a hostile count never drives an allocation.
    bool plausibleCount(long long count, size_t minBytesPerItem);

    bool atEnd();
    size_t remaining() const { return text_.size() - pos_; }
    int line() const { return line_; }

private:
    void skipBlanks();
    template <typename Real> bool readReal(Real& out);
    std::string_view peekToken() const;

    std::string text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string error_;
};
