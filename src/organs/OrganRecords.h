#pragma once

#include <string_view>

class FlowerObjectNode;
class TextReader;
class TextWriter;
struct RecordInput;
struct WriteContext;

// Reading and writing helpers the organ records share. Labels are read as words and
// not compared.

// Passes over the words of a heading line that a record writes as it is.
bool readHeading(TextReader& in, std::string_view heading);

// An organ record's opening: its heading line (for example "pistil Color\n"), the
// colour block and the texture names.
void writeAppearance(TextWriter& out, std::string_view heading, const FlowerObjectNode& node,
                     const WriteContext& context);
// Reads what writeAppearance wrote with the same heading into the node: the
// heading's words are passed over, the colours set through setMaterial.
bool readAppearance(const RecordInput& input, std::string_view heading, FlowerObjectNode& node);

// A label word followed by a number ("m_resH 6", "radius 0.008000").
bool readLabelled(TextReader& in, int& value);
bool readLabelled(TextReader& in, double& value);

// A resolution read from a file, brought into the range the parameters allow, so
// that neither 0 nor a million rings reach the tube builds.
int clampedResolution(int value);
// A labelled resolution, brought into that range.
bool readLabelledResolution(TextReader& in, int& value);
