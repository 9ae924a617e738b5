#include "AppFixture.h"

#include "control/LibraryBrowser.h"
#include "control/LibraryFileModule.h"
#include "math/FileText.h"
#include "support/WorkingDirectory.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

constexpr auto Opened = LibraryFileModule::OpenOutcome::Opened;
constexpr auto Refused = LibraryFileModule::OpenOutcome::Refused;
constexpr auto Damaged = LibraryFileModule::OpenOutcome::Damaged;

namespace {

std::string fileText(const fs::path& path) {
    std::string text, error;
    EXPECT_TRUE(readWholeFile(path.string(), text, error)) << error;
    return text;
}

} // namespace

class LibraryFileModuleTest : public AppFixture {
protected:
    // Plants in categories 3 and 4 and one scene, created in file order.
    void fillLibrary() {
        for (int category : {kCategoryFlower, kCategoryComposite, kCategoryComposite})
            controller().addToLibrary(newPlant(), category);
        controller().addScene(newScene());
    }
    std::string save(const std::string& name) {
        std::string error;
        EXPECT_TRUE(libraryFileModule().saveLibrary(dir.path(name).string(), error)) << error;
        return fileText(dir.path(name));
    }

    WorkingDirectory dir;
};

TEST_F(LibraryFileModuleTest, SavesEachCategoryInAscendingIdOrder) {
    controller().addToLibrary(std::make_unique<FlowerObjectComposite>(7), kCategoryFlower);
    controller().addToLibrary(std::make_unique<FlowerObjectComposite>(3), kCategoryFlower);
    const std::string text = save("order.pmr");
    const size_t three = text.find("Composit 3\n");
    const size_t seven = text.find("Composit 7\n");
    ASSERT_NE(three, std::string::npos);
    ASSERT_NE(seven, std::string::npos);
    EXPECT_LT(three, seven);
    EXPECT_NE(text.find("flowers 2\n"), std::string::npos);
}

TEST_F(LibraryFileModuleTest, SaveThenOpenGivesTheSameLibrary) {
    fillLibrary();
    const std::string saved = save("lib.pmr");
    std::string error;
    ASSERT_EQ(libraryFileModule().openLibrary(dir.path("lib.pmr").string(), error), Opened)
        << error;
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower).size(), 1u);
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite).size(), 2u);
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene).size(), 1u);
    EXPECT_EQ(controller().library().size(), 3u);
    EXPECT_EQ(controller().sceneFocus().scenes().size(), 1u);
    // Ids were renumbered from 1 in file order, as they were created.
    EXPECT_EQ(save("again.pmr"), saved);
}

TEST_F(LibraryFileModuleTest, OpeningTheSameFileTwiceGivesTheSameIds) {
    fillLibrary();
    save("lib.pmr");
    std::string error;
    ASSERT_EQ(libraryFileModule().openLibrary(dir.path("lib.pmr").string(), error), Opened);
    const std::vector<int> first = libraryBrowser().ids(kCategoryComposite);
    ASSERT_EQ(libraryFileModule().openLibrary(dir.path("lib.pmr").string(), error), Opened);
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite), first);
}

TEST_F(LibraryFileModuleTest, OpenEndsInModeEightWithoutAWorkObject) {
    fillLibrary();
    save("lib.pmr");
    controller().setWorkObject(newPlant());
    controller().switchToMode(kModePetal);
    std::string error;
    ASSERT_EQ(libraryFileModule().openLibrary(dir.path("lib.pmr").string(), error), Opened);
    EXPECT_EQ(controller().mode(), kModeComposite);
    EXPECT_EQ(controller().workObject(), nullptr);
    EXPECT_EQ(controller().root(), nullptr);
    for (const auto& [id, object] : controller().library())
        EXPECT_TRUE(controller().libraryHolds(object.get()));
}

