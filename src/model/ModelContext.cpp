#include "model/ModelContext.h"

namespace {

struct Defaults {
    IdCounter ids;
    Parameters parameters;
    DisplaySwitches display;
};

Defaults& defaults() {
    static Defaults d;
    return d;
}

ModelContext withDefaults(ModelContext context) {
    if (!context.ids)
        context.ids = &defaults().ids;
    if (!context.parameters)
        context.parameters = &defaults().parameters;
    if (!context.display)
        context.display = &defaults().display;
    return context;
}

ModelContext& installed() {
    static ModelContext context = withDefaults({});
    return context;
}

} // namespace

const ModelContext& modelContext() {
    return installed();
}

ModelContext installModelContext(const ModelContext& context) {
    const ModelContext previous = installed();
    installed() = withDefaults(context);
    return previous;
}
