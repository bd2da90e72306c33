// A folder of a test's own files.
#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, made by mkdtemp, so that
// no other test, process or build tree can have the same one; removed with
// everything in it at the end.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string File(const std::string& name) const { return (path / name).string(); }
};
