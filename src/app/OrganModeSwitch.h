#pragma once

#include <memory>

class FlowerObjectNode;

// A creation mode's new organ becomes the work object and the mode moves on to the
// organ's modify mode; the main view is redrawn and the picks follow.
void editNewOrgan(std::unique_ptr<FlowerObjectNode> organ, int modifyMode);
