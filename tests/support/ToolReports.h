#pragma once

#include "support/TextLines.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>

#include <sys/wait.h>

// What another program says about a file: the output (standard error included) of
// a shell command, and its exit status.
struct ToolReport {
    std::string text;
    int status = -1;
};

inline ToolReport runTool(const std::string& command) {
    ToolReport report;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return report;
    std::array<char, 4096> block;
    while (fgets(block.data(), block.size(), pipe))
        report.text += block.data();
    const int status = pclose(pipe);
    report.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return report;
}

// What another tool makes of a mesh file: assimp's report, on a raw import or with
// assimp's usual clean-up (degenerate triangles become lines and points).
inline std::string assimpInfo(const std::string& file, bool raw = true) {
    return runTool("assimp info '" + file + "'" + (raw ? " -r" : "")).text;
}

// The value after "label:" on the report's line that starts with it.
inline std::string reportValue(const std::string& report, const std::string& label) {
    for (const std::string& line : lines(report))
        if (line.rfind(label + ":", 0) == 0) {
            const size_t value = line.find_first_not_of(' ', label.size() + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
    return "";
}

// The triangles of the whole scene in an assimp report: every node's meshes, a mesh
// counted once per node that shows it (the report lists a shared mesh only once).
inline long reportedSceneTriangles(const std::string& report) {
    std::map<int, long> triangles;
    const std::regex mesh(R"(^\s+(\d+) \(.*\): \[\d+ / \d+ / (\d+) \| (\w+)\])");
    const std::regex uses(R"(\(mesh ([\d, ]+)\))");
    long total = 0;
    bool hierarchy = false;
    for (const std::string& line : lines(report)) {
        std::smatch match;
        if (line.rfind("Node hierarchy", 0) == 0)
            hierarchy = true;
        if (!hierarchy && std::regex_search(line, match, mesh) && match[3] == "triangle")
            triangles[std::stoi(match[1])] = std::stol(match[2]);
        if (hierarchy && std::regex_search(line, match, uses)) {
            std::string list = match[1];
            for (size_t at = 0; at < list.size();) {
                const size_t end = std::min(list.find(',', at), list.size());
                total += triangles[std::stoi(list.substr(at, end - at))];
                at = end + 1;
            }
        }
    }
    return total;
}
