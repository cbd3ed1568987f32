// Runs a fuzz target without libFuzzer, so that its checks run with every test
// run and need no clang: each file of the corpus folder, then a fixed number of
// inputs made from the corpus by a seeded generator (bytes replaced, inserted,
// removed or copied, drawn from the bytes the corpus holds or at random).
//
//   replay_<target> CORPUS-FOLDER [RUNS]
//
// A broken check aborts, as under libFuzzer; the same arguments always give the
// same inputs.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(argv[1]), {});
    std::sort(files.begin(), files.end());
    std::vector<std::string> corpus;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        run(corpus.back());
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "%s: no corpus in %s\n", argv[0], argv[1]);
        return 2;
    }
    std::string alphabet;
    for (const std::string& input : corpus) {
        alphabet += input;
    }
    std::mt19937 random(1);
    const auto below = [&](std::size_t n) { return n ? std::size_t(random() % n) : 0; };
    const auto byte = [&] {
        return alphabet.empty() || random() % 4 == 0 ? char(random())
                                                     : alphabet[below(alphabet.size())];
    };
    const long runs = argc > 2 ? std::atol(argv[2]) : 10000;
    for (long n = 0; n < runs; ++n) {
        std::string input = corpus[below(corpus.size())];
        for (std::size_t changes = 1 + below(4); changes > 0; --changes) {
            const std::size_t at = below(input.size() + 1);
            switch (random() % 4) {
                case 0:
                    if (at < input.size()) {
                        input[at] = byte();
                    }
                    break;
                case 1:
                    input.insert(input.begin() + at, byte());
                    break;
                case 2:
                    input.erase(at, 1 + below(8));
                    break;
                default: {
                    const std::string& other = corpus[below(corpus.size())];
                    input.insert(at, other.substr(below(other.size()), below(16)));
                    break;
                }
            }
        }
        run(input);
    }
    std::printf("%s: %zu corpus inputs and %ld made from them passed\n", argv[0], corpus.size(),
                runs);
    return 0;
}
