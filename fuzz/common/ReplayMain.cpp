// Runs a fuzz target once over each file it is given (files, or folders of files), without
// libFuzzer: the ordinary test build replays the seeds and the inputs that once failed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* pArgc, char*** pArgv);

namespace fs = std::filesystem;

static void CollectInputs(const fs::path& path, std::vector<fs::path>& inputs)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(path, ec))
            if (entry.is_regular_file(ec))
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());     // the same order on every machine
        inputs.insert(inputs.end(), files.begin(), files.end());
    } else if (fs::is_regular_file(path, ec)) {
        inputs.push_back(path);
    }
    // A folder that does not exist (no regression inputs yet) adds nothing.
}

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i)
        CollectInputs(argv[i], inputs);
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs found (a target needs seeds)\n");
        return 1;
    }
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Announced first, so a crash names the input that caused it.
        std::fprintf(stderr, "replay: %s\n", path.c_str());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
