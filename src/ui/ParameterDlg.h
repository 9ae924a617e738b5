#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QGridLayout;
class QSpinBox;

// The modeless dialog of the tessellation resolutions of every organ kind and of
// the three widths. Its spin boxes edit the controller's parameter values, which
// the organs read when they next build geometry. A changed width also acts at once
// on the target object: a stamen's filament or anther, a stem, or the outer radius
// of a receptacle.
class ParameterDlg final : public QDialog {
public:
    explicit ParameterDlg(QWidget* parent = nullptr);

    // Shows the controller's parameter values again, without acting on the target.
    void showParameters();
    // "Get parameter": the target's widths become the width values.
    void getParameters();

private:
    // A spin box and the parameter value it edits, looked up on every use.
    struct Binding {
        QSpinBox* spin;
        std::function<int&()> value;
    };
    QSpinBox* addSpin(QGridLayout* grid, int row, int column, const QString& name, int maximum,
                      std::function<int&()> value);
    void applyStamenWidth();
    void applyAntherWidth();
    void applyStemWidth();
    // Every change the dialog makes to the target is published here.
    void publishChange(const char* what);

    std::vector<Binding> bindings_;
    // False while the dialog sets its own controls, whose notifications then do
    // nothing.
    bool ready_ = false;
};
