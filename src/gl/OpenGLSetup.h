#pragma once

class QSurfaceFormat;

// The surface format every 3D view asks for: a compatibility profile (the drawing is
// fixed-function), double buffering, 8-bit red, green and blue without alpha, and a
// 16-bit depth buffer.
QSurfaceFormat viewSurfaceFormat();

// The format of a view's window: the same with four samples per pixel, which
// smooth the edges where the driver can multisample (it offers fewer or none where
// it cannot). Pick and thumbnail frames render off-screen without them.
QSurfaceFormat windowSurfaceFormat();

// Makes that format the default and lets all GL contexts share their textures. Must
// run before the QGuiApplication (or QApplication) is created.
void prepareOpenGL();
