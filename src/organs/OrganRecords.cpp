#include "organs/OrganRecords.h"

#include "math/TextReader.h"
#include "model/Parameters.h"
#include "model/RecordBlocks.h"

#include <algorithm>

bool readLabelled(TextReader& in, int& value) {
    return skipWords(in, 1) && in.integer(value);
}

bool readLabelled(TextReader& in, double& value) {
    return skipWords(in, 1) && in.real(value);
}

int clampedResolution(int value) {
    return std::clamp(value, Parameters::kMinResolution, Parameters::kMaxResolution);
}
