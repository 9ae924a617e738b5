#include "ui/LeafArrangementDlg.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "ui/PhyllotaxisBox.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

LeafArrangementDlg::LeafArrangementDlg(QWidget* parent)
    : ArrangementDlg(QStringLiteral("Arrange Leaves"), "Arrange leaves", parent) {
    const LeafArrangementSettings initial;
    phyllotaxis_ = new PhyllotaxisBox(QStringLiteral("alternate (spiral)"));
    leaves_ = new QSpinBox;
    leaves_->setObjectName(QStringLiteral("LeafCount"));
    leaves_->setRange(1, LeafArrangementSettings::kMostLeaves);
    leaves_->setValue(initial.leaves);
    sizeChange_ = new QDoubleSpinBox;
    sizeChange_->setObjectName(QStringLiteral("SizeChange"));
    sizeChange_->setRange(10.0, 300.0);
    sizeChange_->setDecimals(0);
    sizeChange_->setSuffix(QStringLiteral(" %"));
    sizeChange_->setValue(initial.sizeChange * 100.0);
    sizeChange_->setToolTip(QStringLiteral("The highest leaf's size over the lowest's"));
    angle_ = new QDoubleSpinBox;
    angle_->setObjectName(QStringLiteral("PetioleAngle"));
    angle_->setRange(0.0, 150.0);
    angle_->setDecimals(0);
    angle_->setSuffix(QStringLiteral(" \u00b0"));
    angle_->setValue(initial.petioleAngleDegrees);
    angle_->setToolTip(QStringLiteral("How far each leaf leans away from the stem"));

    form()->addRow(phyllotaxis_);
    form()->addRow(QStringLiteral("Leaves"), leaves_);
    form()->addRow(QStringLiteral("Size change to the tip"), sizeChange_);
    form()->addRow(QStringLiteral("Petiole angle"), angle_);

    phyllotaxis_->setOnChange([this] { valueChanged(); });
    connect(leaves_, &QSpinBox::valueChanged, this, [this] { valueChanged(); });
    for (QDoubleSpinBox* spin : {sizeChange_, angle_})
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { valueChanged(); });
}

LeafArrangementSettings LeafArrangementDlg::settings() const {
    LeafArrangementSettings chosen;
    chosen.phyllotaxis = phyllotaxis_->phyllotaxis();
    chosen.leaves = leaves_->value();
    chosen.sizeChange = sizeChange_->value() / 100.0;
    chosen.petioleAngleDegrees = angle_->value();
    return chosen;
}

const FlowerObjectNode* LeafArrangementDlg::selectedLeaf() {
    const FlowerObjectNode* selected = appController().findObject(libraryBrowser().selectedId());
    return selected && selected->kind == kKindPetal ? selected : nullptr;
}

void LeafArrangementDlg::showLeaf() {
    showSource(selectedLeaf() ? QStringLiteral("Leaf: the leaf selected in the library.")
                              : QStringLiteral("Select a leaf in the library to arrange it."));
}

void LeafArrangementDlg::showEvent(QShowEvent* event) {
    ArrangementDlg::showEvent(event);
    showLeaf();
}

bool LeafArrangementDlg::arrange(FlowerObjectComposite& plant, std::string& message) {
    showLeaf();
    const FlowerObjectNode* leaf = selectedLeaf();
    if (!leaf) {
        message = "Select a leaf in the library first.";
        return false;
    }
    return arrangeLeaves(plant, settings(), *leaf, appController().ids());
}
