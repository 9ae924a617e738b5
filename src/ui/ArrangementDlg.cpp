#include "ui/ArrangementDlg.h"

#include "ui/DialogPlacement.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ArrangementDlg::ArrangementDlg(const QString& title, const std::string& step, QWidget* parent)
    : QDialog(parent), arrangement_(step) {
    setWindowTitle(title);
    makeModeless(*this);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    source_ = new QLabel;
    source_->setObjectName(QStringLiteral("Source"));
    source_->setWordWrap(true);
    layout->addWidget(source_);
    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("Message"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(message_);
    auto* applyButton = new QPushButton(QStringLiteral("Apply"));
    applyButton->setObjectName(QStringLiteral("Apply"));
    applyButton->setAutoDefault(false);
    layout->addWidget(applyButton, 0, Qt::AlignRight);
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
}

bool ArrangementDlg::apply() {
    std::string message;
    const bool applied = arrangement_.apply(
        [&](FlowerObjectComposite& plant) { return arrange(plant, message); }, message);
    message_->setText(QString::fromStdString(message));
    return applied;
}

void ArrangementDlg::valueChanged() {
    if (arrangement_.revises())
        apply();
}

void ArrangementDlg::showSource(const QString& text) {
    source_->setText(text);
}
