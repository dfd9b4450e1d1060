// The memory of lumetra-cli's blocks. The program runs one command and ends with _Exit,
// when the system takes back all its memory at once: blocks of up to 1 MiB (every frame's
// text, the frame slots, the write buffer) are handed out in order from one region (each
// thread from its own chunks of it) and never given back one by one, which costs a few instructions instead of the general
// allocator's search of its bins. The region is aligned to a huge page and asks the system
// for huge pages: a whole document then takes one page fault instead of one for each
// 4 KiB (where the system gives none, it works with small pages as before). Larger blocks,
// and every block once the region is used up, come from malloc and go back to free as
// usual. Linked into lumetra-cli alone, never with the sanitizers (they keep their own
// allocator to check every block).
#include <sys/mman.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kLargestRegionBlock = std::size_t{1} << 20;
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Address space reserved at the first block (far more than the largest document takes);
// pages are only taken as they are used.
constexpr std::size_t kRegionBytes = std::size_t{32} << 20;
constexpr std::size_t kAlignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

// The region, or null while none is reserved (or none could be).
std::atomic<char*> g_region{nullptr};
std::atomic<bool> g_region_tried{false};
std::atomic<std::size_t> g_used{0};

char* Region() {
  char* region = g_region.load(std::memory_order_acquire);
  if (region != nullptr || g_region_tried.exchange(true)) {
    return g_region.load(std::memory_order_acquire);
  }
  // Aligned to a huge page, which the system may back it with: one fault instead of one
  // per 4 KiB page for the first 2 MiB (a whole document's texts and frame slots).
  void* mapped = ::mmap(nullptr, kRegionBytes + kHugePageBytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(mapped);
  char* aligned = reinterpret_cast<char*>((address + kHugePageBytes - 1) & ~(kHugePageBytes - 1));
#ifdef MADV_HUGEPAGE
  ::madvise(aligned, kRegionBytes, MADV_HUGEPAGE);
#endif
  g_region.store(aligned, std::memory_order_release);
  return aligned;
}

bool InRegion(const void* block) {
  const char* region = g_region.load(std::memory_order_acquire);
  const auto at = reinterpret_cast<std::uintptr_t>(block);
  const auto start = reinterpret_cast<std::uintptr_t>(region);
  return region != nullptr && at >= start && at - start < kRegionBytes;
}

// The part of the region that this thread hands its blocks out from, [t_next, t_end): taken
// from the region a chunk at a time, so that most blocks cost no atomic operation shared
// with other threads.
constexpr std::size_t kChunkBytes = std::size_t{256} << 10;
thread_local char* t_next = nullptr;
thread_local char* t_end = nullptr;

// A block of `rounded` bytes from a new chunk of the region (a block larger than a chunk
// alone), or null when the region is used up or there is none. The rest of the thread's
// old chunk stays unused.
char* FromRegion(std::size_t rounded) {
  char* region = Region();
  if (region == nullptr) return nullptr;
  const std::size_t take = rounded > kChunkBytes ? rounded : kChunkBytes;
  const std::size_t offset = g_used.fetch_add(take, std::memory_order_relaxed);
  if (offset >= kRegionBytes) return nullptr;
  // The last chunk may be cut short by the region's end.
  const std::size_t end = kRegionBytes - offset < take ? kRegionBytes : offset + take;
  if (end - offset < rounded) return nullptr;
  if (take == kChunkBytes) {
    t_next = region + offset + rounded;
    t_end = region + end;
  }
  return region + offset;
}

// A block from a new chunk of the region, or from malloc.
[[gnu::noinline]] void* AllocateFromNewChunk(std::size_t size, std::size_t rounded) {
  if (size <= kLargestRegionBlock) {
    if (char* block = FromRegion(rounded)) return block;
  }
  for (;;) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* Allocate(std::size_t size) {
  const std::size_t rounded = size == 0 ? kAlignment : (size + kAlignment - 1) & ~(kAlignment - 1);
  // (A size near the largest wraps to a small `rounded`, which the check of `size` below
  // leaves to malloc.)
  if (rounded <= static_cast<std::size_t>(t_end - t_next) && size <= kLargestRegionBlock) {
    char* block = t_next;
    t_next += rounded;
    return block;
  }
  return AllocateFromNewChunk(size, rounded);
}

void Release(void* block) {
  if (!InRegion(block)) std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }
