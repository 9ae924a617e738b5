#pragma once

#include "modes/OrganModifyListener.h"

// Editing the pistil that is the work object (mode 14): a stroke drawn away from
// the control points is a new axis that the pistil moves onto.
class MouseListenerForPistilModify : public OrganModifyListener {
public:
    virtual ~MouseListenerForPistilModify() = default;

protected:
    std::string finishStroke(const Stroke& stroke) override;
};
