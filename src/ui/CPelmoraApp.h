#pragma once

#include <QApplication>

#include <memory>

class CMainFrame;

// Writes the first diagnostic line before the framework starts.
struct DiagnosticsStart {
    DiagnosticsStart();
};

// The application object: it starts the diagnostics (gl/DiagnosticsLog.h), runs the
// start-up sequence and, at exit, the shutdown.
class CPelmoraApp final : private DiagnosticsStart, public QApplication {
public:
    CPelmoraApp(int& argc, char** argv);
    ~CPelmoraApp() override;

    // Starts the program, opening `requestedLibrary` instead of the start-up library
    // when one is named.
    void initInstance(const QString& requestedLibrary);
    void exitInstance();

private:
    std::unique_ptr<CMainFrame> mainFrame_;
};
