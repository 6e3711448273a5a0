// renderheap LAYER [--cache KB] [--png OUT.png]: the heap a view needs to draw a layer. Draws the
// whole globe, a Mediterranean close-up and twenty rotate steps at 1000 x 700 with the object
// cache limited to KB kilobytes (default 10240), and prints the peak and final bytes held by
// operator new (the process's own heap; file mappings are not heap), the allocator's in-use
// total at the end and the peak resident set (which also counts mapped pages read).

#include <malloc.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "bench/render/BenchView.h"
#include "platform/qt/QtBitmapImage.h"

namespace {

std::atomic<int64_t> gHeld{0}, gPeak{0};

void Counted(int64_t bytes) {
  const int64_t held = gHeld.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  int64_t peak = gPeak.load(std::memory_order_relaxed);
  while (held > peak && !gPeak.compare_exchange_weak(peak, held, std::memory_order_relaxed)) {
  }
}

void* Allocate(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  Counted(static_cast<int64_t>(malloc_usable_size(p)));
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  Counted(-static_cast<int64_t>(malloc_usable_size(p)));
  std::free(p);
}

double MB(int64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

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
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

int main(int argc, char** argv) {
  std::string layer, png;
  int32_t cache = 10240;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--cache" && i + 1 < argc) cache = std::atoi(argv[++i]);
    else if (arg == "--png" && i + 1 < argc) png = argv[++i];
    else if (layer.empty() && arg.rfind("--", 0) != 0) layer = arg;
    else {
      std::fprintf(stderr, "usage: renderheap LAYER [--cache KB] [--png OUT.png]\n");
      return 2;
    }
  }
  if (layer.empty()) {
    std::fprintf(stderr, "usage: renderheap LAYER [--cache KB] [--png OUT.png]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    bench::TBenchView view(layer, 1000, 700, cache);
    view.ShowWholeGlobe();
    view.Render();
    view.ShowMediterranean();
    view.Render();
    if (!png.empty()) platform::WritePng(view.Bitmap(), png);
    view.ShowWholeGlobe();
    for (int i = 0; i < 20; ++i) {
      view.RotateStep();
      view.Render();
    }
    const struct mallinfo2 info = mallinfo2();
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_heap_mb %.1f final_heap_mb %.1f malloc_in_use_mb %.1f max_rss_mb %.1f\n", MB(gPeak.load()),
                MB(gHeld.load()), MB(static_cast<int64_t>(info.uordblks + info.hblkhd)), usage.ru_maxrss / 1024.0);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "renderheap: %s\n", e.what());
    return 1;
  }
}
