#include "library/LibraryFile.h"
#include "library/LibraryReaders.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"
#include "support/ModelRecords.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

class CountingSink : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode> object, int) override {
        ASSERT_NE(object, nullptr);
        ++objects;
    }
    void addScene(std::unique_ptr<SceneRoot> scene) override {
        ASSERT_NE(scene, nullptr);
        ++scenes;
    }
    int objects = 0;
    int scenes = 0;
};

std::filesystem::path corpusDirectory() {
    const char* data = std::getenv("PELMORA_TEST_DATA");
    return std::filesystem::path(data ? data : "tests/data") / "library-corpus";
}

using Status = LibraryLoadResult::Status;

} // namespace

// Every file of the fuzzing corpus, the seeds and what the fuzzer kept, goes through
// the reader under the sanitizers; the hand-made hostile ones must stop where they
// break and say where.
TEST(CorpusReplayTest, EveryCorpusFileReadsWithoutHarm) {
    const std::map<std::string, Status> expected = {
        {"plant.pmr", Status::Loaded},
        {"scene.pmr", Status::Loaded},
        {"every-class.pmr", Status::Loaded},
        {"organs.pmr", Status::Loaded},
        {"wrong-header.pmr", Status::WrongHeader},
        {"empty.pmr", Status::WrongHeader},
        {"huge-count.pmr", Status::Malformed},
        {"negative-count.pmr", Status::Malformed},
        {"huge-point-count.pmr", Status::Malformed},
        {"non-finite.pmr", Status::Malformed},
        {"infinite.pmr", Status::Malformed},
        {"not-a-number.pmr", Status::Malformed},
        {"truncated.pmr", Status::Malformed},
        {"mismatched-end.pmr", Status::EntryMismatch},
        {"unknown-child.pmr", Status::Malformed},
        {"deep-nesting.pmr", Status::Malformed},
        {"binary.pmr", Status::Malformed},
    };
    int seen = 0;
    for (const auto& file : std::filesystem::directory_iterator(corpusDirectory())) {
        OwnModelRecords records;
        CountingSink sink;
        const std::string name = file.path().filename().string();
        const LibraryLoadResult result =
            loadLibraryFile(file.path().string(), libraryReaders(), records.reading(), sink);
        ++seen;
        const auto known = expected.find(name);
        if (known == expected.end())
            continue;
        EXPECT_EQ(result.status, known->second) << name << ": " << result.message;
        if (result.status == Status::Malformed) {
            EXPECT_NE(result.message.find("line "), std::string::npos)
                << name << ": " << result.message;
        }
    }
    EXPECT_GE(seen, static_cast<int>(expected.size()));
}
