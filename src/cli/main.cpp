#include <cstdio>
#include <cstring>

namespace {

constexpr char kUsage[] =
    "Usage:\n"
    "  lumetra-cli convert INPUT OUTPUT [--fps RATE]\n"
    "  lumetra-cli list INPUT [--fps RATE]\n"
    "  lumetra-cli info INPUT [--fps RATE]\n"
    "  lumetra-cli --help | --version\n";

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
