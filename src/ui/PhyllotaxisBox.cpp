#include "ui/PhyllotaxisBox.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

PhyllotaxisBox::PhyllotaxisBox(const QString& spiralCaption, QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    kind_ = new QComboBox;
    kind_->setObjectName(QStringLiteral("Phyllotaxis"));
    kind_->addItems({spiralCaption, QStringLiteral("distichous"), QStringLiteral("opposite"),
                     QStringLiteral("decussate"), QStringLiteral("whorled")});
    divergence_ = new QDoubleSpinBox;
    divergence_->setObjectName(QStringLiteral("Divergence"));
    divergence_->setRange(1.0, 359.0);
    divergence_->setDecimals(1);
    divergence_->setSuffix(QStringLiteral(" \u00b0"));
    divergence_->setValue(Phyllotaxis::kGoldenDivergence);
    perWhorl_ = new QSpinBox;
    perWhorl_->setObjectName(QStringLiteral("PerWhorl"));
    perWhorl_->setRange(2, 12);
    perWhorl_->setValue(Phyllotaxis{}.perWhorl);
    form->addRow(QStringLiteral("Phyllotaxis"), kind_);
    form->addRow(QStringLiteral("Divergence angle"), divergence_);
    form->addRow(QStringLiteral("Per whorl"), perWhorl_);
    showKind();
    const auto notify = [this] {
        if (onChange_)
            onChange_();
    };
    connect(kind_, &QComboBox::currentIndexChanged, this, [this, notify] {
        showKind();
        notify();
    });
    connect(divergence_, &QDoubleSpinBox::valueChanged, this, notify);
    connect(perWhorl_, &QSpinBox::valueChanged, this, notify);
}

Phyllotaxis PhyllotaxisBox::phyllotaxis() const {
    Phyllotaxis chosen;
    chosen.kind = static_cast<PhyllotaxisKind>(kind_->currentIndex());
    chosen.divergenceDegrees = divergence_->value();
    chosen.perWhorl = perWhorl_->value();
    return chosen;
}

void PhyllotaxisBox::showKind() {
    const auto kind = static_cast<PhyllotaxisKind>(kind_->currentIndex());
    divergence_->setEnabled(kind == PhyllotaxisKind::Spiral);
    perWhorl_->setEnabled(kind == PhyllotaxisKind::Whorled);
}
