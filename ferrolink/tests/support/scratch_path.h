#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// A path in the temporary folder that no other test process uses (CTest runs them in parallel).
inline std::filesystem::path ScratchPath(const std::string& strName) {
    return std::filesystem::path(::testing::TempDir()) / (strName + "-" + std::to_string(::getpid()));
}

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
