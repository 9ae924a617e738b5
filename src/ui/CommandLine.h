#pragma once

#include <QString>
#include <QStringList>

// What the program's command line asks for: run, opening `library` instead of the
// start-up library when one is named, or stop at once with `exitStatus` after
// --help, --version or a mistake; `verbose` turns the diagnostics on.
struct CommandLineRequest {
    bool run = true;
    int exitStatus = 0;
    QString library;
    bool verbose = false;
};

// Reads the arguments, the program name first. --help and --version are answered
// even among arguments meant for the window system, so that they can be asked for
// before the application object, and a display, exist; their text goes to `out`,
// mistakes to `err`.
CommandLineRequest parseCommandLine(const QStringList& arguments, QString& out, QString& err);
