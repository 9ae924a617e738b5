#include "ui/ParameterDlg.h"

#include "control/AppController.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "ui/DialogPlacement.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace {

struct ResolutionRow {
    const char* caption;
    ResolutionPair Parameters::*pair;
    int maximum;
};

constexpr ResolutionRow kResolutionRows[] = {
    {"Stem", &Parameters::stem, Parameters::kMaxResolution},
    {"Stamen", &Parameters::stamen, Parameters::kMaxResolution},
    {"Anther", &Parameters::anther, Parameters::kMaxResolution},
    {"Pistil", &Parameters::pistil, Parameters::kMaxResolution},
    {"Petal", &Parameters::petal, Parameters::kMaxResolution},
    {"Receptacle", &Parameters::receptacle, Parameters::kMaxResolution},
    {"Petal CP", &Parameters::petalControlPoints, Parameters::kMaxControlPoints},
};
// Every value of the dialog has the same lower bound.
static_assert(Parameters::kMinResolution == Parameters::kMinControlPoints &&
              Parameters::kMinResolution == Parameters::kMinWidth);

Parameters& editedParameters() {
    return appController().settings().parameters;
}

// A width in model units as a spin position. Rounded rather than truncated, so that
// a width the dialog gave reads back as the position it came from.
int widthSteps(double width) {
    const long steps = std::lround(std::abs(width) / Parameters::kWidthUnit);
    return static_cast<int>(std::clamp<long>(steps, Parameters::kMinWidth, Parameters::kMaxWidth));
}

} // namespace

ParameterDlg::ParameterDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Parameter"));
    makeModeless(*this);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("vertical")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("horizontal")), 0, 2);
    int row = 1;
    for (const ResolutionRow& r : kResolutionRows) {
        const QString caption = QString::fromLatin1(r.caption);
        grid->addWidget(new QLabel(caption), row, 0);
        const auto pair = r.pair;
        addSpin(grid, row, 1, caption + QStringLiteral(" vertical"), r.maximum,
                [pair]() -> int& { return (editedParameters().*pair).vertical; });
        addSpin(grid, row, 2, caption + QStringLiteral(" horizontal"), r.maximum,
                [pair]() -> int& { return (editedParameters().*pair).horizontal; });
        ++row;
    }

    grid->addWidget(new QLabel(QStringLiteral("Width")), row++, 0);
    const struct {
        const char* caption;
        int Parameters::*steps;
        void (ParameterDlg::*apply)();
    } widths[] = {
        {"Stamen", &Parameters::stamenWidthSteps, &ParameterDlg::applyStamenWidth},
        {"Anther", &Parameters::antherWidthSteps, &ParameterDlg::applyAntherWidth},
        {"Stem", &Parameters::stemWidthSteps, &ParameterDlg::applyStemWidth},
    };
    for (const auto& w : widths) {
        const QString caption = QString::fromLatin1(w.caption);
        grid->addWidget(new QLabel(caption), row, 0);
        const auto steps = w.steps;
        QSpinBox* spin =
            addSpin(grid, row, 1, QStringLiteral("Width ") + caption, Parameters::kMaxWidth,
                    [steps]() -> int& { return editedParameters().*steps; });
        connect(spin, &QSpinBox::valueChanged, this, [this, apply = w.apply] {
            if (ready_)
                (this->*apply)();
        });
        ++row;
    }

    auto* get = new QPushButton(QStringLiteral("Get parameter"));
    get->setObjectName(QStringLiteral("GetParameter"));
    grid->addWidget(get, row, 0, 1, 3);
    connect(get, &QPushButton::clicked, this, [this] { getParameters(); });
    showParameters();
}

QSpinBox* ParameterDlg::addSpin(QGridLayout* grid, int row, int column, const QString& name,
                                int maximum, std::function<int&()> value) {
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(Parameters::kMinResolution, maximum);
    grid->addWidget(spin, row, column);
    connect(spin, &QSpinBox::valueChanged, this, [value](int position) { value() = position; });
    bindings_.push_back({spin, std::move(value)});
    return spin;
}

void ParameterDlg::showParameters() {
    ready_ = false;
    for (const Binding& binding : bindings_)
        binding.spin->setValue(binding.value());
    ready_ = true;
}

void ParameterDlg::getParameters() {
    FlowerObjectNode* target = appController().targetObject();
    Parameters& values = editedParameters();
    if (auto* stamen = dynamic_cast<FlowerStamenNode*>(target)) {
        values.stamenWidthSteps = widthSteps(stamen->radius);
        values.antherWidthSteps = widthSteps(stamen->antherRadius);
    } else if (auto* stem = dynamic_cast<FlowerStemNode*>(target)) {
        values.stemWidthSteps = widthSteps(stem->radius);
    } else if (auto* torus = dynamic_cast<FlowerTorusNode*>(target);
               torus && !torus->m_basicCurve.empty()) {
        values.stemWidthSteps = widthSteps(torus->m_basicCurve.back().x);
    }
    showParameters();
}

void ParameterDlg::applyStamenWidth() {
    if (auto* stamen = dynamic_cast<FlowerStamenNode*>(appController().targetObject())) {
        stamen->radius = editedParameters().stamenWidth();
        stamen->rebuildFilament();
        publishChange("stamen width");
    }
}

void ParameterDlg::applyAntherWidth() {
    if (auto* stamen = dynamic_cast<FlowerStamenNode*>(appController().targetObject())) {
        stamen->antherRadius = editedParameters().antherWidth();
        stamen->rebuildAnther();
        publishChange("anther width");
    }
}

void ParameterDlg::applyStemWidth() {
    FlowerObjectNode* target = appController().targetObject();
    const Parameters& values = editedParameters();
    if (auto* stem = dynamic_cast<FlowerStemNode*>(target)) {
        stem->radius = values.stemWidth();
        stem->rebuildTube();
        publishChange("stem width");
    } else if (auto* torus = dynamic_cast<FlowerTorusNode*>(target)) {
        if (torus->setOuterRadius(values.stemWidth(), values.receptacle.horizontal,
                                  values.receptacle.vertical))
            publishChange("receptacle width");
    }
}

void ParameterDlg::publishChange(const char* what) {
    AppController& controller = appController();
    controller.commit(controller.targetChange() | kChangeLibraryView,
                      std::string("Change ") + what);
}
