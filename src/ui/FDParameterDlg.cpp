#include "ui/FDParameterDlg.h"

#include "control/AppController.h"
#include "control/FloralDiagram.h"
#include "ui/DialogPlacement.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 50;
constexpr double kMaxRotationDegrees = 200.0;
// The rows, inside out; also the prefix of each control's object name.
constexpr const char* kWhorlCaptions[4] = {"Pistil", "Stamen", "Petal", "Sepal"};

QSpinBox* spinBox(const QString& name, int minimum, int maximum, int value) {
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

} // namespace

FDParameterDlg::FDParameterDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Floral Diagram"));
    makeModeless(*this);
    auto* grid = new QGridLayout(this);
    for (int ring = 0; ring < 4; ++ring) {
        const QString caption = QString::fromLatin1(kWhorlCaptions[ring]);
        counts_[ring] = spinBox(caption + QStringLiteral("Count"), 0, FloralDiagramSettings::kLargestCount, 0);
        indefinite_[ring] = new QCheckBox(QStringLiteral("Indefinite"));
        indefinite_[ring]->setObjectName(caption + QStringLiteral("Indefinite"));
        QSpinBox* size =
            spinBox(caption + QStringLiteral("Size"), kMinSize, kMaxSize, settings_.sizes[ring]);
        grid->addWidget(new QLabel(caption), ring, 0);
        grid->addWidget(counts_[ring], ring, 1);
        grid->addWidget(indefinite_[ring], ring, 2);
        grid->addWidget(new QLabel(QStringLiteral("size")), ring, 3);
        grid->addWidget(size, ring, 4);

        connect(counts_[ring], &QSpinBox::valueChanged, this,
                [this, ring](int count) { countChanged(ring, count); });
        connect(indefinite_[ring], &QCheckBox::clicked, this,
                [this, ring](bool on) { indefiniteClicked(ring, on); });
        connect(size, &QSpinBox::valueChanged, this,
                [this, ring](int value) { settings_.sizes[ring] = value; });
    }
    // Shown in degrees with one decimal; kept in tenths of a degree.
    rotation_ = new QDoubleSpinBox;
    rotation_->setObjectName(QStringLiteral("RotationAngle"));
    rotation_->setDecimals(1);
    rotation_->setSingleStep(0.1);
    rotation_->setRange(0.0, kMaxRotationDegrees);
    rotation_->setValue(settings_.rotationDegrees());
    grid->addWidget(new QLabel(QStringLiteral("Rotation Angle")), 4, 0, 1, 3);
    grid->addWidget(rotation_, 4, 4);
    connect(rotation_, &QDoubleSpinBox::valueChanged, this, [this](double degrees) {
        settings_.rotationTenths = static_cast<int>(std::lround(degrees * 10.0));
    });
    formula_ = new QLabel;
    formula_->setObjectName(QStringLiteral("Formula"));
    formula_->setAlignment(Qt::AlignCenter);
    grid->addWidget(formula_, 5, 0, 1, 5);

    formulaEntry_ = new QLineEdit;
    formulaEntry_->setObjectName(QStringLiteral("FormulaEntry"));
    formulaEntry_->setPlaceholderText(QStringLiteral("K5 C5 A10 G1"));
    formulaEntry_->setToolTip(QStringLiteral(
        "Sepals K, petals C, stamens A, pistils G, each with a count or \u221e (or inf)"));
    auto* setFormula = new QPushButton(QStringLiteral("Set"));
    setFormula->setObjectName(QStringLiteral("FormulaSet"));
    setFormula->setAutoDefault(false);
    grid->addWidget(new QLabel(QStringLiteral("Formula")), 6, 0);
    grid->addWidget(formulaEntry_, 6, 1, 1, 3);
    grid->addWidget(setFormula, 6, 4);
    formulaMessage_ = new QLabel;
    formulaMessage_->setObjectName(QStringLiteral("FormulaMessage"));
    formulaMessage_->setWordWrap(true);
    formulaMessage_->setStyleSheet(QStringLiteral("color: #b00000"));
    grid->addWidget(formulaMessage_, 7, 0, 1, 5);
    connect(formulaEntry_, &QLineEdit::returnPressed, this, &FDParameterDlg::formulaEntered);
    connect(setFormula, &QPushButton::clicked, this, &FDParameterDlg::formulaEntered);
    connect(formulaEntry_, &QLineEdit::textEdited, formulaMessage_, &QLabel::clear);
    ready_ = true;
}

void FDParameterDlg::showCounts(const WhorlSummary& summary) {
    ready_ = false;
    for (int ring = 0; ring < 4; ++ring) {
        counts_[ring]->setValue(summary.counts[ring]);
        lastCounts_[ring] = counts_[ring]->value();
        indefinite_[ring]->setChecked(summary.indefinite[ring]);
        // A band's count follows from its area, so it cannot be typed in.
        counts_[ring]->setEnabled(!summary.indefinite[ring]);
    }
    rotation_->setValue(FloralDiagramSettings::kInitialRotationTenths * 0.1);
    ready_ = true;
}

void FDParameterDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_ || !anchor_)
        return;
    placed_ = true;
    placeBeside(*this, *anchor_);
}

void FDParameterDlg::showFormula(const std::string& formula) {
    formula_->setText(QString::fromStdString(formula));
}

void FDParameterDlg::countChanged(int ring, int count) {
    if (!ready_)
        return;
    const int difference = count - lastCounts_[ring];
    lastCounts_[ring] = count;
    FloralDiagram& diagram = floralDiagram();
    const int whorl = kWhorlsInsideOut[ring];
    const bool changed = difference > 0 ? diagram.addOrgans(difference, whorl)
                                        : diagram.removeOrgans(-difference, whorl);
    if (changed)
        publishChange("organ count");
}

void FDParameterDlg::indefiniteClicked(int ring, bool on) {
    if (!ready_)
        return;
    counts_[ring]->setEnabled(!on);
    if (floralDiagram().setIndefinite(kWhorlsInsideOut[ring], on))
        publishChange("indefinite whorl");
}

void FDParameterDlg::publishChange(const char* what) {
    AppController& controller = appController();
    controller.commit(controller.targetChange() | kChangeLibraryView,
                      std::string("Change ") + what);
}

void FDParameterDlg::formulaEntered() {
    const FormulaReading reading =
        readFloralFormula(formulaEntry_->text().toStdString(), FloralDiagramSettings::kLargestCount);
    if (!reading.ok()) {
        formulaMessage_->setText(QString::fromStdString(reading.error));
        return;
    }
    if (!floralDiagram().applyFormula(reading.whorls)) {
        formulaMessage_->setText(
            QStringLiteral("No flower head to set: create or select one first."));
        return;
    }
    formulaMessage_->clear();
    publishChange("floral formula");
}
