#pragma once

#include "ui/CPelmoraDoc.h"
#include "ui/RecentFiles.h"

#include <QMainWindow>

#include <functional>
#include <initializer_list>
#include <memory>

class Autosave;
class CFlowerLibView;
class COverallFrame;
class CPelmoraView;
class CommandSet;
class HelpWindow;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

// The main window: the 3D view and the library view side by side in a splitter,
// the tools and view bars, the status bar, the menus of every command, and the
// overall window as a second top-level window of its own.
class CMainFrame final : public QMainWindow {
public:
    // Four columns of library tiles.
    static constexpr int kLibraryViewWidth = 312;
    static constexpr double kFirstStartScreenShare = 0.85;
    // Where the window's geometry and the splitter position are remembered.
    static constexpr const char* kGeometryKey = "MainWindow/geometry";
    static constexpr const char* kSplitterKey = "MainWindow/splitter";

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
    // The status bar's caption naming what the next stroke carries from the library.
    QLabel* penLoadCaption() const { return penLoad_; }
    QSplitter* splitter() const { return splitter_; }

    // Puts the window where it was when it was last closed, or on the first start
    // over most of the screen.
    void placeWindow();

    // The file commands; each reports a failure in a message box. A new library or
    // opening over unsaved changes first asks whether to save them; whether the
    // file was opened or saved.
    void newDocument();
    void openDocument();
    bool openDocumentPath(const QString& path);
    bool saveDocument();
    bool saveDocumentAs();
    void exportObj();
    // "Save focusing object as glTF" and "Save floral diagram as SVG": each asks for
    // a file name, writes and confirms in the status bar.
    void exportGltf();
    void exportDiagram();
    // Shows a short note in the status bar for a few seconds.
    void confirm(const QString& note);

    // At start-up: loads the first start-up library found.
    void loadStartupLibrary();
    Autosave& autosave() const { return *autosave_; }
    // At start-up: offers the work an earlier run autosaved and did not save before
    // it ended abnormally; accepted, it becomes an untitled document with unsaved
    // changes. The earlier autosaves are removed once answered.
    void offerRecovery();

    void toggleOverallWindow();
    bool overallWindowVisible() const;
    void showAbout();
    // The user guide in a window of its own, made on first use.
    void showHelp();
    HelpWindow* helpWindow() const { return help_; }

protected:
    // Closing the main window remembers its place and ends the program, even while
    // the overall or the help window is open, unless the user cancels at the
    // question about unsaved changes.
    void closeEvent(QCloseEvent* event) override;

private:
    // Adds the commands' actions in order; 0 adds a separator.
    void addMenuEntries(QMenu* menu, std::initializer_list<int> ids);
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    // After every commit: the status bar's guidance, the Pen's load and the tool
    // buttons follow the mode, tool and library selection the action left.
    void followCommit();
    void addPaneShortcuts();
    void refreshRecentFiles();
    void refreshTitle();
    bool saveTo(const QString& path);
    // Asks for a file name and has `write` write there; a failure is reported with
    // `failure` and the writer's error. Whether something was written.
    bool saveThrough(const QString& caption, const QString& filter, const QString& failure,
                     const std::function<bool(const std::string&, std::string&)>& write);
    // Has `write` write to `path`; a failure is reported as saveThrough reports it.
    bool writeReporting(const QString& path, const QString& failure,
                        const std::function<bool(const std::string&, std::string&)>& write);
    // Runs `load`, which reads a library, and names once, on the standard error
    // stream and in a note beside the window, each texture image it could not read.
    void loadNamingMissingImages(const std::function<void()>& load);
    // Before the library is replaced or the program ends: asks whether to save
    // unsaved changes. False when the user cancels or saving fails, and then
    // nothing may change.
    bool settleUnsavedChanges();

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
    QLabel* penLoad_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    std::unique_ptr<COverallFrame> overallFrame_;
    Autosave* autosave_;
    HelpWindow* help_ = nullptr;
};
