#include "ui/ShellPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton fallback) {
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Pelmora"), text,
                                 buttons, fallback);
}

// A file to write, with a check box for one choice under the file list; an empty
// path when cancelled.
std::pair<QString, bool> chooseSaveFileWithOption(const QString& caption, const QString& filter,
                                                  const QString& suffix, const QString& option,
                                                  const QString& optionTip) {
    QFileDialog dialog(QApplication::activeWindow(), caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    // The check box goes into the dialog's own layout, which only Qt's dialog has.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* box = new QCheckBox(option, &dialog);
    box->setToolTip(optionTip);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().front(), box->isChecked()};
}

} // namespace

ShellPrompts::ShellPrompts() {
    saveChanges = [](const QString& name) {
        switch (ask(QStringLiteral("Save changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QMessageBox::Save)) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
        }
    };
    recoverAutosave = [](const QDateTime& when) {
        const QString time = QLocale().toString(when, QLocale::ShortFormat);
        return ask(QStringLiteral("Recover unsaved work from %1?").arg(time),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
    openReadablePart = [](const QString& problem) {
        return ask(QStringLiteral("Failed to open document.\n\n%1\n\nOpen the part that could be "
                                  "read as a new untitled document?")
                       .arg(problem),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    chooseImage = [](const QString& caption, const QString& folder) {
        return QFileDialog::getOpenFileName(
            QApplication::activeWindow(), caption, folder,
            QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp);;All files (*)"), nullptr,
            QFileDialog::ReadOnly);
    };
    chooseSaveFile = [](const QString& caption, const QString& filter, const QString& suggested) {
        QFileDialog dialog(QApplication::activeWindow(), caption, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        static const QRegularExpression firstSuffix(QStringLiteral("\\*\\.(\\w+)"));
        if (const QRegularExpressionMatch suffix = firstSuffix.match(filter); suffix.hasMatch())
            dialog.setDefaultSuffix(suffix.captured(1));
        if (!suggested.isEmpty())
            dialog.selectFile(suggested);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().front();
    };
    chooseObjExport = [] {
        const auto [path, single] = chooseSaveFileWithOption(
            QStringLiteral("Save focusing object as OBJ"), QStringLiteral("Wavefront OBJ (*.obj)"),
            QStringLiteral("obj"), QStringLiteral("Single surfaces"),
            QStringLiteral("Each surface once, with its front material, for renderers that show "
                           "both sides of a face"));
        return ObjExportChoice{path, single};
    };
    chooseGltfExport = [] {
        const auto [path, animate] = chooseSaveFileWithOption(
            QStringLiteral("Save focusing object as glTF"),
            QStringLiteral("glTF binary (*.glb);;glTF with separate files (*.gltf)"),
            QStringLiteral("glb"), QStringLiteral("Animate the bloom"),
            QStringLiteral("The flowers open from their buds, whorl by whorl, over the time "
                           "dialog's playing time"));
        return GltfExportChoice{path, animate};
    };
}

ShellPrompts& shellPrompts() {
    static ShellPrompts prompts;
    return prompts;
}
