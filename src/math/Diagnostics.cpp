#include "math/Diagnostics.h"

#include <utility>

namespace {

DiagnosticSink& installedSink() {
    static DiagnosticSink sink;
    return sink;
}

} // namespace

DiagnosticSink installDiagnosticSink(DiagnosticSink sink) {
    return std::exchange(installedSink(), std::move(sink));
}

bool diagnosticsWanted() {
    return static_cast<bool>(installedSink());
}

void diagnostic(std::string_view message) {
    if (const DiagnosticSink& sink = installedSink())
        sink(message);
}
