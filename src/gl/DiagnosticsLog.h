#pragma once

#include <QLoggingCategory>

// The logging category of the program's diagnostics, "pelmora": off unless
// --verbose or QT_LOGGING_RULES ("pelmora.debug=true") turns it on, so that a
// normal run prints nothing on a terminal.
Q_DECLARE_LOGGING_CATEGORY(pelmoraLog)

// Forwards the modelling code's diagnostics (math/Diagnostics.h) to the category.
// Qt's own warnings (a damaged PNG's "libpng error", notes of the window system)
// count as diagnostics too: they reach the terminal only while the category is on.
// Critical and fatal messages always do.
void routeDiagnosticsToLog();
// Turns the category on, as --verbose asks; QT_LOGGING_RULES still has the last word.
void enableVerboseLog();
