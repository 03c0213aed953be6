// SSE2 versions of the sample kernels, built for any x86 target and called
// only when the processor has SSE2. Each gives exactly the scalar result.
#include "sample_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

#include "colour_tables.h"

#if defined(__i386__)
// 32-bit Windows keeps the stack aligned to 4 bytes only: registers spilled
// by SSE2 code need it realigned to 16 on entry.
#define SSE2_CODE __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define SSE2_CODE __attribute__((target("sse2")))
#endif

namespace {

SSE2_CODE void AddResiduals(std::uint8_t* samples, const std::int8_t* residuals, int n) {
  // In the signed range (sample - 128) a saturating add clamps to 0..255.
  const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
  int i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i s = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i)), bias);
    const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(residuals + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(samples + i), _mm_xor_si128(_mm_adds_epi8(s, r), bias));
  }
  kPcdScalarKernels.addResiduals(samples + i, residuals + i, n - i);
}

SSE2_CODE void WidenPairs(const std::uint8_t* s, int pairs, std::uint8_t* out) {
  int k = 0;
  for (; k + 16 <= pairs; k += 16) {  // reads s[k + 16], which exists while k + 16 <= pairs
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
    const __m128i mean = _mm_avg_epu8(a, _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k + 1)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k), _mm_unpacklo_epi8(a, mean));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k + 16), _mm_unpackhi_epi8(a, mean));
  }
  kPcdScalarKernels.widenPairs(s + k, pairs - k, out + 2 * k);
}

SSE2_CODE inline __m128i Sum4(__m128i p0, __m128i q0, __m128i p1, __m128i q1) {
  const __m128i sum = _mm_add_epi16(_mm_add_epi16(p0, q0), _mm_add_epi16(p1, q1));
  return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(2)), 2);
}

SSE2_CODE void BlendPairs(const std::uint8_t* p, const std::uint8_t* q, int pairs, std::uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  int k = 0;
  for (; k + 16 <= pairs; k += 16) {
    const __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
    const __m128i q0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k));
    const __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k + 1));
    const __m128i q1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k + 1));
    const __m128i even = _mm_avg_epu8(p0, q0);
    const __m128i lo = Sum4(_mm_unpacklo_epi8(p0, zero), _mm_unpacklo_epi8(q0, zero), _mm_unpacklo_epi8(p1, zero),
                            _mm_unpacklo_epi8(q1, zero));
    const __m128i hi = Sum4(_mm_unpackhi_epi8(p0, zero), _mm_unpackhi_epi8(q0, zero), _mm_unpackhi_epi8(p1, zero),
                            _mm_unpackhi_epi8(q1, zero));
    const __m128i odd = _mm_packus_epi16(lo, hi);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k), _mm_unpacklo_epi8(even, odd));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * k + 16), _mm_unpackhi_epi8(even, odd));
  }
  kPcdScalarKernels.blendPairs(p + k, q + k, pairs - k, out + 2 * k);
}

SSE2_CODE void QuarterGroups(const std::int16_t* b, int groups, std::uint8_t* out) {
  const __m128i eight = _mm_set1_epi16(8);
  int k = 0;
  for (; k + 8 <= groups; k += 8) {  // reads b[k + 8]
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k + 1));
    const __m128i a2 = _mm_add_epi16(a, a), c2 = _mm_add_epi16(c, c);
    const __m128i o0 = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(a2, a2), eight), 4);
    const __m128i o1 = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(_mm_add_epi16(a2, a), c), eight), 4);
    const __m128i o2 = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(a2, c2), eight), 4);
    const __m128i o3 = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(_mm_add_epi16(c2, c), a), eight), 4);
    const __m128i u01 = _mm_unpacklo_epi8(_mm_packus_epi16(o0, o0), _mm_packus_epi16(o1, o1));
    const __m128i u23 = _mm_unpacklo_epi8(_mm_packus_epi16(o2, o2), _mm_packus_epi16(o3, o3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * k), _mm_unpacklo_epi16(u01, u23));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * k + 16), _mm_unpackhi_epi16(u01, u23));
  }
  kPcdScalarKernels.quarterGroups(b + k, groups - k, out + 4 * k);
}

