#include "ui/ApplicationStartup.h"

#include "control/AppController.h"
#include "control/Singleton.h"
#include "modes/MouseListenerManager.h"
#include "ui/ApplicationShutdown.h"
#include "ui/CDialogSP.h"
#include "ui/CMainFrame.h"
#include "ui/ViewManager.h"

#include <QCoreApplication>

std::unique_ptr<CMainFrame> startApplication(const QString& requestedLibrary) {
    reopenSingletons();
    AppController& controller = appController();
    controller.setViewHost(&viewManager());
    controller.installTextures(&viewManager().textures());
    // The mode manager installs itself in the controller and starts mode 8.
    mouseListenerManager();
    auto mainFrame = std::make_unique<CMainFrame>();

    CDialogSP splash;
    splash.show();
    mainFrame->show();
    mainFrame->placeWindow();
    QCoreApplication::processEvents();
    controller.resetAll();
    controller.commit();
    splash.hide();

    // A library named on the command line is opened only now: opened before the
    // reset, as the document handling would do it, it would be lost at once.
    if (requestedLibrary.isEmpty())
        mainFrame->loadStartupLibrary();
    else
        mainFrame->openDocumentPath(requestedLibrary);
    mainFrame->offerRecovery();
    return mainFrame;
}

void shutdownApplication(std::unique_ptr<CMainFrame>& mainFrame) {
    mainFrame.reset();
    closeSingletons();
    destroyApplicationSingletons();
    destroyViewManager();
}
