#pragma once

class QSurfaceFormat;

// The surface format every 3D view asks for: a compatibility profile (the drawing is
// fixed-function), double buffering, 8-bit red, green and blue without alpha, and a
// 16-bit depth buffer.
QSurfaceFormat viewSurfaceFormat();

// Makes that format the default and lets all GL contexts share their textures. Must
// run before the QGuiApplication (or QApplication) is created.
void prepareOpenGL();
