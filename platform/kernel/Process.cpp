// Interlocked operations, the tick count and the process.
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <windows.h>

static_assert(sizeof(std::atomic<LONG>) == sizeof(LONG), "interlocked values are plain LONGs");

namespace {
std::atomic_ref<LONG> atomicAt(LONG volatile* value) { return std::atomic_ref<LONG>(*const_cast<LONG*>(value)); }
}  // namespace

LONG WINAPI InterlockedIncrement(LONG volatile* value) { return atomicAt(value).fetch_add(1) + 1; }

LONG WINAPI InterlockedDecrement(LONG volatile* value) { return atomicAt(value).fetch_sub(1) - 1; }

LONG WINAPI InterlockedExchange(LONG volatile* target, LONG value) { return atomicAt(target).exchange(value); }

void WINAPI Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Milliseconds since the system started; wraps after 49.7 days as on the device.
DWORD WINAPI GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<DWORD>(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}

DWORD WINAPI GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }
