#include "ui/COverallFrame.h"

#include "ui/COverallView.h"
#include "ui/WindowIcons.h"

#include <QCloseEvent>
#include <QVBoxLayout>

COverallFrame::COverallFrame() : view_(new COverallView) {
    setWindowIcon(applicationIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(QWidget::createWindowContainer(view_, this));
    resize(500, 500);
    setDocumentTitle(QStringLiteral("Untitled"));
}

void COverallFrame::setDocumentTitle(const QString& title) {
    setWindowTitle(title + QStringLiteral(" - Pelmora"));
}

void COverallFrame::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}
