#pragma once

#include "organs/Phyllotaxis.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// The choice of a phyllotaxis: the kind, the divergence angle of a spiral and the
// organs of a whorl, each enabled only where the kind uses it.
class PhyllotaxisBox final : public QWidget {
public:
    // `spiralCaption` names the spiral kind ("spiral" for flowers, "alternate
    // (spiral)" for leaves).
    explicit PhyllotaxisBox(const QString& spiralCaption, QWidget* parent = nullptr);

    Phyllotaxis phyllotaxis() const;
    // Called after every edit.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    void showKind();

    QComboBox* kind_ = nullptr;
    QDoubleSpinBox* divergence_ = nullptr;
    QSpinBox* perWhorl_ = nullptr;
    std::function<void()> onChange_;
};
