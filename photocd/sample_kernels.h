// The per-sample loops of decoding above BASE, in two versions that give the
// same bytes: portable scalar code, and SSE2 code that the 32-bit program
// uses only when the processor has SSE2 (checked once, at first use).
#pragma once
#include <cstdint>

struct PcdSampleKernels {
  // samples[i] = clamp(samples[i] + residuals[i], 0, 255).
  void (*addResiduals)(std::uint8_t* samples, const std::int8_t* residuals, int n);
  // Pairs k: s[k], then (s[k] + s[k + 1] + 1) >> 1; reads s[0 .. pairs].
  void (*widenPairs)(const std::uint8_t* s, int pairs, std::uint8_t* out);
  // Pairs k between rows p and q: (p[k] + q[k] + 1) >> 1, then
  // (p[k] + q[k] + p[k + 1] + q[k + 1] + 2) >> 2.
  void (*blendPairs)(const std::uint8_t* p, const std::uint8_t* q, int pairs, std::uint8_t* out);
  // Groups of four k from vertically weighted sums b (weights summing to 4):
  // ((4 - j) * b[k] + j * b[k + 1] + 8) >> 4 for j = 0 .. 3.
  void (*quarterGroups)(const std::int16_t* b, int groups, std::uint8_t* out);
  // count pixels of PhotoYCC to curve-mapped blue, green, red, pixels 3 bytes apart.
  void (*yccToBgr)(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count,
                   std::uint8_t* out);
};

extern const PcdSampleKernels kPcdScalarKernels;
// Null where the compiler cannot build SSE2 code.
extern const PcdSampleKernels* const kPcdSse2Kernels;

// The kernels decoding uses: SSE2 when the processor has it, unless switched
// off (for comparing both, and for measuring).
const PcdSampleKernels& PcdKernels();
// Uses the scalar kernels only (false) or the best the processor has (true);
// returns the previous choice. Not for use while a decode runs.
bool PcdUseVectorKernels(bool use);

inline void PcdAddResiduals(std::uint8_t* samples, const std::int8_t* residuals, int n) {
  PcdKernels().addResiduals(samples, residuals, n);
}
