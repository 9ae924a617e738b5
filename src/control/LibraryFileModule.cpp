#include "control/LibraryFileModule.h"

#include "control/AppController.h"
#include "control/FloralDiagramSvg.h"
#include "control/GltfImages.h"
#include "control/LibraryBrowser.h"
#include "control/ModeHost.h"
#include "control/Singleton.h"
#include "library/LibraryReaders.h"
#include "math/FileText.h"
#include "math/TextReader.h"
#include "model/FlowerObjectNode.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ObjWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <memory>

namespace {

// Hands what the reader builds to the controller.
class ControllerSink final : public LibrarySink {
public:
    explicit ControllerSink(AppController& controller) : controller_(controller) {}
    void addObject(std::unique_ptr<FlowerObjectNode> object, int category) override {
        controller_.addToLibrary(std::move(object), category);
    }
    void addScene(std::unique_ptr<SceneRoot> scene) override {
        controller_.addScene(std::move(scene));
    }

private:
    AppController& controller_;
};

// Drops what the reader builds: a trial read only asks how far the text reads.
class DiscardingSink final : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode>, int) override {}
    void addScene(std::unique_ptr<SceneRoot>) override {}
};

} // namespace

LibraryContents LibraryFileModule::libraryContents() const {
    const AppController& controller = appController();
    const LibraryBrowser& browser = libraryBrowser();
    LibraryContents contents;
    for (int category = kCategoryPrimitive; category < kCategoryCount; ++category)
        for (int id : browser.ids(category))
            if (const FlowerObjectNode* object = controller.findObject(id))
                contents.objects[category].push_back(object);
    for (int id : browser.ids(kCategoryScene))
        if (const SceneRoot* scene = controller.findSceneObject(id))
            contents.scenes.push_back(scene);
    return contents;
}

bool LibraryFileModule::saveLibrary(const std::string& path, std::string& error) const {
    return saveLibraryFile(path, libraryContents(), appController().textures(), error);
}

LibraryLoadResult LibraryFileModule::loadLibrary(const std::string& text,
                                                 const std::string& libraryFolder) const {
    TextReader in(text);
    AppController& controller = appController();
    ControllerSink sink(controller);
    return readLibrary(in, libraryReaders(), controller.readContext(libraryFolder), sink);
}

bool LibraryFileModule::readLibraryText(const std::string& path, std::string& text,
                                        std::string& error) {
    if (!readWholeFile(path, text, error))
        return false;
    if (!hasLibraryHeader(text)) {
        error = path + ": not a Pelmora library (it does not begin with \"Pelmora File\")";
        return false;
    }
    return true;
}

LibraryFileModule::OpenOutcome LibraryFileModule::openLibrary(const std::string& path,
                                                              std::string& error) const {
    std::string text;
    if (!readLibraryText(path, text, error))
        return OpenOutcome::Refused;
    // A trial read with ids of its own: the controller's counter and library stay
    // untouched until the file is known to be whole.
    LibraryLoadResult trial;
    {
        IdCounter trialIds;
        const AppController& controller = appController();
        const ReadContext context{trialIds, controller.settings().parameters, controller.textures(),
                                  libraryFolderOf(path)};
        TextReader in(text);
        DiscardingSink sink;
        trial = readLibrary(in, libraryReaders(), context, sink);
    }
    if (!trial.ok()) {
        error = path + ": " + trial.message;
        return trial.objectsAdded + trial.scenesAdded > 0 ? OpenOutcome::Damaged
                                                          : OpenOutcome::Refused;
    }
    replaceLibrary(path, text);
    return OpenOutcome::Opened;
}

bool LibraryFileModule::openReadablePart(const std::string& path, std::string& error) const {
    std::string text;
    if (!readLibraryText(path, text, error))
        return false;
    replaceLibrary(path, text);
    return true;
}

void LibraryFileModule::newLibrary() const {
    clearLibrary();
    returnToPlantCreation();
}

void LibraryFileModule::clearLibrary() const {
    AppController& controller = appController();
    controller.resetAll();
    if (ModeHost* modes = controller.modeHost())
        modes->forgetSceneInteraction();
}

void LibraryFileModule::replaceLibrary(const std::string& path, const std::string& text) const {
    clearLibrary();
    loadLibrary(text, libraryFolderOf(path));
    returnToPlantCreation();
}

std::vector<std::string> LibraryFileModule::startupLibraryPaths() {
    std::vector<std::string> paths{kStartupFileName};
    // The installed places are known only to a running application.
    if (!QCoreApplication::instance())
        return paths;
    // The user's own library comes before the starter library the program ships,
    // which sits beside the program in a build tree and under share/ when installed.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!data.isEmpty())
        paths.push_back(QDir(data).filePath(kStartupFileName).toStdString());
    const QDir program(QCoreApplication::applicationDirPath());
    paths.push_back(program.filePath(kStartupFileName).toStdString());
    paths.push_back(
        QDir::cleanPath(program.filePath(QStringLiteral("../share/pelmora/") + kStartupFileName))
            .toStdString());
    return paths;
}

bool LibraryFileModule::loadStartupLibrary() const {
    for (const std::string& path : startupLibraryPaths()) {
        std::string text, error;
        if (!readWholeFile(path, text, error))
            continue;
        appController().restartHistory();
        loadLibrary(text, libraryFolderOf(path));
        returnToPlantCreation();
        return true;
    }
    return false;
}

void LibraryFileModule::returnToPlantCreation() const {
    AppController& controller = appController();
    controller.enterCreationMode(kModeComposite);
    controller.commit();
}

namespace {

// The object the object commands act on; null, with `error` saying so, when there
// is none.
FlowerObjectNode* exportTarget(std::string& error) {
    FlowerObjectNode* target = appController().targetObject();
    if (!target)
        error = "there is no object to export";
    return target;
}

} // namespace

bool LibraryFileModule::exportFocusObj(const std::string& chosen, bool singleSurfaces,
                                       std::string& error) const {
    FlowerObjectNode* target = exportTarget(error);
    return target &&
           exportObjFiles(*target, chosen, singleSurfaces, appController().textures(), error);
}

bool LibraryFileModule::exportFocusGltf(const std::string& chosen, const GltfBloom& bloom,
                                        std::string& error) const {
    const FlowerObjectNode* target = exportTarget(error);
    return target && exportGltfFile(*target, chosen, gltfImageFromFile,
                                    appController().textures(), error, nullptr, bloom);
}

bool LibraryFileModule::exportFocusDiagram(const std::string& chosen, std::string& error) const {
    const FlowerTorusNode* flower = asTorus(appController().targetObject());
    if (!flower) {
        error = "the object is not a flower head";
        return false;
    }
    return writeFloralDiagramSvg(*flower, chosen, error);
}

LibraryFileModule& libraryFileModule() {
    return singleton<LibraryFileModule>();
}
