#include "ui/CMainFrame.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "control/LibraryFileModule.h"
#include "control/Singleton.h"
#include "exchange/GltfExport.h"
#include "gl/TextureManager.h"
#include "ui/AboutDialog.h"
#include "ui/Autosave.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallFrame.h"
#include "ui/CPelmoraView.h"
#include "ui/CommandIds.h"
#include "ui/CommandSet.h"
#include "ui/FDParameterDlg.h"
#include "ui/HelpWindow.h"
#include "ui/ModeGuidance.h"
#include "ui/ShellPrompts.h"
#include "ui/TimeDlg.h"
#include "ui/ViewManager.h"
#include "ui/WindowIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace {

const char* const kLibraryFilter = "Pelmora Files (*.pmr)";

// The commands on the tools bar and the view bar, in order; 0 is a separator.
constexpr int kToolsBarEntries[] = {
    kCmdStoreCurrent,
    kCmdLoadFromLibrary,
    0,
    kCmdToolBrowsing,
    kCmdToolCursor,
    kCmdToolEraser,
    kCmdToolPen,
    0,
    kCmdBranchBillboard,
    kCmdFlowerBillboard,
    kCmdLeafBillboard,
    0,
    kCmdSceneCreation,
    kCmdCompositeCreation,
    kCmdFlowerCreation,
    kCmdPetalCreation,
    kCmdStamenCreation,
    kCmdPistilCreation,
};
constexpr int kViewBarEntries[] = {
    kCmdFocusUp,
    kCmdFocusToRoot,
    0,
    kCmdEyeInit,
    0,
    kCmdShowControlPoints,
    kCmdShowWireFrame,
    kCmdShowBillboard,
    kCmdShowSketch,
    0,
    kCmdSceneLibrary,
    kCmdCompositeLibrary,
    kCmdFlowerLibrary,
    kCmdLeafLibrary,
    kCmdPrimitiveLibrary,
};

// The status-bar indicators: the lock keys' states are not followed.
QLabel* indicator(const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 12);
    label->setEnabled(false);
    return label;
}

} // namespace

CMainFrame::CMainFrame()
    : commands_(new CommandSet(*this)), mainView_(new CPelmoraView),
      libraryView_(new CFlowerLibView), splitter_(new QSplitter(Qt::Horizontal)),
      overallFrame_(std::make_unique<COverallFrame>()), autosave_(new Autosave(this)) {
    setWindowIcon(applicationIcon());
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    mainViewPane_ = QWidget::createWindowContainer(mainView_, splitter_);
    viewManager().floralDiagramDialog().setAnchor(mainViewPane_);
    viewManager().timeDialog().setAnchor(mainViewPane_);
    mainViewPane_->setFocusPolicy(Qt::StrongFocus);
    libraryView_->setFocusPolicy(Qt::StrongFocus);
    splitter_->addWidget(mainViewPane_);
    splitter_->addWidget(libraryView_);
    splitter_->setChildrenCollapsible(false);
    // A wider or narrower window changes the main view; the library keeps its columns.
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    setCentralWidget(splitter_);

    buildMenus();
    buildToolBars();
    buildStatusBar();
    addPaneShortcuts();
    refreshTitle();

    // The commands follow every published change, so the tool bars show the state
    // the last action left.
    appController().setCommitObserver([this] { followCommit(); });
    followCommit();
    autosave_->reportFailure = [this](const QString& message) {
        writeOnStandardError(message);
        statusBar()->showMessage(message);
    };
}

CMainFrame::~CMainFrame() {
    if (AppController* controller = existingSingleton<AppController>())
        controller->setCommitObserver({});
}

void CMainFrame::followCommit() {
    commands_->updateAll();
    AppController& controller = appController();
    guidance_->setText(modeGuidance(controller.mode(), controller.settings().drawingTool,
                                    controller.settings().bloom));
    viewManager().timeDialog().refresh();
    const QString load = penLoad(controller, libraryBrowser());
    penLoad_->setText(load);
    penLoad_->setVisible(!load.isEmpty());
    setWindowModified(controller.modified());
}

void CMainFrame::addMenuEntries(QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(commands_->action(id));
    }
}

