#pragma once

#include "ui/CPelmoraDoc.h"
#include "ui/RecentFiles.h"

#include <QMainWindow>

#include <initializer_list>
#include <memory>

class CFlowerLibView;
class COverallFrame;
class CPelmoraView;
class CommandSet;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

// The main window: the 3D view and the library view side by side in a splitter,
// the tools and view bars, the status bar, the menus of every command, and the
// overall window as a second top-level window of its own.
class CMainFrame final : public QMainWindow {
public:
    static constexpr int kMainViewWidth = 500;
    static constexpr int kLibraryViewWidth = 200;
    static constexpr int kPaneHeight = 800;

    CMainFrame();
    ~CMainFrame() override;

    CPelmoraDoc& document() { return document_; }
    CommandSet& commands() { return *commands_; }
    CPelmoraView* mainView() const { return mainView_; }
    QWidget* mainViewPane() const { return mainViewPane_; }
    CFlowerLibView* libraryView() const { return libraryView_; }
    COverallFrame& overallFrame() const { return *overallFrame_; }
    QToolBar* toolsBar() const { return toolsBar_; }
    QToolBar* viewBar() const { return viewBar_; }
    // The status bar's line saying what the current mode expects.
    QLabel* guidance() const { return guidance_; }
    QSplitter* splitter() const { return splitter_; }

    // Sizes the window so that the panes get their initial 500 x 800 and 200 x 800.
    void applyInitialPaneSizes();

    // The file commands; each reports a failure in a message box.
    void openDocument();
    bool openDocumentPath(const QString& path);
    void saveDocument();
    void saveDocumentAs();
    void exportObj();
    // Shows a short note in the status bar for a few seconds.
    void confirm(const QString& note);

    void toggleOverallWindow();
    bool overallWindowVisible() const;
    void showAbout();

protected:
    // Closing the main window ends the program, even while the overall window is
    // open.
    void closeEvent(QCloseEvent* event) override;

private:
    // Adds the commands' actions in order; 0 adds a separator.
    void addMenuEntries(QMenu* menu, std::initializer_list<int> ids);
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    // After every commit: the status bar's guidance and the tool buttons follow the
    // mode and tool the action left.
    void followCommit();
    void addPaneShortcuts();
    void refreshRecentFiles();
    void refreshTitle();
    bool saveTo(const QString& path);

    CPelmoraDoc document_;
    RecentFiles recentFiles_;
    CommandSet* commands_;
    CPelmoraView* mainView_;
    QWidget* mainViewPane_;
    CFlowerLibView* libraryView_;
    QSplitter* splitter_;
    QToolBar* toolsBar_ = nullptr;
    QToolBar* viewBar_ = nullptr;
    QLabel* guidance_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    std::unique_ptr<COverallFrame> overallFrame_;
};
