#pragma once

#include "math/TextWriter.h"

#include <functional>
#include <string_view>

// Messages for following what the program does inside (a stroke's points, a texture
// loaded, a stroke too short to use), meant for its developers and for bug reports,
// never for the terminal of a normal run. The modelling code prints nothing itself:
// it hands each message to the sink the program installs (the window program and
// the command-line tool forward to a logging category that is off unless asked
// for). With no sink installed the messages are dropped.
using DiagnosticSink = std::function<void(std::string_view message)>;

// Installs `sink` (an empty one drops the messages); returns the sink it replaces.
DiagnosticSink installDiagnosticSink(DiagnosticSink sink);
// Whether a sink takes the messages; lets a caller skip composing one.
bool diagnosticsWanted();
// Hands one message, without a trailing newline, to the sink.
void diagnostic(std::string_view message);
// The message composed as TextWriter::format composes it, only when a sink takes it.
template <typename... Args> void diagnostic(std::string_view format, const Args&... args) {
    if (!diagnosticsWanted())
        return;
    TextWriter text;
    text.format(format, args...);
    diagnostic(text.str());
}
