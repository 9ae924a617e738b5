#include "ui/CommandSet.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectComposite.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerTorusNode.h"
#include "organs/OrganTexturing.h"
#include "ui/AnimatedFlowerDlg.h"
#include "ui/AutomaticRotation.h"
#include "ui/CMainFrame.h"
#include "ui/CPelmoraView.h"
#include "ui/CommandIds.h"
#include "ui/FDParameterDlg.h"
#include "ui/InflorescenceDlg.h"
#include "ui/LeafArrangementDlg.h"
#include "ui/ParameterDlg.h"
#include "ui/TextureCommands.h"
#include "ui/TimeDlg.h"
#include "ui/ViewManager.h"
#include "ui/WindowIcons.h"

#include <QAction>
#include <QColorDialog>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <cmath>

namespace {

AppController& controller() {
    return appController();
}

TOGL& mainContext() {
    return *viewManager().mainContext();
}

int mode() {
    return controller().mode();
}

EditorSettings& settings() {
    return controller().settings();
}

SceneEdits& sceneEdits() {
    return controller().sceneEdits();
}

bool modeIn(std::initializer_list<int> modes) {
    for (int m : modes)
        if (mode() == m)
            return true;
    return false;
}

constexpr const char* kUndoCaption = "Undo\tCtrl+Z(&U)";
constexpr const char* kRedoCaption = "Redo\tCtrl+Y(&R)";

// "Undo Bend petal", with the shortcut and mnemonic of the plain caption.
QString stepCaption(const char* verb, const std::string& step, const char* tail) {
    return QString::fromUtf8(verb) + QLatin1Char(' ') + QString::fromStdString(step) +
           QString::fromUtf8(tail);
}

CommandState enabled() {
    return {};
}

CommandState disabled() {
    return {false, false};
}

CommandState checkedWhen(bool on) {
    return {true, on};
}

// The object commands act on the focus in a scene mode, else on the work object.
CommandState whenTargetExists() {
    return controller().targetObject() ? enabled() : disabled();
}

// The arrangements by rule act on a plant in plant editing.
CommandState whenEditingAPlant() {
    return mode() == kModeCompositeModify && asComposite(controller().workObject()) ? enabled()
                                                                                    : disabled();
}

// A modeless dialog hidden and shown again: it comes up in front wherever it was.
void bringUp(QWidget& dialog) {
    dialog.hide();
    dialog.show();
    dialog.raise();
}

QColor toColour(const Rgba& c) {
    return QColor(static_cast<int>(std::lround(c.r * 255.0f)),
                  static_cast<int>(std::lround(c.g * 255.0f)),
                  static_cast<int>(std::lround(c.b * 255.0f)));
}

// A material colour from a chosen colour: each channel divided by `divisor`, opaque.
Rgba materialPart(const QColor& chosen, double divisor) {
    return {static_cast<float>(chosen.red() / divisor),
            static_cast<float>(chosen.green() / divisor),
            static_cast<float>(chosen.blue() / divisor), 1.0f};
}

} // namespace

CommandSet::CommandSet(CMainFrame& frame)
    : QObject(&frame), frame_(frame), rotation_(new AutomaticRotation(this)) {
    addFrameworkCommands();
    addViewCommands();
    addToolCommands();
    addColourCommands();
    addLibraryCommands();
    addDisplayCommands();
    addCameraCommands();
}

CommandSet::~CommandSet() = default;

QAction* CommandSet::action(int id) const {
    auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second.action;
}

void CommandSet::updateAll() {
    statesCurrent_ = true;
    for (auto& [id, command] : commands_) {
        const CommandState state = command.rule();
        command.action->setEnabled(state.enabled);
        if (command.action->isCheckable())
            command.action->setChecked(state.checked);
    }
    const UndoHistory& history = controller().history();
    action(kCmdEditUndo)
        ->setText(history.canUndo() ? stepCaption("Undo", history.undoName(), "\tCtrl+Z(&U)")
                                    : QString::fromUtf8(kUndoCaption));
    action(kCmdEditRedo)
        ->setText(history.canRedo() ? stepCaption("Redo", history.redoName(), "\tCtrl+Y(&R)")
                                    : QString::fromUtf8(kRedoCaption));
}

