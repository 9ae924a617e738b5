#pragma once

#include <string>

class TextReader;

// Reading helpers the organ records share. Labels are read as words and not
// compared.

// A label word followed by a number ("m_resH 6", "radius 0.008000").
bool readLabelled(TextReader& in, int& value);
bool readLabelled(TextReader& in, double& value);

// A resolution read from a file, brought into the range the parameters allow, so
// that neither 0 nor a million rings reach the tube builds.
int clampedResolution(int value);
