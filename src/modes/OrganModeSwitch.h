#pragma once

#include <memory>
#include <string>

class FlowerObjectNode;

// A creation mode's new organ becomes the work object and the mode moves on to the
// organ's modify mode, as the step `step`; the commit shows it.
void editNewOrgan(std::unique_ptr<FlowerObjectNode> organ, int modifyMode, const std::string& step);
