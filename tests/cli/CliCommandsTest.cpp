#include "cli/CliCommands.h"
#include "library/LibraryFile.h"
#include "math/FileText.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/ModelContext.h"
#include "model/SceneRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

class CliCommandsTest : public ::testing::Test {
protected:
    CliCommandsTest() {
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        // Ids far from 1, so that the test sees them renumbered on loading.
        for (int i = 0; i < 40; ++i)
            nextId();
        plant = std::make_unique<FlowerObjectComposite>(nextId());
        otherPlant = std::make_unique<FlowerObjectComposite>(nextId());
        scene = std::make_unique<SceneRoot>(nextId());
        contents.objects[kCategoryComposite] = {plant.get(), otherPlant.get()};
        contents.scenes = {scene.get()};
        std::string error;
        EXPECT_TRUE(saveLibraryFile(library, contents, error)) << error;
    }
    ~CliCommandsTest() override { std::filesystem::remove_all(directory); }

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return runCli(args, out, err, nullptr);
    }

    static std::string read(const std::string& path) {
        std::string text, error;
        EXPECT_TRUE(readWholeFile(path, text, error)) << error;
        return text;
    }

    IdCounter ids;
    ScopedModelContext context{{&ids, nullptr, nullptr, nullptr}};
    const std::string directory = ::testing::TempDir() + "pelmora_cli_test";
    const std::string library = directory + "/library.pmr";
    std::unique_ptr<FlowerObjectComposite> plant, otherPlant;
    std::unique_ptr<SceneRoot> scene;
    LibraryContents contents;
    std::ostringstream out, err;
};

} // namespace

TEST_F(CliCommandsTest, InfoListsEntriesInFileOrderWithLoadedIds) {
    EXPECT_EQ(run({"info", library}), 0);
    EXPECT_EQ(out.str(), "4 1 Composit\n4 2 Composit\n0 3 SceneRoot\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliCommandsTest, ResaveWritesWhatSaveWritesWithIdsFromOne) {
    const std::string copy = directory + "/copy.pmr";
    ASSERT_EQ(run({"resave", library, copy}), 0) << err.str();
    ASSERT_EQ(run({"resave", copy, directory + "/again.pmr"}), 0) << err.str();
    EXPECT_EQ(read(copy), read(directory + "/again.pmr"));
    EXPECT_NE(read(copy).find("Composit 1\n"), std::string::npos);
}

TEST_F(CliCommandsTest, ExportFollowsTheFileNameRules) {
    ASSERT_EQ(run({"export-obj", library, "3", directory + "/scene"}), 0) << err.str();
    EXPECT_EQ(read(directory + "/scene.obj"), "mtllib scene.mtl\n");
    EXPECT_EQ(read(directory + "/scene.mtl"), "");
    ASSERT_EQ(run({"export-obj", library, "1", directory + "/plant.obj"}), 0) << err.str();
    EXPECT_TRUE(std::filesystem::exists(directory + "/plant.mtl"));
}

TEST_F(CliCommandsTest, FailuresEndWithOneLineAndANonZeroStatus) {
    const auto expectFailure = [&](const std::vector<std::string>& args, const std::string& says) {
        EXPECT_NE(run(args), 0);
        EXPECT_EQ(out.str(), "");
        const std::string message = err.str();
        EXPECT_NE(message.find(says), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
    };
    expectFailure({"info", directory + "/missing.pmr"}, "cannot open");
    expectFailure({"export-obj", library, "99", directory + "/x"}, "no entry with id 99");
    expectFailure({"export-obj", library, "one", directory + "/x"}, "not an object id");
    expectFailure({"export-obj", library, "1", directory + "/no/such/dir/x"}, "cannot write");
    expectFailure({"resave", library, directory + "/no/such/dir/x.pmr"}, "cannot write");
    expectFailure({"frobnicate"}, "unknown command");
    expectFailure({}, "no command");
    expectFailure({"info"}, "wrong arguments");
    expectFailure({"render", library, "1", directory + "/x.png", "--size", "10y10"}, "--size");

    std::string error;
    ASSERT_TRUE(writeFileAtomically(directory + "/broken.pmr",
                                    "Pelmora File\n\nprimitives 1\n\nStem 4\nstamen Color\nxyz\n",
                                    error));
    expectFailure({"info", directory + "/broken.pmr"}, "line ");
    ASSERT_TRUE(writeFileAtomically(directory + "/other.pmr", "Other File\n", error));
    expectFailure({"resave", directory + "/other.pmr", directory + "/y.pmr"}, "Pelmora File");
    EXPECT_FALSE(std::filesystem::exists(directory + "/y.pmr"));
}

TEST_F(CliCommandsTest, HelpDescribesEveryCommand) {
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* command : {"info", "resave", "export-obj", "render", "xvfb-run -a"})
        EXPECT_NE(out.str().find(command), std::string::npos) << command;
}
