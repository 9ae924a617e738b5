#include "ui/CPelmoraApp.h"

#include "gl/DiagnosticsLog.h"
#include "ui/ApplicationStartup.h"
#include "ui/CMainFrame.h"

DiagnosticsStart::DiagnosticsStart() {
    routeDiagnosticsToLog();
    qCDebug(pelmoraLog, "start");
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
