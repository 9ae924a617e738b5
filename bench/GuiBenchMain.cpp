// The main of the benchmarks that render: the views' surface format is set and a
// QGuiApplication exists before any benchmark runs.
#include "gl/OpenGLSetup.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
    prepareOpenGL();
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#if defined(__SANITIZE_ADDRESS__)
    // Leaks are looked for while the GL driver is still loaded (see GuiTestMain).
    __lsan_do_leak_check();
#endif
    return 0;
}
