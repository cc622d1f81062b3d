// Without libFuzzer (the gcc build) each fuzz target becomes a program that runs every input
// named on its command line once: files, or every file of a folder. The test suite uses it to
// replay the committed seed corpus under the gcc sanitizers.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) {
      inputs.emplace_back(argv[i]);
      continue;
    }
    for (const auto& e : fs::directory_iterator(argv[i]))
      if (e.is_regular_file()) inputs.push_back(e.path());
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& p : inputs) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::fprintf(stderr, "cannot read %s\n", p.c_str()), 2;
    const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 2 : 0;
}
