// A fresh account folder per test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace tidewell::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return m_path; }
    std::u16string u16() const;
    std::filesystem::path data() const { return m_path / "Data"; }
    std::filesystem::path profile() const { return m_path / "profile.cfg"; }

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tidewell::test
