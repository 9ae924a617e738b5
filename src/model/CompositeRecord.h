#pragma once

#include <memory>

class FlowerObjectNode;
struct RecordInput;

// Reads the body of a composite's record.
std::unique_ptr<FlowerObjectNode> readComposite(RecordInput& input);
