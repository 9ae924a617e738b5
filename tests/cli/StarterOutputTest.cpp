// Every file the program writes from the starter library, byte for byte: the
// library as the build writes it and as `resave` writes it again, and each entry's
// OBJ (both sides and single surfaces, with its MTL and image copies) and `.glb`.
// The expected fingerprints are in tests/data/starter-output.txt; a change of the
// code that is meant to change no output must leave every one of them as it is.
// A change that is meant to change output records the new fingerprints with
// PELMORA_RECORD_STARTER_OUTPUT=1 and says why in its commit.
#include "math/FileText.h"
#include "support/CliProcess.h"
#include "support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// FNV-1a over the whole file: enough to tell any changed byte, and written out in
// a few lines.
std::string fingerprintOf(const std::filesystem::path& path) {
    std::string bytes, error;
    EXPECT_TRUE(readWholeFile(path.string(), bytes, error)) << error;
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(text) + " " + std::to_string(bytes.size());
}

void runTool(const QStringList& arguments, QString* out = nullptr) {
    const CliRun run = runProgram(arguments);
    EXPECT_EQ(run.status, 0) << arguments.join(' ').toStdString() << "\n" << run.err.toStdString();
    if (out)
        *out = run.out;
}

QString text(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The ids `info` lists, in file order.
std::vector<std::string> entryIds(const QString& library) {
    QString listing;
    runTool({QStringLiteral("info"), library}, &listing);
    std::vector<std::string> ids;
    std::istringstream lines(listing.toStdString());
    std::string category, id, rest;
    while (lines >> category >> id && std::getline(lines, rest))
        ids.push_back(id);
    return ids;
}

std::map<std::string, std::string> readExpected(const std::filesystem::path& path) {
    std::map<std::string, std::string> expected;
    std::ifstream in(path);
    std::string name, hash, size;
    while (in >> name >> hash >> size)
        expected[name] = hash + " " + size;
    return expected;
}

} // namespace

TEST(StarterOutput, EveryWrittenFileKeepsItsBytes) {
    WorkingDirectory dir;
    // The library and its image side by side in the test's own folder, so that the
    // resave stores the image's path relative to the library wherever the build is.
    const std::filesystem::path built(PELMORA_STARTER_LIBRARY);
    const std::filesystem::path starter = dir.path("pminit.pmr");
    std::filesystem::copy_file(built, starter);
    std::filesystem::copy_file(built.parent_path() / "pminit-leaf.bmp",
                               dir.path("pminit-leaf.bmp"));
    const QString library = text(starter);
    std::map<std::string, std::string> written;
    written["pminit.pmr"] = fingerprintOf(starter);

    const std::filesystem::path resaved = dir.path("resaved.pmr");
    runTool({QStringLiteral("resave"), library, text(resaved)});
    written["resaved.pmr"] = fingerprintOf(resaved);

    for (const std::string& id : entryIds(library)) {
        const std::filesystem::path folder = dir.path(id);
        std::filesystem::create_directories(folder / "both");
        std::filesystem::create_directories(folder / "single");
        const QString entry = QString::fromStdString(id);
        runTool({QStringLiteral("export-obj"), library, entry, text(folder / "both" / "entry.obj")});
        runTool({QStringLiteral("export-obj"), library, entry,
                 text(folder / "single" / "entry.obj"), QStringLiteral("--single")});
        runTool({QStringLiteral("export-gltf"), library, entry, text(folder / "entry.glb")});
        for (const auto& file : std::filesystem::recursive_directory_iterator(folder))
            if (file.is_regular_file())
                written["entry" + id + "/" +
                        file.path().lexically_relative(folder).generic_string()] =
                    fingerprintOf(file.path());
    }

    const std::filesystem::path table =
        std::filesystem::path(std::getenv("PELMORA_TEST_DATA")) / "starter-output.txt";
    if (std::getenv("PELMORA_RECORD_STARTER_OUTPUT")) {
        std::ofstream out(table);
        for (const auto& [name, fingerprint] : written)
            out << name << " " << fingerprint << "\n";
        GTEST_SKIP() << "recorded " << written.size() << " fingerprints in " << table;
    }
    const std::map<std::string, std::string> expected = readExpected(table);
    ASSERT_FALSE(expected.empty()) << table << " holds no fingerprints";
    for (const auto& [name, fingerprint] : expected) {
        const auto found = written.find(name);
        EXPECT_TRUE(found != written.end()) << name << " was not written";
        if (found != written.end()) {
            EXPECT_EQ(found->second, fingerprint) << name << " changed";
        }
    }
    for (const auto& [name, fingerprint] : written)
        EXPECT_TRUE(expected.count(name)) << name << " is new";
}
