// Loading a large library: the token parse of the positional readers, against the
// fscanf reader it replaced on the same token sequence, and the whole load with
// every object's geometry rebuilt.
#include "library/LibraryFile.h"
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kLibraryBytes = 50u << 20;

struct LargeLibrary {
    std::string text;
    // How the positional readers take each token of the text: 'w' a word, 'd' an
    // integer, 'f' a real.
    std::string tokenKinds;
};

char kindOf(const char* token) {
    const bool numeric = std::strspn(token, "-0123456789.") == std::strlen(token) &&
                         std::strpbrk(token, "0123456789");
    if (!numeric)
        return 'w';
    return std::strchr(token, '.') ? 'f' : 'd';
}

const LargeLibrary& largeLibrary() {
    static const LargeLibrary library = [] {
        OwnModelRecords records;
        // A user's library: flowers with every organ, and plants carrying them.
        const auto flower = samples::flower(records.records());
        const auto plant = samples::plant(records.records(), 3);
        LibraryContents one;
        one.objects[kCategoryFlower] = {flower.get()};
        one.objects[kCategoryComposite] = {plant.get()};
        TextWriter sample;
        writeLibrary(sample, one, WriteContext{});
        const size_t copies = kLibraryBytes / sample.str().size() + 1;
        LibraryContents contents;
        contents.objects[kCategoryFlower].assign(copies, flower.get());
        contents.objects[kCategoryComposite].assign(copies, plant.get());
        TextWriter out;
        writeLibrary(out, contents, WriteContext{});
        LargeLibrary made{out.take(), {}};
        std::string copy = made.text;
        for (char* token = std::strtok(copy.data(), " \n"); token;
             token = std::strtok(nullptr, " \n"))
            made.tokenKinds.push_back(kindOf(token));
        return made;
    }();
    return library;
}

void BM_ParseTextReader(benchmark::State& state) {
    const LargeLibrary& library = largeLibrary();
    for (auto _ : state) {
        TextReader in(library.text);
        std::string word;
        int integer = 0;
        double real = 0.0;
        for (const char kind : library.tokenKinds) {
            if (kind == 'w')
                in.word(word);
            else if (kind == 'd')
                in.integer(integer);
            else
                in.real(real);
        }
        if (!in.ok())
            state.SkipWithError(in.error().c_str());
        benchmark::DoNotOptimize(real);
    }
    state.SetBytesProcessed(static_cast<int64_t>(library.text.size()) * state.iterations());
}

void BM_ParseFscanfBaseline(benchmark::State& state) {
    const LargeLibrary& library = largeLibrary();
    for (auto _ : state) {
        std::FILE* in = fmemopen(const_cast<char*>(library.text.data()), library.text.size(), "r");
        char word[256];
        int integer = 0;
        double real = 0.0;
        for (const char kind : library.tokenKinds) {
            if (kind == 'w')
                std::fscanf(in, "%255s", word);
            else if (kind == 'd')
                std::fscanf(in, "%d", &integer);
            else
                std::fscanf(in, "%lf", &real);
        }
        std::fclose(in);
        benchmark::DoNotOptimize(real);
    }
    state.SetBytesProcessed(static_cast<int64_t>(library.text.size()) * state.iterations());
}

class CountingSink : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode>, int) override { ++objects; }
    void addScene(std::unique_ptr<SceneRoot>) override {}
    int objects = 0;
};

void BM_LoadWithRebuild(benchmark::State& state) {
    const LargeLibrary& library = largeLibrary();
    for (auto _ : state) {
        OwnModelRecords records;
        TextReader in(library.text);
        CountingSink sink;
        if (!readLibrary(in, libraryReaders(), records.reading(), sink).ok())
            state.SkipWithError("the library did not load");
        state.counters["objects"] = sink.objects;
    }
    state.SetBytesProcessed(static_cast<int64_t>(library.text.size()) * state.iterations());
}

} // namespace

BENCHMARK(BM_ParseTextReader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ParseFscanfBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadWithRebuild)->Unit(benchmark::kMillisecond)->Iterations(3);