void CMainFrame::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto menu = [&](QMenu* parent, const char* title, std::initializer_list<int> ids) {
        QMenu* m = parent ? parent->addMenu(QString::fromUtf8(title))
                          : bar->addMenu(QString::fromUtf8(title));
        addMenuEntries(m, ids);
        connect(m, &QMenu::aboutToShow, this, [this] { commands_->updateAll(); });
        return m;
    };

    fileMenu_ = menu(nullptr, "File(&F)",
                     {kCmdFileNew, kCmdFileOpen, kCmdFileSave, kCmdFileSaveAs, kCmdSaveObj,
                      kCmdSaveGltf, kCmdSaveDiagramSvg});
    fileMenu_->addSeparator();
    recentSeparator_ = fileMenu_->addSeparator();
    fileMenu_->addSeparator();
    fileMenu_->addAction(commands_->action(kCmdAppExit));
    refreshRecentFiles();

    menu(nullptr, "Edit(&E)", {kCmdEditUndo, kCmdEditRedo, 0});
    commands_->action(kCmdEditUndo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    commands_->action(kCmdEditRedo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    menu(nullptr, "View(&V)",
         {kCmdViewToolBar, kCmdViewStatusBar, 0, kCmdShowParameterDlg, kCmdShowFloralDiagramDlg, 0,
          kCmdShowOverallWindow, 0, kCmdTrackballOrbit});

    QMenu* tool = menu(nullptr, "Tool", {});
    menu(tool, "Scene navigation", {kCmdEyeInit, 0, kCmdFocusUp, kCmdFocusToRoot});
    menu(tool, "New Object Creation",
         {kCmdSceneCreation, kCmdCompositeCreation, kCmdFlowerCreation, kCmdPetalCreation,
          kCmdPistilCreation, kCmdStamenCreation});
    menu(tool, "Drawing tool",
         {kCmdToolCursor, kCmdToolBrowsing, kCmdToolEraser, kCmdToolPen, 0, kCmdToolAxisModify,
          kCmdLeafOrPetalCreation});
    menu(tool, "New Billboard creation",
         {kCmdBranchBillboard, kCmdFlowerBillboard, kCmdLeafBillboard});
    addMenuEntries(tool, {0, kCmdMakeInflorescence, kCmdArrangeLeaves});
    addMenuEntries(tool, {0, kCmdStoreCurrent, kCmdLoadFromLibrary, 0, kCmdReplaceWithStamen,
                          kCmdReplaceWithFlower, kCmdReplaceWithLeaf, kCmdReplaceWithStem, 0});

    menu(nullptr, "Color",
         {kCmdColorBackground, kCmdColorObject, kCmdColorAnther, kCmdColorSketch});
    menu(nullptr, "Library",
         {kCmdSceneLibrary, kCmdCompositeLibrary, kCmdFlowerLibrary, kCmdLeafLibrary,
          kCmdPrimitiveLibrary});
    QMenu* others =
        menu(nullptr, "Others",
             {kCmdShowControlPoints, kCmdShowSketch, kCmdShowWireFrame, kCmdShowBillboard,
              kCmdShowFloor, 0, kCmdZDirectionUp, kCmdZDirectionHere, 0});
    menu(others, "Add Texture",
         {kCmdTextureToObject, kCmdTextureToLeaves, kCmdTextureToPetals, kCmdTextureToStem,
          kCmdTextureToSepals});
    addMenuEntries(others,
                   {0, kCmdAutomaticRotation, 0, kCmdImportAnimatedFlower, kCmdShowTimeDialog});
    menu(nullptr, "Help(&H)", {kCmdHelpGuide, 0, kCmdAppAbout});
}

void CMainFrame::buildToolBars() {
    const auto fill = [this](QToolBar* bar, const int* begin, const int* end) {
        bar->setIconSize(QSize(32, 32));
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setMovable(true);
        for (const int* id = begin; id != end; ++id) {
            if (*id == 0)
                bar->addSeparator();
            else
                bar->addAction(commands_->action(*id));
        }
    };
    toolsBar_ = new QToolBar(QStringLiteral("Tools"), this);
    toolsBar_->setObjectName(QStringLiteral("ToolsBar"));
    fill(toolsBar_, std::begin(kToolsBarEntries), std::end(kToolsBarEntries));
    addToolBar(Qt::LeftToolBarArea, toolsBar_);
    viewBar_ = new QToolBar(QStringLiteral("View"), this);
    viewBar_->setObjectName(QStringLiteral("ViewBar"));
    fill(viewBar_, std::begin(kViewBarEntries), std::end(kViewBarEntries));
    addToolBar(Qt::TopToolBarArea, viewBar_);
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    // A widget rather than a message: the commands' hints shown while the mouse is
    // over them only cover it for that time.
    guidance_ = new QLabel;
    bar->addWidget(guidance_, 1);
    // Permanent, so that no passing hint hides what the next stroke will carry.
    penLoad_ = new QLabel;
    bar->addPermanentWidget(penLoad_);
    for (const char* text : {"CAP", "NUM", "SCRL"})
        bar->addPermanentWidget(indicator(text));
}

void CMainFrame::addPaneShortcuts() {
    const auto cycle = [this](bool forward) {
        const bool inMain = mainViewPane_->hasFocus() || mainView_->isActive();
        QWidget* next = inMain == forward ? static_cast<QWidget*>(libraryView_) : mainViewPane_;
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    };
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this,
            [cycle] { cycle(true); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this), &QShortcut::activated, this,
            [cycle] { cycle(false); });
}

