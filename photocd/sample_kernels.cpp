#include "sample_kernels.h"

#include <atomic>

#include "colour_tables.h"

namespace {

void AddResiduals(std::uint8_t* samples, const std::int8_t* residuals, int n) {
  for (int i = 0; i < n; ++i) {
    const int v = samples[i] + residuals[i];
    samples[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
}

void WidenPairs(const std::uint8_t* s, int pairs, std::uint8_t* out) {
  for (int k = 0; k < pairs; ++k) {
    const unsigned a = s[k], b = s[k + 1];
    out[2 * k] = static_cast<std::uint8_t>(a);
    out[2 * k + 1] = static_cast<std::uint8_t>((a + b + 1) >> 1);
  }
}

void BlendPairs(const std::uint8_t* p, const std::uint8_t* q, int pairs, std::uint8_t* out) {
  for (int k = 0; k < pairs; ++k) {
    const unsigned a = p[k] + q[k], b = p[k + 1] + q[k + 1];
    out[2 * k] = static_cast<std::uint8_t>((a + 1) >> 1);
    out[2 * k + 1] = static_cast<std::uint8_t>((a + b + 2) >> 2);
  }
}

void QuarterGroups(const std::int16_t* b, int groups, std::uint8_t* out) {
  for (int k = 0; k < groups; ++k) {
    const int a = b[k], c = b[k + 1];
    out[4 * k] = static_cast<std::uint8_t>((4 * a + 8) >> 4);
    out[4 * k + 1] = static_cast<std::uint8_t>((3 * a + c + 8) >> 4);
    out[4 * k + 2] = static_cast<std::uint8_t>((2 * a + 2 * c + 8) >> 4);
    out[4 * k + 3] = static_cast<std::uint8_t>((a + 3 * c + 8) >> 4);
  }
}

void YccToBgr(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count, std::uint8_t* out) {
  for (int x = 0; x < count; ++x, out += 3) {
    const pcd::Rgb rgb = pcd::YccToRgb(y[x], c1[x], c2[x]);
    out[0] = rgb.b;
    out[1] = rgb.g;
    out[2] = rgb.r;
  }
}

bool ProcessorHasSse2() {
#if defined(__x86_64__) || defined(_M_X64)
  return true;
#elif defined(__i386__) && (defined(__GNUC__) || defined(__clang__))
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

std::atomic<bool> g_useVector{true};

}  // namespace

const PcdSampleKernels kPcdScalarKernels = {AddResiduals, WidenPairs, BlendPairs, QuarterGroups, YccToBgr};

const PcdSampleKernels& PcdKernels() {
  static const bool sse2 = kPcdSse2Kernels && ProcessorHasSse2();
  return sse2 && g_useVector.load(std::memory_order_relaxed) ? *kPcdSse2Kernels : kPcdScalarKernels;
}

bool PcdUseVectorKernels(bool use) { return g_useVector.exchange(use); }
