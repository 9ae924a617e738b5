#pragma once

#include "gl/TextureImage.h"
#include "model/TextureCache.h"

#include <memory>
#include <string>
#include <vector>

// The program's texture cache: each distinct path string is decoded once and its
// texture addressed by the index `load` returned. A path that cannot be loaded is
// remembered with the reason and not tried again until the failures are forgotten,
// so that a library whose organs share a missing image names that image once. The
// window program's cache belongs to its views (ViewManager), which free it before
// their contexts.
class TextureManager : public TextureCache {
public:
    struct Failure {
        std::string path;
        std::string fault;
        // "the texture image PATH cannot be read: FAULT"
        std::string message() const;
    };

    TextureManager() = default;
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // The index of the texture from `path`, loading it when the exact path string
    // is new; -1 when the file cannot be loaded or failed before.
    int load(const std::string& path) override;
    bool has(int index) const override;
    void bind(int index) override;
    std::string path(int index) const override;
    unsigned bindingVersion(int index) const override;
    void uploadPending() override;

    // The texture at a valid index, else null.
    TextureImage* image(int index) const;
    int size() const { return static_cast<int>(images_.size()); }
    // Why the last `load` that answered -1 failed.
    const std::string& lastFault() const { return lastFault_; }
    // The paths that could not be loaded since the failures were last forgotten, in
    // the order they first failed.
    const std::vector<Failure>& failures() const { return failures_; }
    // The next load of a path that failed tries the file again: before a library is
    // read anew, or an image the user chose is loaded.
    void forgetFailures() { failures_.clear(); }

private:
    std::vector<std::string> paths_;
    std::vector<std::unique_ptr<TextureImage>> images_;
    std::vector<Failure> failures_;
    std::string lastFault_;
};
