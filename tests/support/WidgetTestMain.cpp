// The main of the test programs that drive real windows: the views' surface format
// is set and a QApplication exists before any test runs. Settings go to a private
// place so that tests never touch the user's. Listing the tests needs no display.
#include "gl/OpenGLSetup.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstring>

#include <dlfcn.h>
#include <link.h>

namespace {

// Mesa's software driver keeps the buffers of windows that were shown after they
// are gone, and it is unloaded before the leak check runs, which then cannot tell
// whose the buffers are. Keeping the loaded drivers in memory lets the check's
// suppressions recognise them.
void keepGlDriversLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD);
            return 0;
        },
        nullptr);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QStandardPaths::setTestModeEnabled(true);
    prepareOpenGL();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pelmora Tests"));
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    const QString settings = QDir::temp().filePath(
        QStringLiteral("pelmora-test-settings-%1").arg(QCoreApplication::applicationPid()));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    const int status = RUN_ALL_TESTS();
    keepGlDriversLoaded();
    QDir(settings).removeRecursively();
    return status;
}
