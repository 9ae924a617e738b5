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
    return writeFilesAtomically({{path, text}}, error);
}

bool writeFilesAtomically(const FileSet& files, std::string& error) {
    const auto temporary = [](const std::string& path) { return path + ".part"; };
    const auto discard = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            std::remove(temporary(files[i].first).c_str());
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& [path, text] = files[i];
        errno = 0;
        std::FILE* file = std::fopen(temporary(path).c_str(), "wb");
        if (!file) {
            error = failure("cannot write", path);
            discard(0, i);
            return false;
        }
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (std::fclose(file) != 0 || !written) {
            error = failure("cannot write", path);
            discard(0, i + 1);
            return false;
        }
    }
    for (size_t i = 0; i < files.size(); ++i)
        if (std::rename(temporary(files[i].first).c_str(), files[i].first.c_str()) != 0) {
            error = failure("cannot write", files[i].first);
            discard(i, files.size());
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