// One term of the colour conversion in fixed point, equal to the rounded
// table value for every input d: (k d + bias) >> shift, plus one where the
// tables round towards zero (d at most negBelow). k and bias fit 16 bits, so
// one multiply-add of the pairs (d, 1) and (k, bias) makes the sum.
struct FixedTerm {
  int k, bias, shift;
};
constexpr FixedTerm kLuma{22255, 8316, 14};      // 1.3584 y
constexpr FixedTerm kChroma2R{29844, 8190, 14};  // 1.8215 (c2 - 137), towards zero from d = -1 down
constexpr FixedTerm kChroma1G{28197, 32740, 16}; // 0.4302726 (c1 - 156), from d = -2 down
constexpr FixedTerm kChroma2G{30380, 16384, 15}; // 0.9271435 (c2 - 137), from d = -1 down
constexpr FixedTerm kChroma1B{18169, 4095, 13};  // 2.2179 (c1 - 156), from d = -1 down

// The pairs (d, 1) of eight int16 values, low and high four.
struct Pairs {
  __m128i lo, hi;
};
SSE2_CODE inline Pairs MakePairs(__m128i d) {
  const __m128i one = _mm_set1_epi16(1);
  return {_mm_unpacklo_epi16(d, one), _mm_unpackhi_epi16(d, one)};
}

// The eight terms, before the correction of the negative ones.
SSE2_CODE inline __m128i Term(const Pairs& d, const FixedTerm& t) {
  const __m128i factors = _mm_set1_epi32(t.bias << 16 | t.k);
  const __m128i count = _mm_cvtsi32_si128(t.shift);
  return _mm_packs_epi32(_mm_sra_epi32(_mm_madd_epi16(d.lo, factors), count),
                         _mm_sra_epi32(_mm_madd_epi16(d.hi, factors), count));
}

// Pixel i of the eight: its three curve offsets through the curve.
template <int i>
SSE2_CODE inline void StorePixel(const std::uint8_t* curve, __m128i b, __m128i g, __m128i r, std::uint8_t* out) {
  out[0] = curve[_mm_extract_epi16(b, i)];
  out[1] = curve[_mm_extract_epi16(g, i)];
  out[2] = curve[_mm_extract_epi16(r, i)];
}

SSE2_CODE void YccToBgr(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count,
                        std::uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  // Sums are taken as offsets into the curve, so that each word extracts
  // straight to an index: no round trip through memory.
  const __m128i curveBias = _mm_set1_epi16(-pcd::kCurveSumMin);
  const std::uint8_t* curve = pcd::kExtendedCurve.values;
  int x = 0;
  for (; x + 8 <= count; x += 8) {
    const __m128i luma = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(y + x)), zero);
    const __m128i d1 = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c1 + x)), zero),
                                     _mm_set1_epi16(156));
    const __m128i d2 = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c2 + x)), zero),
                                     _mm_set1_epi16(137));
    // All-ones (minus one) where a term rounds towards zero.
    const __m128i below1 = _mm_cmpgt_epi16(zero, d1), below2 = _mm_cmpgt_epi16(zero, d2);
    const __m128i below1G = _mm_cmpgt_epi16(_mm_set1_epi16(-1), d1);
    const Pairs p1 = MakePairs(d1), p2 = MakePairs(d2);
    const __m128i l = _mm_add_epi16(Term(MakePairs(luma), kLuma), curveBias);
    const __m128i b = _mm_add_epi16(l, _mm_sub_epi16(Term(p1, kChroma1B), below1));
    const __m128i g = _mm_sub_epi16(_mm_sub_epi16(l, _mm_sub_epi16(Term(p1, kChroma1G), below1G)),
                                    _mm_sub_epi16(Term(p2, kChroma2G), below2));
    const __m128i r = _mm_add_epi16(l, _mm_sub_epi16(Term(p2, kChroma2R), below2));
    StorePixel<0>(curve, b, g, r, out);
    StorePixel<1>(curve, b, g, r, out + 3);
    StorePixel<2>(curve, b, g, r, out + 6);
    StorePixel<3>(curve, b, g, r, out + 9);
    StorePixel<4>(curve, b, g, r, out + 12);
    StorePixel<5>(curve, b, g, r, out + 15);
    StorePixel<6>(curve, b, g, r, out + 18);
    StorePixel<7>(curve, b, g, r, out + 21);
    out += 24;
  }
  kPcdScalarKernels.yccToBgr(y + x, c1 + x, c2 + x, count - x, out);
}

const PcdSampleKernels kSse2 = {AddResiduals, WidenPairs, BlendPairs, QuarterGroups, YccToBgr};

}  // namespace

const PcdSampleKernels* const kPcdSse2Kernels = &kSse2;

#else
const PcdSampleKernels* const kPcdSse2Kernels = nullptr;
#endif
