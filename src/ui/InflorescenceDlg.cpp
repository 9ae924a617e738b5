#include "ui/InflorescenceDlg.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "organs/FlowerTorusNode.h"
#include "ui/PhyllotaxisBox.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

QDoubleSpinBox* percentBox(const QString& name, double minimum, double maximum, double value) {
    auto* spin = new QDoubleSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setDecimals(0);
    spin->setSuffix(QStringLiteral(" %"));
    spin->setValue(value);
    return spin;
}

} // namespace

InflorescenceDlg::InflorescenceDlg(QWidget* parent)
    : ArrangementDlg(QStringLiteral("Make Inflorescence"), "Make inflorescence", parent) {
    const InflorescenceSettings initial;
    type_ = new QComboBox;
    type_->setObjectName(QStringLiteral("Type"));
    type_->addItems({QStringLiteral("raceme"), QStringLiteral("spike"), QStringLiteral("umbel"),
                     QStringLiteral("corymb"), QStringLiteral("panicle"),
                     QStringLiteral("cyme (dichasium)"), QStringLiteral("head (capitulum)")});
    flowers_ = new QSpinBox;
    flowers_->setObjectName(QStringLiteral("FlowerCount"));
    flowers_->setRange(1, InflorescenceSettings::kMostFlowers);
    flowers_->setValue(initial.flowers);
    phyllotaxis_ = new PhyllotaxisBox(QStringLiteral("spiral"));
    pedicelLength_ = percentBox(QStringLiteral("PedicelLength"), 0.0, 100.0,
                                initial.pedicelLength * 100.0);
    pedicelLength_->setToolTip(QStringLiteral("The lowest pedicel, as a share of the axis length"));
    pedicelChange_ = percentBox(QStringLiteral("PedicelChange"), 10.0, 300.0,
                                initial.pedicelChange * 100.0);
    pedicelChange_->setToolTip(QStringLiteral("The highest pedicel's length over the lowest's"));
    flowerSize_ = percentBox(QStringLiteral("FlowerSize"), 1.0, 100.0, initial.flowerSize * 100.0);
    flowerSize_->setToolTip(QStringLiteral("The lowest flower's width, as a share of the axis length"));
    sizeChange_ = percentBox(QStringLiteral("SizeChange"), 10.0, 300.0, initial.sizeChange * 100.0);
    sizeChange_->setToolTip(QStringLiteral("The highest flower's size over the lowest's"));

    form()->addRow(QStringLiteral("Type"), type_);
    form()->addRow(QStringLiteral("Flowers"), flowers_);
    form()->addRow(phyllotaxis_);
    form()->addRow(QStringLiteral("Pedicel length"), pedicelLength_);
    form()->addRow(QStringLiteral("Pedicel change to the tip"), pedicelChange_);
    form()->addRow(QStringLiteral("Flower size"), flowerSize_);
    form()->addRow(QStringLiteral("Flower size change to the tip"), sizeChange_);
    showType();

    connect(type_, &QComboBox::currentIndexChanged, this, [this] {
        showType();
        valueChanged();
    });
    connect(flowers_, &QSpinBox::valueChanged, this, [this] { valueChanged(); });
    phyllotaxis_->setOnChange([this] { valueChanged(); });
    for (QDoubleSpinBox* spin : {pedicelLength_, pedicelChange_, flowerSize_, sizeChange_})
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { valueChanged(); });
}

InflorescenceSettings InflorescenceDlg::settings() const {
    InflorescenceSettings chosen;
    chosen.type = static_cast<InflorescenceType>(type_->currentIndex());
    chosen.flowers = flowers_->value();
    chosen.phyllotaxis = phyllotaxis_->phyllotaxis();
    chosen.pedicelLength = pedicelLength_->value() / 100.0;
    chosen.pedicelChange = pedicelChange_->value() / 100.0;
    chosen.flowerSize = flowerSize_->value() / 100.0;
    chosen.sizeChange = sizeChange_->value() / 100.0;
    return chosen;
}

void InflorescenceDlg::showType() {
    const auto type = static_cast<InflorescenceType>(type_->currentIndex());
    const bool sessile = type == InflorescenceType::Spike || type == InflorescenceType::Head;
    pedicelLength_->setEnabled(!sessile);
    pedicelChange_->setEnabled(!sessile && type != InflorescenceType::Corymb);
    // A cyme forks in opposite pairs whatever is chosen.
    phyllotaxis_->setEnabled(type != InflorescenceType::Cyme);
}

const FlowerObjectNode* InflorescenceDlg::selectedFlower() {
    const FlowerObjectNode* selected = appController().findObject(libraryBrowser().selectedId());
    return asTorus(selected);
}

void InflorescenceDlg::showFlower() {
    showSource(selectedFlower() ? QStringLiteral("Flower: the flower head selected in the library.")
                                : QStringLiteral("Flower: a plain flower head (select a flower "
                                                 "head in the library to use it)."));
}

void InflorescenceDlg::showEvent(QShowEvent* event) {
    ArrangementDlg::showEvent(event);
    showFlower();
}

bool InflorescenceDlg::arrange(FlowerObjectComposite& plant, std::string&) {
    showFlower();
    AppController& controller = appController();
    const Parameters& parameters = controller.settings().parameters;
    if (const FlowerObjectNode* flower = selectedFlower())
        return buildInflorescence(plant, settings(), *flower, parameters, controller.ids());
    const FlowerTorusNode plain(controller.nextId(), parameters.receptacle);
    return buildInflorescence(plant, settings(), plain, parameters, controller.ids());
}
