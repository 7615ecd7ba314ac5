// A folder of its own for each test case, in the temporary folder: <prefix><process id>_<test
// name>, emptied of what an earlier run left there.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace tovani::test {

inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (prefix + std::to_string(::getpid()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    return dir;
}

} // namespace tovani::test
