#include "support/CliProcess.h"
#include "support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

QString pathIn(const WorkingDirectory& dir, const char* name) {
    return QString::fromStdString(dir.path(name).string());
}

} // namespace

// The starter library copied without the leaf image nineteen of its organs wear:
// each command names that image in one line and says nothing else on the terminal,
// and with the image beside the library nothing at all. --verbose tells more.
TEST(CliProgram, ANormalRunNamesEachMissingImageOnceAndSaysNothingElse) {
    WorkingDirectory dir;
    const std::filesystem::path starter(PELMORA_STARTER_LIBRARY);
    std::filesystem::copy_file(starter, dir.path("copied.pmr"));
    const QString library = pathIn(dir, "copied.pmr");

    const CliRun info = runProgram({QStringLiteral("info"), library});
    ASSERT_EQ(info.status, 0) << info.err.toStdString();
    QString plantId;
    for (const QString& line : info.out.split(QLatin1Char('\n')))
        if (plantId.isEmpty() && line.startsWith(QStringLiteral("4 ")))
            plantId = line.section(QLatin1Char(' '), 1, 1);
    ASSERT_FALSE(plantId.isEmpty()) << info.out.toStdString();

    const QString named = QStringLiteral("pelmora-cli: the texture image ");
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("info"), library},
          QStringList{QStringLiteral("resave"), library, pathIn(dir, "resaved.pmr")},
          QStringList{QStringLiteral("export-obj"), library, plantId, pathIn(dir, "plant")}}) {
        const CliRun run = runProgram(arguments);
        EXPECT_EQ(run.status, 0);
        const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << arguments.join(' ').toStdString() << "\n"
                                   << run.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(named)) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(QStringLiteral("pminit-leaf.bmp cannot be read")))
            << lines[0].toStdString();
    }

    const CliRun verbose =
        runProgram({QStringLiteral("--verbose"), QStringLiteral("info"), library});
    EXPECT_EQ(verbose.out, info.out);
    EXPECT_TRUE(verbose.err.contains(QStringLiteral("pelmora: loading texture ")))
        << verbose.err.toStdString();
    EXPECT_EQ(verbose.err.count(named), 1);

    std::filesystem::copy_file(starter.parent_path() / "pminit-leaf.bmp",
                               dir.path("pminit-leaf.bmp"));
    const CliRun whole = runProgram({QStringLiteral("info"), library});
    EXPECT_EQ(whole.status, 0);
    EXPECT_EQ(whole.err, QString());
}
