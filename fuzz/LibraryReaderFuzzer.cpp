// libFuzzer entry point: every input is read as a library file with all object
// readers. Whatever the bytes, the reader must stop cleanly.
#include "library/LibraryFile.h"
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "model/FlowerObjectNode.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class DiscardingSink : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode>, int) override {}
    void addScene(std::unique_ptr<SceneRoot>) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IdCounter ids;
    const Parameters parameters;
    TextReader in(std::string(reinterpret_cast<const char*>(data), size));
    DiscardingSink sink;
    readLibrary(in, libraryReaders(), {ids, parameters, nullptr, {}}, sink);
    return 0;
}
