#include "ui/ApplicationStartup.h"

#include "app/AppController.h"
#include "app/ApplicationShutdown.h"
#include "app/LibraryFileModule.h"
#include "app/TextureManager.h"
#include "ui/CDialogSP.h"
#include "ui/CMainFrame.h"
#include "ui/ViewManager.h"

#include <QCoreApplication>

std::unique_ptr<CMainFrame> startApplication(const QString& requestedLibrary) {
    AppController& controller = appController();
    controller.setViewHost(&viewManager());
    controller.installTextures(&TextureManager::instance());
    auto mainFrame = std::make_unique<CMainFrame>();

    CDialogSP splash;
    splash.show();
    mainFrame->show();
    mainFrame->applyInitialPaneSizes();
    QCoreApplication::processEvents();
    controller.resetAll();
    splash.hide();

    // A library named on the command line is opened only now: opened before the
    // reset, as the document handling would do it, it would be lost at once.
    if (requestedLibrary.isEmpty())
        libraryFileModule().loadStartupLibrary();
    else
        mainFrame->openDocumentPath(requestedLibrary);
    return mainFrame;
}

void shutdownApplication(std::unique_ptr<CMainFrame>& mainFrame) {
    mainFrame.reset();
    destroyApplicationSingletons();
    destroyViewManager();
}
