#include "math/FileText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string failure(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno ? errno : EIO);
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".part";
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = failure("cannot write", path);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = failure("cannot write", path);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& text, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = failure("cannot open", path);
        return false;
    }
    text.clear();
    char block[1 << 16];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = failure("cannot read", path);
        return false;
    }
    return true;
}