void CommandSet::run(int id) {
    auto it = commands_.find(id);
    if (it == commands_.end() || !it->second.rule().enabled)
        return;
    // What the command does starts from where a camera flight under way would end.
    controller().landCameraFlight();
    statesCurrent_ = false;
    it->second.handler();
    controller().commit();
    // What the commit published brought the commands up to date through the window's
    // commit observer; a command that published nothing (a tool bar shown, the z
    // direction) brings them up to date here.
    if (!statesCurrent_)
        updateAll();
}

void CommandSet::add(int id, const char* caption, const char* hint, std::function<void()> handler,
                     std::function<CommandState()> rule, bool checkable) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setCheckable(checkable);
    action->setData(id);
    const QString text = QString::fromUtf8(hint);
    action->setStatusTip(text);
    action->setToolTip(text);
    const QIcon icon = commandIcon(id);
    if (!icon.isNull())
        action->setIcon(icon);
    connect(action, &QAction::triggered, this, [this, id] { run(id); });
    commands_[id] = {action, std::move(handler), std::move(rule)};
}

void CommandSet::addFrameworkCommands() {
    add(
        kCmdFileNew, "New\tCtrl+N(&N)", "Start a new, empty library",
        [this] { frame_.newDocument(); }, enabled);
    action(kCmdFileNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    add(
        kCmdFileOpen, "Open...\tCtrl+O(&O)", "Open an existing library",
        [this] { frame_.openDocument(); }, enabled);
    action(kCmdFileOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    add(
        kCmdFileSave, "Save\tCtrl+S(&S)", "Save the library", [this] { frame_.saveDocument(); },
        enabled);
    action(kCmdFileSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    add(
        kCmdFileSaveAs, "Save as...(&A)", "Save the library under a new name",
        [this] { frame_.saveDocumentAs(); }, enabled);
    add(
        kCmdSaveObj, "Save focusing object as OBJ",
        "Export the current object as a Wavefront OBJ mesh with its MTL materials",
        [this] { frame_.exportObj(); }, whenTargetExists);
    add(
        kCmdSaveGltf, "Save focusing object as glTF",
        "Export the current object as glTF 2.0 with its structure, materials and textures",
        [this] { frame_.exportGltf(); }, whenTargetExists);
    add(
        kCmdSaveDiagramSvg, "Save floral diagram as SVG",
        "Save the floral diagram of the current flower head as an SVG picture",
        [this] { frame_.exportDiagram(); },
        [] { return asTorus(controller().targetObject()) ? enabled() : disabled(); });
    add(
        kCmdAppExit, "Exit(&X)", "Quit Pelmora", [this] { frame_.close(); }, enabled);
    add(
        kCmdEditUndo, kUndoCaption, "Take back the last change", [] { controller().undo(); },
        [] { return controller().history().canUndo() ? enabled() : disabled(); });
    add(
        kCmdEditRedo, kRedoCaption, "Make the change taken back again", [] { controller().redo(); },
        [] { return controller().history().canRedo() ? enabled() : disabled(); });
    add(
        kCmdAppAbout, "About Pelmora...(&A)", "Program information and version",
        [this] { frame_.showAbout(); }, enabled);
    add(
        kCmdHelpGuide, "Pelmora Help", "The user guide: what each mode expects and does",
        [this] { frame_.showHelp(); }, enabled);
    action(kCmdHelpGuide)->setShortcut(QKeySequence(Qt::Key_F1));
}

void CommandSet::addViewCommands() {
    add(
        kCmdViewToolBar, "Tool bar\t(&T)", "Show or hide the tool bars",
        [this] {
            const bool show = !frame_.toolsBar()->isVisible();
            frame_.toolsBar()->setVisible(show);
            frame_.viewBar()->setVisible(show);
        },
        [this] { return checkedWhen(frame_.toolsBar()->isVisible()); }, true);
    add(
        kCmdViewStatusBar, "Status bar\t(&S)", "Show or hide the status bar",
        [this] { frame_.statusBar()->setVisible(!frame_.statusBar()->isVisible()); },
        [this] { return checkedWhen(frame_.statusBar()->isVisible()); }, true);
    add(
        kCmdShowParameterDlg, "Show Parameter Dialog", "Show the tessellation parameters",
        [] { bringUp(viewManager().parameterDialog()); }, enabled);
    add(
        kCmdShowFloralDiagramDlg, "Show Floral Diagram Dialog", "Show the floral diagram",
        [] { bringUp(viewManager().floralDiagramDialog()); }, enabled);
    add(
        kCmdMakeInflorescence, "Make inflorescence...",
        "Place flowers along the plant's main axis by a botanical type",
        [] { bringUp(viewManager().inflorescenceDialog()); }, whenEditingAPlant);
    add(
        kCmdArrangeLeaves, "Arrange leaves...",
        "Place the selected leaf along the plant's main axis by a phyllotaxis",
        [] { bringUp(viewManager().leafArrangementDialog()); }, whenEditingAPlant);
    add(
        kCmdShowOverallWindow, "Show Overall Window", "Show or hide the overall window",
        [this] { frame_.toggleOverallWindow(); },
        [this] { return checkedWhen(frame_.overallWindowVisible()); }, true);
}

void CommandSet::addToolCommands() {
    add(
        kCmdEyeInit, "EyeInit", "Bring both cameras home",
        [] {
            mainContext().resetCamera();
            viewManager().overallContext()->resetCamera();
            controller().noteChange(kChangeMainView | kChangeOverallView);
        },
        enabled);
    // Whatever is in focus, a plant or a part of one, the whole scene is above it.
    const auto levelAbove = [] {
        return CommandState{isSceneMode(mode()) && controller().focus() != nullptr, false};
    };
    add(
        kCmdFocusUp, "Move focus up", "Focus the object that holds the focus",
        [] { controller().focusUp(true); }, levelAbove);
    add(
        kCmdFocusToRoot, "Move focus to root", "Focus the whole scene",
        [] { controller().focusToRoot(true); }, levelAbove);

    add(
        kCmdSceneCreation, "Scene Creation", "Start a new scene",
        [] { controller().createScene(); },
        [] {
            return checkedWhen(modeIn({kModeSceneSketch, kModeSceneModify}));
        },
        true);
    add(
        kCmdCompositeCreation, "Composite Creation", "Draw a new plant from the ground up",
        [] { controller().enterCreationMode(kModeComposite); },
        [] { return checkedWhen(mode() == kModeComposite); }, true);
    add(
        kCmdFlowerCreation, "Flower Creation", "Make a new flower head",
        [] {
            controller().createFlower();
            bringUp(viewManager().floralDiagramDialog());
        },
        [] { return checkedWhen(mode() == kModeTorusModify); }, true);
    add(
        kCmdPetalCreation, "Petal Creation", "Draw a petal or leaf from three strokes",
        [] { controller().enterCreationMode(kModePetal); },
        [] {
            return checkedWhen(modeIn({kModePetal, kModePetalModify}));
        },
        true);
    add(
        kCmdPistilCreation, "Pistil Creation", "Draw a pistil from its outline",
        [] { controller().enterCreationMode(kModePistil); },
        [] {
            return checkedWhen(modeIn({kModePistil, kModePistilModify}));
        },
        true);
    add(
        kCmdStamenCreation, "Stamen Creation", "Draw a stamen from its filament",
        [] { controller().enterCreationMode(kModeStamen); },
        [] {
            return checkedWhen(modeIn({kModeStamen, kModeStamenModify}));
        },
        true);

    const auto tool = [](int t) {
        return [t] {
            settings().drawingTool = t;
            controller().noteChange(kChangeTool);
        };
    };
    const auto toolIs = [](int t) { return settings().drawingTool == t; };
    const auto inDrawingModes = [toolIs](int t) {
        return [toolIs, t] { return CommandState{takesDrawingTools(mode()), toolIs(t)}; };
    };
    add(
        kCmdToolCursor, "Cursor", "Pick and turn parts", tool(kToolCursor),
        [toolIs] {
            if (!takesDrawingTools(mode()) || mode() == kModeScenePetal)
                return disabled();
            return checkedWhen(toolIs(kToolCursor));
        },
        true);
    add(kCmdToolBrowsing, "Browsing", "Pan the view with the left button", tool(kToolBrowsing),
        inDrawingModes(kToolBrowsing), true);
    add(
        kCmdToolEraser, "Eraser", "Erase parts", tool(kToolEraser),
        [toolIs] {
            return CommandState{takesDrawingTools(mode()) &&
                                    !modeIn({kModeScenePetal, kModeScenePetalModify}),
                                toolIs(kToolEraser)};
        },
        true);
    add(kCmdToolPen, "Pen", "Draw strokes", tool(kToolPen), inDrawingModes(kToolPen), true);
    add(
        kCmdToolAxisModify, "Axis Modify", "Re-sketch an axis", tool(kToolAxisModify),
        [toolIs] {
            return CommandState{mode() == kModeSceneModify, toolIs(kToolAxisModify)};
        },
        true);
    add(
        kCmdLeafOrPetalCreation, "Leaf or Petal creation", "Draw a leaf or petal onto the focus",
        [] { sceneEdits().startPetalOnFocus(); },
        [] {
            return CommandState{sceneEdits().focusTakesPetal() &&
                                    modeIn({kModeSceneModify, kModeSceneTorus}),
                                false};
        });
    add(
        kCmdBranchBillboard, "Branch billboard creation", "Draw a branch billboard", [] {},
        disabled);
    add(
        kCmdFlowerBillboard, "Flower billboard creation", "Draw a flower billboard", [] {},
        disabled);
    add(
        kCmdLeafBillboard, "Leaf or petal billboard creation", "Draw a leaf or petal billboard",
        [] {}, disabled);

    add(
        kCmdStoreCurrent, "Store Current object", "Store the current object in the library",
        [this] {
            if (controller().storeCurrent())
                frame_.confirm(QStringLiteral("Stored in the library"));
        },
        [] { return controller().storable() ? enabled() : disabled(); });
    add(
        kCmdLoadFromLibrary, "Load object from library",
        "Put the selected library object in place of the focus",
        [] { sceneEdits().loadSelectedIntoFocus(); },
        [] {
            return CommandState{isSceneMode(mode()) && sceneEdits().canLoadSelectedIntoFocus(),
                                false};
        });
    // The replacements act on a sketch that the scene editing mode has in focus, and
    // each organ only where its kind can take the sketch's place.
    const auto sketchReplaceableBy = [](int kind) {
        return [kind] {
            return CommandState{
                mode() == kModeSceneModify && sceneEdits().sketchReplaceableBy(kind), false};
        };
    };
    add(
        kCmdReplaceWithStamen, "Replace Sketch with Stamen", "Replace the sketch by a stamen",
        [] { sceneEdits().replaceSketchWithStamen(); }, sketchReplaceableBy(kKindStamen));
    add(
        kCmdReplaceWithFlower, "Replace Sketch with Flower", "Replace the sketch by a flower",
        [] { sceneEdits().replaceSketchWithFlower(); }, sketchReplaceableBy(kKindTorus));
    add(
        kCmdReplaceWithLeaf, "Replace Sketch with Leaf or petal",
        "Replace the sketch by a leaf or petal", [] { sceneEdits().replaceSketchWithPetal(); },
        sketchReplaceableBy(kKindPetal));
    add(
        kCmdReplaceWithStem, "Replace Sketch with Stem", "Replace the sketch by a stem",
        [] { sceneEdits().replaceSketchWithStem(); }, sketchReplaceableBy(kKindStem));
}

void CommandSet::addColourCommands() {
    add(
        kCmdColorBackground, "Color of Background", "Choose the main view's background colour",
        [this] {
            TOGL& gl = mainContext();
            QColor chosen;
            if (chooseColour(toColour(gl.clearColour()), chosen))
                gl.setClearColour({static_cast<float>(chosen.red() / 255.0),
                                   static_cast<float>(chosen.green() / 255.0),
                                   static_cast<float>(chosen.blue() / 255.0), 0.5f});
            controller().noteChange(kChangeMainView);
        },
        enabled);
    add(
        kCmdColorObject, "Color of Current Object", "Choose the current object's colour",
        [this] {
            FlowerObjectNode* target = controller().targetObject();
            QColor chosen;
            if (!target || !chooseColour(toColour(target->diffuse), chosen))
                return;
            target->setMaterial(materialPart(chosen, 255.0), materialPart(chosen, 500.0),
                                materialPart(chosen, 500.0), 128.0f);
            controller().noteChange(controller().targetChange(), "Colour object");
        },
        whenTargetExists);
    add(
        kCmdColorAnther, "Color of Current stamen's Anther", "Choose the anther's colour",
        [this] {
            auto* stamen = dynamic_cast<FlowerStamenNode*>(controller().targetObject());
            QColor chosen;
            if (!stamen || !chooseColour(toColour(stamen->antherMaterial.diffuse), chosen))
                return;
            stamen->setAntherMaterial(materialPart(chosen, 500.0), materialPart(chosen, 255.0),
                                      materialPart(chosen, 500.0), 128.0f);
            controller().noteChange(controller().targetChange(), "Colour anther");
        },
        [] {
            return dynamic_cast<FlowerStamenNode*>(controller().targetObject()) ? enabled()
                                                                                : disabled();
        });
    add(
        kCmdColorSketch, "Color of Sketch", "Choose the colour of new sketch strokes",
        [this] {
            Rgba& sketch = settings().sketchColour;
            QColor chosen;
            if (!chooseColour(toColour(sketch), chosen))
                return;
            sketch.r = static_cast<float>(chosen.red() / 255.0);
            sketch.g = static_cast<float>(chosen.green() / 255.0);
            sketch.b = static_cast<float>(chosen.blue() / 255.0);
        },
        enabled);
}

void CommandSet::addLibraryCommands() {
    const auto show = [](int category) {
        return [category] {
            libraryBrowser().setCategory(category);
            controller().noteChange(kChangeLibraryView);
        };
    };
    const auto shown = [](int category) {
        return [category] { return checkedWhen(libraryBrowser().category() == category); };
    };
    add(kCmdSceneLibrary, "Scene Library", "Show the stored scenes", show(kCategoryScene),
        shown(kCategoryScene), true);
    add(kCmdCompositeLibrary, "Composite Library", "Show the stored plants",
        show(kCategoryComposite), shown(kCategoryComposite), true);
    add(kCmdFlowerLibrary, "Flower Library", "Show the stored flowers", show(kCategoryFlower),
        shown(kCategoryFlower), true);
    add(kCmdLeafLibrary, "Leaf Library", "Show the stored leaves and petals", show(kCategoryLeaf),
        shown(kCategoryLeaf), true);
    add(kCmdPrimitiveLibrary, "Primitive Library", "Show the stored stems, stamens and pistils",
        show(kCategoryPrimitive), shown(kCategoryPrimitive), true);
}

void CommandSet::addDisplayCommands() {
    // A display switch: the command toggles it (some show it from the next picture
    // on), the check mark shows it.
    const auto addSwitch = [this](int id, const char* caption, const char* hint, bool& on,
                                  bool redraw) {
        const auto flip = [&on, redraw] {
            on = !on;
            if (redraw)
                controller().noteChange(kChangeMainView);
        };
        add(
            id, caption, hint, flip, [&on] { return checkedWhen(on); }, true);
    };
    EditorSettings& shown = settings();
    addSwitch(kCmdShowControlPoints, "Show Control Points", "Show the editable control points",
              shown.showControlPoints, false);
    addSwitch(kCmdShowSketch, "Show Sketch", "Show the free sketches", shown.display.showSketch,
              true);
    addSwitch(kCmdShowWireFrame, "Show Wire Frame", "Draw objects as wire frames",
              shown.showWireFrame, true);
    addSwitch(kCmdShowBillboard, "Show Billboard", "Show the billboards",
              shown.display.showBillboard, true);
    addSwitch(kCmdShowFloor, "Show floor", "Show the floor and the shadows on it", shown.showFloor,
              false);

    const auto zRule = [](int direction) {
        return [direction] {
            return CommandState{!modeIn({kModeTorusModify, kModePetal, kModeStamen}),
                                settings().zDirection == direction};
        };
    };
    add(
        kCmdZDirectionUp, "z direction Up", "Attach objects upright",
        [] { settings().zDirection = 0; }, zRule(0), true);
    add(
        kCmdZDirectionHere, "z direction Here", "Attach objects facing the viewer",
        [] { settings().zDirection = 1; }, zRule(1), true);

    add(
        kCmdTextureToObject, "Texture to current object",
        "Give the current object a front and a back texture",
        [this] { textureTargetObject(frame_); }, whenTargetExists);
    // A flower head being made takes its whorls' textures as one in a scene does.
    const auto textureGroup = [this](OrganGroup group) {
        return [this, group] { textureTargetOrgans(frame_, group); };
    };
    add(kCmdTextureToLeaves, "Texture to leaves", "Texture the leaves of the current object",
        textureGroup(OrganGroup::Leaves), whenTargetExists);
    add(kCmdTextureToPetals, "Texture to petals", "Texture the petals of the current object",
        textureGroup(OrganGroup::Petals), whenTargetExists);
    add(kCmdTextureToStem, "Texture to stem", "Texture the stems of the current object",
        textureGroup(OrganGroup::Stems), whenTargetExists);
    add(kCmdTextureToSepals, "Texture to sepals", "Texture the sepals of the current object",
        textureGroup(OrganGroup::Sepals), whenTargetExists);

    add(
        kCmdAutomaticRotation, "Automatic camera Rotation",
        "Turn the camera once around the view; a click stops it",
        [this] { rotation_->toggle(frame_.mainView()); }, enabled);
    add(
        kCmdImportAnimatedFlower, "Import Animated Flower...",
        "Let the flower head being edited open from a bud modelled as a flower head of its own",
        [this] { (new AnimatedFlowerDlg(&frame_))->open(); },
        [] { return asTorus(controller().targetObject()) ? enabled() : disabled(); });
    add(
        kCmdShowTimeDialog, "Show Time Dialog", "Play the flowers' bloom over time",
        [] { bringUp(viewManager().timeDialog()); }, enabled);
}

void CommandSet::addCameraCommands() {
    static constexpr const char* kTrackballKey = "Camera/TrackballOrbit";
    const auto styleFor = [](bool trackball) {
        return trackball ? OrbitStyle::Trackball : OrbitStyle::Turntable;
    };
    viewManager().setOrbitStyle(
        styleFor(QSettings().value(QLatin1String(kTrackballKey), false).toBool()));
    add(
        kCmdTrackballOrbit, "Trackball Orbit",
        "Turn the camera about its own axes, letting the horizon tilt, instead of keeping the "
        "floor level",
        [styleFor] {
            const bool trackball = viewManager().orbitStyle() != OrbitStyle::Trackball;
            viewManager().setOrbitStyle(styleFor(trackball));
            QSettings().setValue(QLatin1String(kTrackballKey), trackball);
        },
        [] { return checkedWhen(viewManager().orbitStyle() == OrbitStyle::Trackball); }, true);
}

QColorDialog& CommandSet::colourDialog() {
    if (!colourDialog_)
        colourDialog_ = new QColorDialog(&frame_);
    return *colourDialog_;
}

bool CommandSet::chooseColour(const QColor& initial, QColor& chosen) {
    QColorDialog& dialog = colourDialog();
    dialog.setCurrentColor(initial);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.selectedColor();
    return true;
}
