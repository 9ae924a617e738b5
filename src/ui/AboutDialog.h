#pragma once

#include <QDialog>

// The about box: the program's icon, "Pelmora Version 1.0" and an OK button.
class AboutDialog final : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
