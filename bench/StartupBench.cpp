// Start-up of the whole program with a large start-up library against the same
// start with none: window shown, every thumbnail rendered, plant creation ready.
// The large start also reports its parts: reading the file, parsing its tokens,
// parsing with every object's geometry rebuilt, and (the rest of the difference to
// the empty start) rendering the thumbnails.
#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "control/LibraryFileModule.h"
#include "gl/OpenGLSetup.h"
#include "library/LibraryReaders.h"
#include "math/FileText.h"
#include "math/TextReader.h"
#include "model/FlowerObjectNode.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"
#include "starter/StarterLibrary.h"
#include "ui/ApplicationStartup.h"
#include "ui/CMainFrame.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>

namespace {

constexpr int kEntriesPerCategory = 40;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// 200 entries: 40 of every category, the starter library's entries over and over.
void writeLargeLibrary(const std::string& path) {
    IdCounter ids;
    const StarterLibrary starter(ids, Parameters());
    const LibraryContents source = starter.contents();
    LibraryContents large;
    for (int category = kCategoryPrimitive; category < kCategoryCount; ++category)
        for (int i = 0; i < kEntriesPerCategory; ++i)
            large.objects[category].push_back(
                source.objects[category][i % source.objects[category].size()]);
    for (int i = 0; i < kEntriesPerCategory; ++i)
        large.scenes.push_back(source.scenes[i % source.scenes.size()]);
    std::string error;
    if (!saveLibraryFile(path, large, nullptr, error))
        throw std::runtime_error(error);
}

class DiscardingSink final : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode>, int) override {}
    void addScene(std::unique_ptr<SceneRoot>) override {}
};

// One start in `directory` up to a window that is shown with its library and ready
// to draw a plant; the milliseconds it took.
double timedStart(const QString& directory) {
    QDir::setCurrent(directory);
    const Clock::time_point start = Clock::now();
    std::unique_ptr<CMainFrame> frame = startApplication(QString());
    if (!QTest::qWaitForWindowExposed(frame.get()))
        throw std::runtime_error("the main window was never shown");
    QApplication::processEvents();
    const double elapsed = millisecondsSince(start);
    if (appController().mode() != kModeComposite)
        throw std::runtime_error("the start did not end ready to draw a plant");
    shutdownApplication(frame);
    return elapsed;
}

void BM_StartupEmptyAgainstLargeLibrary(benchmark::State& state) {
    QTemporaryDir empty, large;
    const std::string libraryPath =
        QDir(large.path()).filePath(LibraryFileModule::kStartupFileName).toStdString();
    writeLargeLibrary(libraryPath);
    double emptyTotal = 0, largeTotal = 0, readTotal = 0, tokenTotal = 0, parseTotal = 0;
    for (auto _ : state) {
        const double emptyStart = timedStart(empty.path());
        const double largeStart = timedStart(large.path());
        emptyTotal += emptyStart;
        largeTotal += largeStart;

        Clock::time_point start = Clock::now();
        std::string text, error;
        readWholeFile(libraryPath, text, error);
        readTotal += millisecondsSince(start);

        start = Clock::now();
        TextReader tokens(text);
        std::string word;
        while (tokens.word(word)) {
        }
        tokenTotal += millisecondsSince(start);

        start = Clock::now();
        IdCounter ids;
        const Parameters parameters;
        DiscardingSink sink;
        TextReader in(text);
        readLibrary(in, libraryReaders(), {ids, parameters, nullptr, {}}, sink);
        parseTotal += millisecondsSince(start);
        state.SetIterationTime(largeStart / 1000.0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["empty_ms"] = emptyTotal / n;
    state.counters["large_ms"] = largeTotal / n;
    state.counters["read_file_ms"] = readTotal / n;
    state.counters["tokens_ms"] = tokenTotal / n;
    state.counters["parse_and_rebuild_ms"] = parseTotal / n;
    state.counters["thumbnails_ms"] = (largeTotal - emptyTotal - readTotal - parseTotal) / n;
}
BENCHMARK(BM_StartupEmptyAgainstLargeLibrary)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    prepareOpenGL();
    QApplication application(argc, argv);
    // The user's own settings and start-up library stay out of the measurement.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
