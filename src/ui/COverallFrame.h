#pragma once

#include <QWidget>

class COverallView;

// The overall window: a top-level window of its own around the overall view.
// Closing it only hides it, so the window and its camera stay as they were.
class COverallFrame final : public QWidget {
public:
    COverallFrame();

    COverallView* view() const { return view_; }
    // "<document> - Pelmora".
    void setDocumentTitle(const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    COverallView* view_;
};
