#include "ui/TextureCommands.h"

#include "control/AppController.h"
#include "gl/TextureManager.h"
#include "model/FlowerObjectNode.h"
#include "organs/OrganTexturing.h"
#include "ui/CMainFrame.h"
#include "ui/ShellPrompts.h"
#include "ui/ViewManager.h"

#include <QFileInfo>

#include <optional>

namespace {

struct TexturePair {
    int front = -1;
    int back = -1;
};

// Loads one image through the views' texture cache; a failure is reported with the
// file and the reason.
std::optional<int> loadImage(CMainFrame& frame, const QString& path) {
    TextureManager& textures = viewManager().textures();
    // An image that failed before may have been mended since.
    textures.forgetFailures();
    const int index = textures.load(path.toStdString());
    if (index >= 0)
        return index;
    frame.document().report(QStringLiteral("The texture images could not be loaded.\n\n%1: %2")
                                .arg(path, QString::fromStdString(textures.lastFault())));
    return std::nullopt;
}

// The front and the back image, asked for one after the other and loaded; none
// when a dialog is cancelled or an image fails.
std::optional<TexturePair> chooseTexturePair(CMainFrame& frame) {
    ShellPrompts& prompts = shellPrompts();
    const QString front = prompts.chooseImage(QStringLiteral("Front texture"), QString());
    if (front.isEmpty())
        return std::nullopt;
    const QString back =
        prompts.chooseImage(QStringLiteral("Back texture"), QFileInfo(front).absolutePath());
    if (back.isEmpty())
        return std::nullopt;
    const std::optional<int> frontIndex = loadImage(frame, front);
    if (!frontIndex)
        return std::nullopt;
    const std::optional<int> backIndex = loadImage(frame, back);
    if (!backIndex)
        return std::nullopt;
    return TexturePair{*frontIndex, *backIndex};
}

struct GroupNames {
    const char* step;   // the undo step
    const char* organs; // the organs, for the status bar
};

GroupNames namesOf(OrganGroup group) {
    switch (group) {
    case OrganGroup::Leaves:
        return {"Texture leaves", "leaves"};
    case OrganGroup::Petals:
        return {"Texture petals", "petals"};
    case OrganGroup::Stems:
        return {"Texture stem", "stems"};
    case OrganGroup::Sepals:
        return {"Texture sepals", "sepals"};
    }
    return {"Texture organs", "organs"};
}

// The target with the two images chosen for it; null when there is none or the
// choice was cancelled or failed.
FlowerObjectNode* targetWithTextures(CMainFrame& frame, TexturePair& textures) {
    if (!appController().targetObject())
        return nullptr;
    const std::optional<TexturePair> chosen = chooseTexturePair(frame);
    if (!chosen)
        return nullptr;
    textures = *chosen;
    // The dialogs ran events of their own: the target is looked up again.
    return appController().targetObject();
}

} // namespace

void textureTargetObject(CMainFrame& frame) {
    TexturePair textures;
    FlowerObjectNode* target = targetWithTextures(frame, textures);
    if (!target)
        return;
    target->setTexture(true, textures.front, textures.back);
    appController().noteChange(appController().targetChange(), "Texture object");
}

void textureTargetOrgans(CMainFrame& frame, OrganGroup group) {
    TexturePair textures;
    FlowerObjectNode* target = targetWithTextures(frame, textures);
    if (!target)
        return;
    if (textureOrgans(*target, group, textures.front, textures.back) == 0) {
        frame.confirm(QStringLiteral("There are no %1 here to texture.")
                          .arg(QLatin1String(namesOf(group).organs)));
        return;
    }
    appController().noteChange(appController().targetChange(), namesOf(group).step);
}
