// SPDX-License-Identifier: Apache-2.0
// Replaces the global operator new and delete of the suite it is linked into, so that a test can
// make the nth allocation of a call fail (see tests/test_util.h). The library's calls of
// operator new resolve to these too.
#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/test_util.h"

namespace {
thread_local long t_countdown = 0;  // > 0: allocations left before the one that fails
thread_local bool t_failed = false;
std::atomic<long> g_live{0};

void* Allocate(std::size_t n) {
    if (t_countdown > 0 && --t_countdown == 0) {
        t_failed = true;
        throw std::bad_alloc();
    }
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    g_live.fetch_add(1);
    return p;
}

void Release(void* p) noexcept {
    if (p == nullptr) return;
    g_live.fetch_sub(1);
    std::free(p);
}
}  // namespace

namespace testutil {
void FailNthAllocation(long nth) {
    t_countdown = nth;
    t_failed = false;
}
void StopFailing() {
    t_countdown = 0;
}
bool AllocationFailed() {
    return t_failed;
}
long LiveAllocations() {
    return g_live.load();
}
NoAllocationFailure::NoAllocationFailure() : saved_(t_countdown) {
    t_countdown = 0;
}
NoAllocationFailure::~NoAllocationFailure() {
    t_countdown = saved_;
}
}  // namespace testutil

void* operator new(std::size_t n) {
    return Allocate(n);
}
void* operator new[](std::size_t n) {
    return Allocate(n);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
