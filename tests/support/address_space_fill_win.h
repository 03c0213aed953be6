// Leaves the process short of memory for large blocks while it lives: the
// address space is reserved in pieces down to minBytes, so that an allocation
// of twice that fails as it would in a full 32-bit process.
#pragma once
#include <windows.h>

#include <vector>

class AddressSpaceFill {
 public:
  explicit AddressSpaceFill(SIZE_T minBytes) {
    // Whatever the system hands out, largest pieces first (it also hands out
    // stretches that it does not report as free).
    for (SIZE_T size = SIZE_T{1} << 30; size >= minBytes; size /= 2)
      while (void* taken = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) taken_.push_back(taken);
  }
  ~AddressSpaceFill() { Release(); }
  AddressSpaceFill(const AddressSpaceFill&) = delete;
  AddressSpaceFill& operator=(const AddressSpaceFill&) = delete;

  void Release() {
    for (void* taken : taken_) VirtualFree(taken, 0, MEM_RELEASE);
    taken_.clear();
  }

 private:
  std::vector<void*> taken_;
};
