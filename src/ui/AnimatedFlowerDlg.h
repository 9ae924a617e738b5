#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

// "Import Animated Flower": the flower head being edited takes a stored flower head
// as its bud, modelled by hand, and opens from it instead of from the bud worked out
// from its own organs. The stored flower heads show as their library tiles; one
// whose slots differ from the flower's is said so, and cannot be imported.
class AnimatedFlowerDlg : public QDialog {
public:
    explicit AnimatedFlowerDlg(QWidget* parent = nullptr);

private:
    // The chosen tile changed: says whether it can serve as the bud.
    void choiceChanged();
    void importChosen();
    void forgetBud();
    int chosenId() const;

    QListWidget* heads_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* forget_ = nullptr;
};
