// The SSE2 kernels give the scalar kernels' bytes: the colour conversion for
// every PhotoYCC triple, the others for random samples of every length up to
// 100 (so every tail). Runs natively and in the 32-bit program under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "sample_kernels.h"

namespace {

TEST(SampleKernels, Sse2GivesTheScalarResultForEveryColourAndLength) {
  if (!kPcdSse2Kernels) GTEST_SKIP() << "no SSE2 on this processor family";
  const PcdSampleKernels &scalar = kPcdScalarKernels, &vector = *kPcdSse2Kernels;
  // Every processor these tests run on has SSE2, so decoding picks it, until told not to.
  EXPECT_EQ(PcdKernels().yccToBgr, vector.yccToBgr);
  const bool saved = PcdUseVectorKernels(false);
  EXPECT_EQ(PcdKernels().yccToBgr, scalar.yccToBgr);
  PcdUseVectorKernels(saved);
  // Every PhotoYCC triple: 256 rows of 65536 pixels (odd lengths leave tails).
  std::vector<std::uint8_t> y(65536), c1(65536), c2(65536), a(3 * 65536), b(3 * 65536);
  for (int i = 0; i < 65536; ++i) {
    c1[i] = static_cast<std::uint8_t>(i >> 8);
    c2[i] = static_cast<std::uint8_t>(i);
  }
  for (int luma = 0; luma < 256; ++luma) {
    std::fill(y.begin(), y.end(), static_cast<std::uint8_t>(luma));
    const int n = 65536 - (luma & 7);
    scalar.yccToBgr(y.data(), c1.data(), c2.data(), n, a.data());
    vector.yccToBgr(y.data(), c1.data(), c2.data(), n, b.data());
    ASSERT_EQ(std::memcmp(a.data(), b.data(), 3 * n), 0) << "luma " << luma;
  }

  std::mt19937 random(7);
  const auto bytes = [&](int n) {
    std::vector<std::uint8_t> v(n);
    for (auto& x : v) x = static_cast<std::uint8_t>(random());
    return v;
  };
  for (int n = 0; n < 100; ++n) {
    const std::vector<std::uint8_t> s = bytes(n + 1), q = bytes(n + 1);
    std::vector<std::uint8_t> outA(4 * n + 1), outB(4 * n + 1);
    std::vector<std::int8_t> residuals(n);
    for (auto& r : residuals) r = static_cast<std::int8_t>(random());
    std::vector<std::uint8_t> samplesA = s, samplesB = s;
    scalar.addResiduals(samplesA.data(), residuals.data(), n);
    vector.addResiduals(samplesB.data(), residuals.data(), n);
    EXPECT_EQ(samplesA, samplesB) << n;
    scalar.widenPairs(s.data(), n, outA.data());
    vector.widenPairs(s.data(), n, outB.data());
    EXPECT_EQ(outA, outB) << n;
    scalar.blendPairs(s.data(), q.data(), n, outA.data());
    vector.blendPairs(s.data(), q.data(), n, outB.data());
    EXPECT_EQ(outA, outB) << n;
    std::vector<std::int16_t> sums(n + 1);
    for (int k = 0; k <= n; ++k) sums[k] = static_cast<std::int16_t>(4 * s[k] - (q[k] & 3) * (s[k] - q[k]));
    scalar.quarterGroups(sums.data(), n, outA.data());
    vector.quarterGroups(sums.data(), n, outB.data());
    EXPECT_EQ(outA, outB) << n;
  }
}

#if defined(__i386__)
// A Windows thread may enter code with its stack aligned to 4 bytes only;
// the kernels must still run there. Calls every kernel with the stack 4
// bytes off a 16-byte boundary.
struct KernelRun {
  std::uint8_t y[64], c1[64], c2[64], bgr[3 * 64], out[4 * 64 + 4];
  std::int16_t sums[65];
  std::int8_t residuals[64];
} g_run;

void RunEveryKernel() {
  const PcdSampleKernels& k = *kPcdSse2Kernels;
  k.yccToBgr(g_run.y, g_run.c1, g_run.c2, 64, g_run.bgr);
  k.addResiduals(g_run.y, g_run.residuals, 64);
  k.widenPairs(g_run.y, 63, g_run.out);
  k.blendPairs(g_run.y, g_run.c1, 63, g_run.out);
  k.quarterGroups(g_run.sums, 64, g_run.out);
}

__attribute__((noinline)) void CallWithStackOffBy4(void (*function)()) {
  asm volatile(
      "mov %%esp, %%esi\n\t"
      "and $-16, %%esp\n\t"
      "sub $4, %%esp\n\t"
      "call *%0\n\t"
      "mov %%esi, %%esp"
      :
      : "r"(function)
      : "esi", "eax", "ecx", "edx", "memory", "cc");
}

TEST(SampleKernels, Sse2KernelsRunOnAStackAlignedTo4Bytes) {
  if (!kPcdSse2Kernels) GTEST_SKIP() << "no SSE2 on this processor family";
  for (int i = 0; i < 64; ++i) {
    g_run.y[i] = static_cast<std::uint8_t>(i * 4);
    g_run.c1[i] = static_cast<std::uint8_t>(100 + i);
    g_run.c2[i] = static_cast<std::uint8_t>(200 - i);
  }
  std::uint8_t expected[3 * 64];
  kPcdScalarKernels.yccToBgr(g_run.y, g_run.c1, g_run.c2, 64, expected);
  CallWithStackOffBy4(RunEveryKernel);
  EXPECT_EQ(std::memcmp(g_run.bgr, expected, sizeof expected), 0);
}
#endif

}  // namespace
