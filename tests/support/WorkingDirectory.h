#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

// Runs a test inside its own empty working directory, removed afterwards.
class WorkingDirectory {
public:
    WorkingDirectory() {
        previous_ = std::filesystem::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("pelmora-") + (info ? info->name() : "test") + "-" +
                std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~WorkingDirectory() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    std::filesystem::path path(const std::string& name) const { return dir_ / name; }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};
