#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <filesystem>
#include <string>

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::string operator/(const std::string& name) const { return (path / name).string(); }

    static void WriteFile(const std::string& path, const std::string& content);
    static std::string ReadFile(const std::string& path);

private:
    std::filesystem::path path;
};

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value);   // null value unsets
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    std::string old;
    bool hadOld;
};
