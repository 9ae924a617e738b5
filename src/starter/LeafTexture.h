#pragma once

#include <string>

// The starter library's leaf image: a green blade with a pale midrib and side
// veins, made here so that the starter library needs no image from anywhere else.
// The whole file's bytes, an uncompressed 24-bit BMP.
std::string leafTextureBmp();