void CMainFrame::placeWindow() {
    QSettings settings;
    if (restoreGeometry(settings.value(QLatin1String(kGeometryKey)).toByteArray()) &&
        splitter_->restoreState(settings.value(QLatin1String(kSplitterKey)).toByteArray()))
        return;
    // The first start takes most of the screen; the main view gets all but the
    // library pane's four columns of tiles.
    const QRect screenArea = screen()->availableGeometry();
    const QSize wanted = screenArea.size() * kFirstStartScreenShare;
    splitter_->setSizes({wanted.width() - kLibraryViewWidth, kLibraryViewWidth});
    resize(wanted);
    move(screenArea.center() - rect().center());
    const int mainWidth = splitter_->width() - kLibraryViewWidth - splitter_->handleWidth();
    splitter_->setSizes({mainWidth, kLibraryViewWidth});
}

void CMainFrame::refreshRecentFiles() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    int index = 1;
    for (const QString& path : recentFiles_.paths()) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(index++).arg(path), this);
        connect(action, &QAction::triggered, this, [this, path] { openDocumentPath(path); });
        fileMenu_->insertAction(recentSeparator_, action);
        recentActions_.append(action);
    }
}

void CMainFrame::refreshTitle() {
    // "[*]" shows while the library has changes that are not saved.
    setWindowTitle(document_.title() + QStringLiteral("[*] - Pelmora"));
    setWindowModified(appController().modified());
    overallFrame_->setDocumentTitle(document_.title());
}

void CMainFrame::newDocument() {
    if (!settleUnsavedChanges())
        return;
    libraryFileModule().newLibrary();
    document_.newDocument();
    refreshTitle();
}

void CMainFrame::openDocument() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      QString::fromLatin1(kLibraryFilter));
    if (!path.isEmpty())
        openDocumentPath(path);
}

bool CMainFrame::openDocumentPath(const QString& path) {
    if (!settleUnsavedChanges())
        return false;
    bool opened = false;
    loadNamingMissingImages([&] { opened = document_.openDocument(path); });
    if (opened)
        recentFiles_.add(path);
    else if (!QFileInfo::exists(path))
        recentFiles_.remove(QFileInfo(path).absoluteFilePath());
    refreshRecentFiles();
    refreshTitle();
    return opened;
}

bool CMainFrame::saveDocument() {
    if (document_.path().isEmpty())
        return saveDocumentAs();
    return saveTo(document_.path());
}

bool CMainFrame::saveDocumentAs() {
    const QString chosen = shellPrompts().chooseSaveFile(
        QStringLiteral("Save as"), QString::fromLatin1(kLibraryFilter), document_.path());
    return !chosen.isEmpty() && saveTo(chosen);
}

bool CMainFrame::saveTo(const QString& path) {
    const bool saved = document_.saveDocument(path);
    if (saved) {
        recentFiles_.add(path);
        autosave_->discard();
        confirm(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path)));
    }
    refreshRecentFiles();
    refreshTitle();
    return saved;
}

void CMainFrame::exportObj() {
    const ShellPrompts::ObjExportChoice choice = shellPrompts().chooseObjExport();
    const bool exported =
        !choice.path.isEmpty() &&
        writeReporting(choice.path, QStringLiteral("Failed to export the object."),
                       [&](const std::string& chosen, std::string& error) {
                           return libraryFileModule().exportFocusObj(chosen, choice.singleSurfaces,
                                                                     error);
                       });
    if (exported)
        confirm(QStringLiteral("Exported to %1").arg(QDir::toNativeSeparators(choice.path)));
}

bool CMainFrame::saveThrough(const QString& caption, const QString& filter, const QString& failure,
                             const std::function<bool(const std::string&, std::string&)>& write) {
    const QString chosen = shellPrompts().chooseSaveFile(caption, filter, QString());
    return !chosen.isEmpty() && writeReporting(chosen, failure, write);
}

bool CMainFrame::writeReporting(const QString& path, const QString& failure,
                                const std::function<bool(const std::string&, std::string&)>& write) {
    std::string error;
    if (write(path.toStdString(), error))
        return true;
    document_.report(failure + QStringLiteral("\n\n") + QString::fromStdString(error));
    return false;
}

