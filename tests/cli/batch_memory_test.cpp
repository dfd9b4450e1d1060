// lumetra-cli's blocks of up to 1 MiB come from a region given back only at exit, and from
// malloc once it is used up or for larger ones: every block is its own, aligned and whole,
// across both edges.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

TEST(BatchMemory, BlocksStayDistinctAndWholeBeyondTheRegion) {
  // 40 MiB of small blocks: more than the region holds, so the last come from malloc.
  constexpr std::size_t kBlockBytes = 512;
  constexpr std::size_t kBlocks = (std::size_t{40} << 20) / kBlockBytes;
  std::vector<std::unique_ptr<char[]>> blocks;
  blocks.reserve(kBlocks);
  for (std::size_t i = 0; i < kBlocks; ++i) {
    // Every size up to 512 bytes, and empty ones.
    const std::size_t size = i < 1024 ? i % (kBlockBytes + 1) : kBlockBytes;
    blocks.emplace_back(new char[size]);
    ASSERT_EQ(
        reinterpret_cast<std::uintptr_t>(blocks.back().get()) % __STDCPP_DEFAULT_NEW_ALIGNMENT__,
        0u);
    std::memset(blocks.back().get(), static_cast<int>(i % 251), size);
  }
  for (std::size_t i = 0; i < kBlocks; ++i) {
    const std::size_t size = i < 1024 ? i % (kBlockBytes + 1) : kBlockBytes;
    for (std::size_t k = 0; k < size; k += 97) {
      ASSERT_EQ(static_cast<unsigned char>(blocks[i][k]), i % 251) << "block " << i;
    }
  }
  // Blocks given back, region and malloc ones alike.
  blocks.clear();
  // The largest block the region hands out and the smallest it leaves to malloc.
  for (const std::size_t size : {std::size_t{1} << 20, (std::size_t{1} << 20) + 1}) {
    std::vector<char> large(size, 7);
    EXPECT_EQ(large.front() + large.back(), 14);
  }
}

// Each thread hands out blocks from its own chunks of the region: blocks made at the same
// time in several threads never overlap.
TEST(BatchMemory, ThreadsGetBlocksOfTheirOwn) {
  constexpr int kThreads = 4;
  constexpr std::size_t kBlocks = 20000;
  std::vector<std::vector<std::unique_ptr<char[]>>> blocks(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&blocks, t] {
      for (std::size_t i = 0; i < kBlocks; ++i) {
        const std::size_t size = 1 + (i * 37 + static_cast<std::size_t>(t)) % 300;
        blocks[t].emplace_back(new char[size]);
        std::memset(blocks[t].back().get(), t + 1, size);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (std::size_t i = 0; i < kBlocks; ++i) {
      const std::size_t size = 1 + (i * 37 + static_cast<std::size_t>(t)) % 300;
      ASSERT_EQ(blocks[t][i][0], t + 1);
      ASSERT_EQ(blocks[t][i][size - 1], t + 1) << t << " " << i;
    }
  }
}

}  // namespace
