#pragma once

#include <QWidget>

// The library view: the thumbnails of the shown category above the separator band
// and the floral diagram below it. Its mouse messages go to the library mode.
class CFlowerLibView final : public QWidget {
public:
    explicit CFlowerLibView(QWidget* parent = nullptr);
    ~CFlowerLibView() override;

    QSize sizeHint() const override { return {200, 800}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void forwardMouse(QMouseEvent* event);
};
