#pragma once

#include "organs/LeafArrangement.h"
#include "ui/ArrangementDlg.h"

class FlowerObjectNode;
class PhyllotaxisBox;
class QDoubleSpinBox;
class QSpinBox;

// "Arrange leaves...": places copies of the leaf selected in the library along the
// plant's drawn main axis by a phyllotaxis, with a count, a size change up the
// stem and the angle the leaves lean out at.
class LeafArrangementDlg final : public ArrangementDlg {
public:
    explicit LeafArrangementDlg(QWidget* parent = nullptr);

    LeafArrangementSettings settings() const;

protected:
    bool arrange(FlowerObjectComposite& plant, std::string& message) override;
    void showEvent(QShowEvent* event) override;

private:
    // The selected leaf, petal or sepal; null when none is selected.
    static const FlowerObjectNode* selectedLeaf();
    void showLeaf();

    PhyllotaxisBox* phyllotaxis_ = nullptr;
    QSpinBox* leaves_ = nullptr;
    QDoubleSpinBox* sizeChange_ = nullptr;
    QDoubleSpinBox* angle_ = nullptr;
};
