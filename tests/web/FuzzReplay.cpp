// Runs a fuzz target where libFuzzer is not to be had: every input of its corpus, then inputs grown from
// them by a fixed-seed run of byte changes, splices and cuts. The target aborts on a fault.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::string grown(const std::vector<std::string>& corpus, std::mt19937& random)
{
    static const std::string alphabet = "0123456789+-.,eE \t\r\n";
    std::string input = corpus[random() % corpus.size()];
    const int changes = 1 + int(random() % 4);
    for (int i = 0; i < changes; ++i) {
        const std::size_t at = input.empty() ? 0 : random() % (input.size() + 1);
        switch (random() % 4) {
        case 0:
            input.insert(at, 1, alphabet[random() % alphabet.size()]);
            break;
        case 1:
            if (at < input.size())
                input[at] = char(random() % 256);
            break;
        case 2:
            input.insert(at, corpus[random() % corpus.size()]);
            break;
        default:
            input.erase(at, random() % 3);
            break;
        }
    }
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> corpus;
    if (argc == 2)
        for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
            std::ifstream file(entry.path(), std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
    if (corpus.empty()) {
        std::fprintf(stderr, "usage: fuzz_replay CORPUS-FOLDER (a folder of inputs)\n");
        return 1;
    }
    for (const std::string& input : corpus)
        run(input);
    std::mt19937 random(1);
    const int grownRuns = 200000;
    for (int i = 0; i < grownRuns; ++i)
        run(grown(corpus, random));
    std::printf("%zu corpus inputs and %d grown ones passed\n", corpus.size(), grownRuns);
    return 0;
}
