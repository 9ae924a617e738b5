#pragma once

#include "control/PlantArrangement.h"

#include <QDialog>

#include <string>

class FlowerObjectComposite;
class QFormLayout;
class QLabel;
class QWidget;

// A modeless dialog that arranges the plant being edited by a rule: its values in
// a form, "Apply" to arrange them as one undo step, and every later change of a
// value applied again to the same arrangement while it is still the last step.
// What cannot be done is said in the dialog, and nothing changes.
class ArrangementDlg : public QDialog {
public:
    ArrangementDlg(const QString& title, const std::string& step, QWidget* parent = nullptr);

    // "Apply": arranges the work object's plant; whether it did.
    bool apply();

protected:
    // Builds the arrangement from the dialog's values into the plant; false with
    // `message` set when it cannot.
    virtual bool arrange(FlowerObjectComposite& plant, std::string& message) = 0;
    // A value changed: applied again while the arrangement is the last step.
    void valueChanged();
    QFormLayout* form() const { return form_; }
    // The caption below the values that names what will be placed.
    void showSource(const QString& text);

private:
    PlantArrangement arrangement_;
    QFormLayout* form_ = nullptr;
    QLabel* source_ = nullptr;
    QLabel* message_ = nullptr;
};
