#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// A path in the temporary folder that no other test process uses (CTest runs them in parallel).
inline std::filesystem::path ScratchPath(const std::string& strName) {
    return std::filesystem::path(::testing::TempDir()) / (strName + "-" + std::to_string(::getpid()));
}
