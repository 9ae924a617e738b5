#include "interaction/RenderState.h"

RenderState& renderState() {
    static RenderState state;
    return state;
}
