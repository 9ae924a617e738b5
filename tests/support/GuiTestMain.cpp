// The main of the test programs that need Qt GUI and OpenGL: the views' surface
// format is set and a QGuiApplication exists before any test runs. Listing the
// tests needs neither, so test discovery works without a display.
#include "gl/OpenGLSetup.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    prepareOpenGL();
    QGuiApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    // Look for leaks now, while the GL driver is still loaded: at exit it has been
    // unloaded, and what it leaked could no longer be told apart from our own.
    __lsan_do_leak_check();
#endif
    return result;
}
