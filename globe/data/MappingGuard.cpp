#include "globe/data/MappingGuard.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>

namespace globe {

namespace {

// A guarded mapping. Claimed through InUse; Start is set last and cleared first, so the handler
// only sees whole entries.
struct TGuardedRange {
    std::atomic<bool> InUse{false};
    std::atomic<std::uintptr_t> Start{0};
    std::atomic<std::size_t> Size{0};
    std::atomic<bool> Damaged{false};
};

constexpr int kSlots = 4096;
TGuardedRange gRanges[kSlots];
struct sigaction gPrevious {};
std::uintptr_t gPageSize = 4096;
std::once_flag gInstalled;

// What the handler that was there before would have done with the signal.
void PassOn(int signal, siginfo_t* info, void* context) {
    if (gPrevious.sa_flags & SA_SIGINFO) {
        if (gPrevious.sa_sigaction != nullptr) {
            gPrevious.sa_sigaction(signal, info, context);
            return;
        }
    } else if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != SIG_IGN) {
        gPrevious.sa_handler(signal);
        return;
    }
    // The default: a fault ends the program when the instruction runs again; a sent signal is
    // sent again.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    if (info == nullptr || info->si_code <= 0) ::raise(signal);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    // Only a fault the system raised has an address; a signal sent by a program has none.
    const bool fault = info != nullptr && info->si_code > 0;
    const auto address = fault ? reinterpret_cast<std::uintptr_t>(info->si_addr) : 0;
    for (TGuardedRange& range : gRanges) {
        const std::uintptr_t start = range.Start.load(std::memory_order_acquire);
        if (start == 0 || address < start || address - start >= range.Size.load(std::memory_order_acquire)) continue;
        // A page of zeros in place of the missing one; the read then goes on.
        void* page = reinterpret_cast<void*>(address & ~(gPageSize - 1));
        if (::mmap(page, gPageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            range.Damaged.store(true, std::memory_order_release);
            errno = savedErrno;
            return;
        }
        break;
    }
    errno = savedErrno;
    PassOn(signal, info, context);
}

void Install() {
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pageSize > 0) gPageSize = static_cast<std::uintptr_t>(pageSize);
    struct sigaction handler {};
    handler.sa_sigaction = OnBusError;
    handler.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&handler.sa_mask);
    ::sigaction(SIGBUS, &handler, &gPrevious);
}

} // namespace

TMappingGuard::TMappingGuard(const void* start, std::size_t size) {
    if (start == nullptr || size == 0) return;
    std::call_once(gInstalled, Install);
    for (int slot = 0; slot < kSlots; ++slot) {
        TGuardedRange& range = gRanges[slot];
        if (range.InUse.exchange(true, std::memory_order_acq_rel)) continue;
        range.Damaged.store(false, std::memory_order_relaxed);
        range.Size.store(size, std::memory_order_relaxed);
        range.Start.store(reinterpret_cast<std::uintptr_t>(start), std::memory_order_release);
        Slot_ = slot;
        return;
    }
}

TMappingGuard::~TMappingGuard() {
    if (Slot_ < 0) return;
    TGuardedRange& range = gRanges[Slot_];
    range.Start.store(0, std::memory_order_release);
    range.InUse.store(false, std::memory_order_release);
}

bool TMappingGuard::Damaged() const {
    return Slot_ >= 0 && gRanges[Slot_].Damaged.load(std::memory_order_acquire);
}

} // namespace globe
