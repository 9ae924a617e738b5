#include "ui/CPelmoraApp.h"

#include "ui/ApplicationStartup.h"
#include "ui/CMainFrame.h"

#include <cstdio>

DiagnosticsStart::DiagnosticsStart() {
    std::fputs("start\n", stderr);
    std::fflush(stderr);
}

CPelmoraApp::CPelmoraApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("Pelmora Project"));
    setApplicationName(QStringLiteral("Pelmora"));
    setApplicationVersion(QStringLiteral("1.0"));
}

CPelmoraApp::~CPelmoraApp() {
    exitInstance();
}

void CPelmoraApp::initInstance(const QString& requestedLibrary) {
    mainFrame_ = startApplication(requestedLibrary);
}

void CPelmoraApp::exitInstance() {
    if (mainFrame_)
        shutdownApplication(mainFrame_);
}
