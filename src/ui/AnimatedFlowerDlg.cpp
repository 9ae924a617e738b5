#include "ui/AnimatedFlowerDlg.h"

#include "control/AppController.h"
#include "control/BudImport.h"
#include "control/LibraryBrowser.h"
#include "control/Thumbnail.h"
#include "library/LibraryFile.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"
#include "ui/CMainFrame.h"
#include "ui/TimeDlg.h"
#include "ui/ViewManager.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const FlowerTorusNode* editedFlowerHead() {
    return asTorus(appController().targetObject());
}

} // namespace

AnimatedFlowerDlg::AnimatedFlowerDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Import Animated Flower"));
    setAttribute(Qt::WA_DeleteOnClose);
    const FlowerTorusNode* flower = editedFlowerHead();
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(
        QStringLiteral("Flower head %1 will open from the bud you choose: a stored flower head "
                       "with the same slots, its organs as they stand in the bud.")
            .arg(flower ? flower->id : -1));
    note->setWordWrap(true);
    layout->addWidget(note);

    heads_ = new QListWidget;
    heads_->setObjectName(QStringLiteral("Buds"));
    heads_->setViewMode(QListView::IconMode);
    heads_->setIconSize(QSize(kThumbnailSize, kThumbnailSize));
    heads_->setMovement(QListView::Static);
    heads_->setResizeMode(QListView::Adjust);
    heads_->setMinimumSize(4 * (kThumbnailSize + 24), kThumbnailSize + 48);
    const LibraryBrowser& browser = libraryBrowser();
    const auto& tiles = browser.tiles()[kCategoryFlower];
    for (int id : browser.ids(kCategoryFlower)) {
        if (flower && id == flower->id)
            continue;
        auto* item = new QListWidgetItem(QStringLiteral("%1").arg(id));
        if (const auto tile = tiles.find(id); tile != tiles.end())
            item->setIcon(QPixmap::fromImage(tile->second));
        item->setData(Qt::UserRole, id);
        heads_->addItem(item);
    }
    layout->addWidget(heads_);

    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("Message"));
    message_->setWordWrap(true);
    layout->addWidget(message_);

    auto* buttons = new QDialogButtonBox;
    import_ = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    import_->setObjectName(QStringLiteral("Import"));
    forget_ = buttons->addButton(QStringLiteral("Use the Worked-out Bud"),
                                 QDialogButtonBox::ResetRole);
    forget_->setObjectName(QStringLiteral("Forget"));
    forget_->setToolTip(QStringLiteral("Open from the bud worked out from the flower's own organs"));
    forget_->setEnabled(flower && flower->modelledBud);
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(import_, &QPushButton::clicked, this, &AnimatedFlowerDlg::importChosen);
    connect(forget_, &QPushButton::clicked, this, &AnimatedFlowerDlg::forgetBud);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(heads_, &QListWidget::currentRowChanged, this, &AnimatedFlowerDlg::choiceChanged);
    connect(heads_, &QListWidget::itemDoubleClicked, this, &AnimatedFlowerDlg::importChosen);
    if (heads_->count() > 0)
        heads_->setCurrentRow(0);
    else
        message_->setText(QStringLiteral("Store the bud as a flower head of its own first."));
    choiceChanged();
}

int AnimatedFlowerDlg::chosenId() const {
    const QListWidgetItem* item = heads_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void AnimatedFlowerDlg::choiceChanged() {
    const FlowerTorusNode* flower = editedFlowerHead();
    const auto& library = appController().library();
    const auto entry = library.find(chosenId());
    const FlowerTorusNode* bud = entry != library.end() ? asTorus(entry->second.get()) : nullptr;
    std::string mismatch;
    if (flower && bud)
        mismatch = ModelledBud::mismatch(*bud, *flower);
    import_->setEnabled(flower && bud && mismatch.empty());
    if (bud)
        message_->setText(QString::fromStdString(mismatch));
}

void AnimatedFlowerDlg::importChosen() {
    const int budId = chosenId();
    std::string message;
    if (!importModelledBud(budId, message)) {
        message_->setText(QString::fromStdString(message));
        return;
    }
    if (auto* frame = dynamic_cast<CMainFrame*>(parentWidget()))
        frame->confirm(QStringLiteral("Flower head %1 now opens from the bud of flower head %2")
                           .arg(editedFlowerHead()->id)
                           .arg(budId));
    accept();
    // What the user wants next is to see it open.
    TimeDlg& time = viewManager().timeDialog();
    time.show();
    time.raise();
}

void AnimatedFlowerDlg::forgetBud() {
    if (forgetModelledBud())
        forget_->setEnabled(false);
}
