#pragma once

#include <clocale>
#include <string>

// The locale with a decimal comma that the locale tests write and read under (the
// test script builds it privately when the system has none).
inline constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";

// Switches one category of the C library's locale for the length of a test, and
// back when it ends or on restore().
class ScopedLocale {
public:
    ScopedLocale(int category, const char* name) : category_(category) {
        const char* previous = std::setlocale(category, nullptr);
        saved_ = previous ? previous : "C";
        active_ = std::setlocale(category, name) != nullptr;
    }
    ~ScopedLocale() { restore(); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the locale does not exist here; nothing was changed then.
    bool active() const { return active_; }
    void restore() {
        if (active_)
            std::setlocale(category_, saved_.c_str());
        active_ = false;
    }

private:
    int category_;
    std::string saved_;
    bool active_ = false;
};