void CMainFrame::exportGltf() {
    const ShellPrompts::GltfExportChoice choice = shellPrompts().chooseGltfExport();
    GltfBloom bloom;
    if (choice.animateBloom) {
        bloom.seconds = TimeDlg::kPlayMilliseconds / 1000.0;
        bloom.topFirst = appController().settings().bloom.topFirst;
    }
    std::string written;
    const bool saved =
        !choice.path.isEmpty() &&
        writeReporting(choice.path, QStringLiteral("Failed to export the object."),
                       [&](const std::string& chosen, std::string& error) {
                           written = gltfExportPaths(chosen).main;
                           return libraryFileModule().exportFocusGltf(chosen, bloom, error);
                       });
    if (saved)
        confirm(QStringLiteral("Exported to %1")
                    .arg(QDir::toNativeSeparators(QString::fromStdString(written))));
}

void CMainFrame::exportDiagram() {
    std::string written;
    const bool saved = saveThrough(QStringLiteral("Save floral diagram as SVG"),
                                   QStringLiteral("SVG picture (*.svg)"),
                                   QStringLiteral("Failed to save the floral diagram."),
                                   [&](const std::string& chosen, std::string& error) {
                                       written = chosen;
                                       return libraryFileModule().exportFocusDiagram(chosen, error);
                                   });
    if (saved)
        confirm(QStringLiteral("Saved to %1")
                    .arg(QDir::toNativeSeparators(QString::fromStdString(written))));
}

void CMainFrame::confirm(const QString& note) {
    constexpr int kNoteMs = 4000;
    statusBar()->showMessage(note, kNoteMs);
}

void CMainFrame::toggleOverallWindow() {
    if (overallFrame_->isVisible()) {
        overallFrame_->hide();
        return;
    }
    overallFrame_->show();
    overallFrame_->raise();
}

bool CMainFrame::overallWindowVisible() const {
    return overallFrame_->isVisible();
}

bool CMainFrame::settleUnsavedChanges() {
    if (!appController().modified())
        return true;
    switch (shellPrompts().saveChanges(document_.title())) {
    case ShellPrompts::SaveAnswer::Save:
        return saveDocument();
    case ShellPrompts::SaveAnswer::Discard:
        return true;
    case ShellPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void CMainFrame::loadStartupLibrary() {
    loadNamingMissingImages([] { libraryFileModule().loadStartupLibrary(); });
}

void CMainFrame::loadNamingMissingImages(const std::function<void()>& load) {
    TextureManager& textures = viewManager().textures();
    textures.forgetFailures();
    load();
    if (textures.failures().empty())
        return;
    QString missing;
    for (const TextureManager::Failure& failure : textures.failures())
        missing += QString::fromStdString(failure.message()) + QLatin1Char('\n');
    writeOnStandardError(missing);
    // The window comes up at start-up with the library loaded, so the note does not
    // stop the program: it waits beside the window until it is read.
    auto* note = new QMessageBox(
        QMessageBox::Warning, QStringLiteral("Pelmora"),
        QStringLiteral("Some texture images cannot be read; the organs that wear them are "
                       "drawn without them.\n\n") +
            missing.trimmed(),
        QMessageBox::Ok, this);
    note->setObjectName(QStringLiteral("MissingImages"));
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->open();
}

void CMainFrame::offerRecovery() {
    const std::vector<Autosave::Leftover> leftovers = autosave_->leftovers();
    if (leftovers.empty())
        return;
    const Autosave::Leftover& newest = leftovers.front();
    if (shellPrompts().recoverAutosave(newest.written)) {
        std::string error;
        bool recovered = false;
        loadNamingMissingImages([&] {
            recovered = libraryFileModule().openReadablePart(newest.path.toStdString(), error);
        });
        if (!recovered) {
            // Kept for a later start: the work may still be recovered by hand.
            document_.report(QStringLiteral("Failed to recover the unsaved work.\n\n") +
                             QString::fromStdString(error));
            return;
        }
        document_.newDocument();
        appController().markUnsaved();
        refreshTitle();
    }
    for (const Autosave::Leftover& leftover : leftovers)
        QFile::remove(leftover.path);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(QLatin1String(kGeometryKey), saveGeometry());
    settings.setValue(QLatin1String(kSplitterKey), splitter_->saveState());
    overallFrame_->hide();
    if (help_)
        help_->hide();
    QMainWindow::closeEvent(event);
}

void CMainFrame::showHelp() {
    if (!help_)
        help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
}

void CMainFrame::showAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}
