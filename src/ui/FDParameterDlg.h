#pragma once

#include "control/FloralDiagramSettings.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <string>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The floral diagram's modeless dialog: per whorl the number of organs, whether the
// whorl is laid out as an "Indefinite" band, and the organ size; and the rotation
// angle of the bands. Changing a count adds or removes organs of the bound
// receptacle at once; ticking "Indefinite" fills the whorl's band instead. Sizes and
// the rotation angle are read by the diagram when it next lays out slots.
class FDParameterDlg final : public QDialog {
public:
    explicit FDParameterDlg(QWidget* parent = nullptr);

    // The values the diagram reads; the spin boxes write them.
    const FloralDiagramSettings& settings() const { return settings_; }
    // Shows a receptacle's counts and layout flags without acting on them; the
    // rotation angle returns to its initial value.
    void showCounts(const WhorlSummary& summary);
    // The bound receptacle's floral formula, shown under the rows.
    void showFormula(const std::string& formula);
    double rotationDegrees() const { return settings_.rotationDegrees(); }
    // The dialog first shows beside this widget (the main view), not over it.
    void setAnchor(QWidget* anchor) { anchor_ = anchor; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void countChanged(int ring, int count);
    void indefiniteClicked(int ring, bool on);
    // Every change the dialog makes to the receptacle is published here.
    void publishChange(const char* what);
    // Sets the bound receptacle's whorls from the typed formula as one step; a text
    // that cannot be read, or no flower head to act on, is said under it and
    // changes nothing.
    void formulaEntered();

    FloralDiagramSettings settings_;
    std::array<QSpinBox*, 4> counts_{};
    std::array<QCheckBox*, 4> indefinite_{};
    QDoubleSpinBox* rotation_ = nullptr;
    QLabel* formula_ = nullptr;
    QLineEdit* formulaEntry_ = nullptr;
    QLabel* formulaMessage_ = nullptr;
    // The count each whorl showed last: a new count adds or removes the difference.
    std::array<int, 4> lastCounts_{};
    // False while the dialog sets its own controls, whose notifications then do
    // nothing.
    bool ready_ = false;
    QPointer<QWidget> anchor_;
    bool placed_ = false;
};
