// Runs a fuzz target's entry point once on each file given (or each file in
// a folder given), for builds without libFuzzer: the regression inputs replay
// under the regular and sanitizer builds.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i])) inputs.push_back(entry.path());
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  for (const std::filesystem::path& path : inputs) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      std::cerr << path.string() << ": cannot open\n";
      return 2;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::cout << path.string() << "\n" << std::flush;  // the input that was running, should it crash
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << inputs.size() << " inputs replayed\n";
  return 0;
}
