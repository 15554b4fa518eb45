// Runs a fuzz target's entry point over kept inputs, without libFuzzer, so that the seed corpus
// and the regression inputs run in every build. Each argument is a file, a folder (every file
// under it) or a glob pattern; one that names nothing is skipped. Each input's name goes to the
// standard error before it runs, so a crash names its input. Fails when no input ran at all.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <glob.h>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace
{
std::vector<std::string> Expand(const std::string& argument)
{
    std::vector<std::string> files;
    glob_t found{};
    if (::glob(argument.c_str(), 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i)
        {
            const fs::path path = found.gl_pathv[i];
            std::error_code error;
            if (fs::is_directory(path, error))
            {
                for (const auto& entry : fs::recursive_directory_iterator(path, error))
                    if (entry.is_regular_file())
                        files.push_back(entry.path().string());
            }
            else
                files.push_back(path.string());
        }
    ::globfree(&found);
    return files;
}
}   // namespace

int main(int argc, char** argv)
{
    int ran = 0;
    for (int a = 1; a < argc; ++a)
        for (const std::string& file : Expand(argv[a]))
        {
            std::ifstream in(file, std::ios::binary);
            if (!in)
            {
                std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
                return 1;
            }
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            std::fprintf(stderr, "replay: %s\n", file.c_str());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++ran;
        }
    std::fprintf(stderr, "replay: %d inputs ran\n", ran);
    return ran > 0 ? 0 : 1;
}
