#pragma once

#include <QDialog>
#include <QPointer>

#include <array>

class FlowerTorusNode;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

// The modeless time dialog: a time slider from the bud (0) to the flower as
// modelled (1), Play/Pause, whether a plant's flower heads open from the top down,
// and per whorl of the flower head in focus the span of the time line it opens
// over. The main view shows the bloom at the slider's time; away from 1 the modes
// leave the model alone.
class TimeDlg final : public QDialog {
public:
    explicit TimeDlg(QWidget* parent = nullptr);

    // Shows the time and the spans of the flower head in focus again.
    void refresh();
    // Plays the bloom from where the slider stands (from the bud when it stands at
    // 1), or pauses it.
    void togglePlay();
    bool playing() const;

    // The slider's steps over the time line.
    static constexpr int kSteps = 1000;
    // How long playing the whole bloom takes.
    static constexpr int kPlayMilliseconds = 4000;
    // The dialog first shows beside this widget (the main view), not over it.
    void setAnchor(QWidget* anchor) { anchor_ = anchor; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void sliderMoved(int step);
    void playStep();
    // A whorl's start (`startSet`) or end was set; an end before the start is taken
    // as both at the value set.
    void spanChanged(int ring, bool startSet);
    // The flower head whose spans the rows show: the object commands act on, when it
    // is one.
    static FlowerTorusNode* shownFlowerHead();

    QSlider* slider_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QPushButton* play_ = nullptr;
    QCheckBox* topFirst_ = nullptr;
    QLabel* spansNote_ = nullptr;
    std::array<QDoubleSpinBox*, 4> starts_{};
    std::array<QDoubleSpinBox*, 4> ends_{};
    QTimer* timer_ = nullptr;
    // False while the dialog sets its own controls.
    bool ready_ = false;
    QPointer<QWidget> anchor_;
    bool placed_ = false;
};
