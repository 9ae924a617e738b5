#pragma once

#include <QString>

#include <memory>

class CMainFrame;

// The start-up sequence once the application object exists: the controller is
// given the windows, the main frame is created and shown with its panes at their
// initial sizes, the splash stays up while the controller is reset, and then the
// library named on the command line (if any) or the start-up library is loaded;
// last, the work an earlier run left unsaved when it ended abnormally is offered.
std::unique_ptr<CMainFrame> startApplication(const QString& requestedLibrary);

// Closes the windows, destroys the program's singletons in their fixed order and
// then the view contexts.
void shutdownApplication(std::unique_ptr<CMainFrame>& mainFrame);