TEST_F(LibraryFileModuleTest, AFileThatIsNoLibraryIsRefusedBeforeAnythingIsLost) {
    fillLibrary();
    const std::string before = save("lib.pmr");
    std::ofstream(dir.path("notes.pmr")) << "Shopping list\n";
    std::string error;
    EXPECT_EQ(libraryFileModule().openLibrary(dir.path("notes.pmr").string(), error), Refused);
    EXPECT_NE(error.find("notes.pmr"), std::string::npos) << error;
    EXPECT_EQ(libraryFileModule().openLibrary(dir.path("missing.pmr").string(), error), Refused);
    EXPECT_NE(error.find("missing.pmr"), std::string::npos) << error;
    EXPECT_EQ(save("after.pmr"), before);
}

TEST_F(LibraryFileModuleTest, AFileThatBreaksOffChangesNothingAndSaysWhereUntilItsPartIsAskedFor) {
    fillLibrary();
    const std::string text = save("lib.pmr");
    const size_t cut = text.find("plants");
    ASSERT_NE(cut, std::string::npos);
    std::ofstream(dir.path("cut.pmr")) << text.substr(0, cut + 20);
    const int nextId = controller().nextId();
    std::string error;
    EXPECT_EQ(libraryFileModule().openLibrary(dir.path("cut.pmr").string(), error), Damaged);
    EXPECT_NE(error.find("cut.pmr"), std::string::npos) << error;
    EXPECT_NE(error.find("line"), std::string::npos) << error;
    EXPECT_EQ(save("after.pmr"), text);
    // The trial read took no ids from the library's counter.
    EXPECT_EQ(controller().nextId(), nextId + 1);

    ASSERT_TRUE(libraryFileModule().openReadablePart(dir.path("cut.pmr").string(), error));
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower).size(), 1u);
    EXPECT_TRUE(libraryBrowser().ids(kCategoryComposite).empty());
    EXPECT_EQ(controller().mode(), kModeComposite);
}

TEST_F(LibraryFileModuleTest, SavingToAnUnwritablePlaceFailsAndSaysWhere) {
    std::string error;
    EXPECT_FALSE(libraryFileModule().saveLibrary(dir.path("no/such/dir/lib.pmr").string(), error));
    EXPECT_NE(error.find("no/such/dir"), std::string::npos) << error;
}

TEST_F(LibraryFileModuleTest, StartingInAnEmptyDirectoryGivesAnEmptyLibraryInModeEight) {
    EXPECT_FALSE(libraryFileModule().loadStartupLibrary());
    for (int category = 0; category < kCategoryCount; ++category)
        EXPECT_EQ(libraryBrowser().entryCount(category), 1);
    EXPECT_EQ(controller().mode(), kModeComposite);
    EXPECT_EQ(controller().workObject(), nullptr);
}

TEST_F(LibraryFileModuleTest, StartingBesideAStartupLibraryListsItsEntriesInTheirCategories) {
    fillLibrary();
    save(LibraryFileModule::kStartupFileName);
    controller().resetAll();
    controller().switchToMode(kModePetal);
    EXPECT_TRUE(libraryFileModule().loadStartupLibrary());
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower), std::vector<int>{1});
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite), (std::vector<int>{2, 3}));
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene), std::vector<int>{4});
    EXPECT_EQ(controller().mode(), kModeComposite);
    EXPECT_EQ(controller().workObject(), nullptr);
}

TEST_F(LibraryFileModuleTest, ExportNeedsATargetObject) {
    std::string error;
    EXPECT_FALSE(libraryFileModule().exportFocusObj(dir.path("out").string(), false, error));
    EXPECT_FALSE(error.empty());
    controller().setWorkObject(newPlant());
    EXPECT_TRUE(libraryFileModule().exportFocusObj(dir.path("out").string(), false, error))
        << error;
    EXPECT_TRUE(fs::exists(dir.path("out.obj")));
    EXPECT_TRUE(fs::exists(dir.path("out.mtl")));
}
