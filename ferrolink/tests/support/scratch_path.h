#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

// A path in the temporary folder that no other test process uses (CTest runs them in parallel).
inline std::filesystem::path ScratchPath(const std::string& strName) {
    return std::filesystem::path(::testing::TempDir()) / (strName + "-" + std::to_string(::getpid()));
}

// A test with a folder of its own in the temporary folder, emptied away afterwards.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = ScratchPath(std::string("ferrolink_") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Writes the bytes into a file of the folder and gives its path.
    std::string Write(const std::string& strName, const std::string& bytes) {
        const std::string strPath = (m_dir / strName).string();
        std::ofstream(strPath, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return strPath;
    }

    std::filesystem::path m_dir;
};

// Sets an environment variable for the lifetime of the object and puts back what was there.
class CScopedEnvironment {
public:
    CScopedEnvironment(const char* pszName, const std::string& strValue) : m_strName(pszName) {
        if (const char* pszOld = std::getenv(pszName)) {
            m_bHadValue = true;
            m_strOld = pszOld;
        }
        ::setenv(pszName, strValue.c_str(), 1);
    }
    ~CScopedEnvironment() {
        if (m_bHadValue) {
            ::setenv(m_strName.c_str(), m_strOld.c_str(), 1);
        } else {
            ::unsetenv(m_strName.c_str());
        }
    }
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;

private:
    std::string m_strName;
    std::string m_strOld;
    bool m_bHadValue = false;
};
