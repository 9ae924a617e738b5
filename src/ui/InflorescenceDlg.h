#pragma once

#include "organs/Inflorescence.h"
#include "ui/ArrangementDlg.h"

class FlowerObjectNode;
class PhyllotaxisBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// "Make inflorescence...": places flowers on pedicels along the plant's drawn main
// axis by a botanical type: the type, the number of flowers, the phyllotaxis, the
// pedicel length and how it changes up the axis, and how the flower size changes.
// The flower is the flower head selected in the library, or a plain one.
class InflorescenceDlg final : public ArrangementDlg {
public:
    explicit InflorescenceDlg(QWidget* parent = nullptr);

    InflorescenceSettings settings() const;

protected:
    bool arrange(FlowerObjectComposite& plant, std::string& message) override;
    void showEvent(QShowEvent* event) override;

private:
    // Enables the values the chosen type uses.
    void showType();
    // The selected flower head, or null for a plain one.
    static const FlowerObjectNode* selectedFlower();
    void showFlower();

    QComboBox* type_ = nullptr;
    QSpinBox* flowers_ = nullptr;
    PhyllotaxisBox* phyllotaxis_ = nullptr;
    QDoubleSpinBox* pedicelLength_ = nullptr;
    QDoubleSpinBox* pedicelChange_ = nullptr;
    QDoubleSpinBox* flowerSize_ = nullptr;
    QDoubleSpinBox* sizeChange_ = nullptr;
};
