#pragma once

#include <cstdint>

// TIDEWELL_NO_SSE2 (a build option) takes the portable path on any machine, so that the path that
// machines without SSE2 build is tested to give the same output.
#if ! defined(TIDEWELL_NO_SSE2) && (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define TIDEWELL_SSE2 1
#include <emmintrin.h>
#else
#define TIDEWELL_SSE2 0
#include <cmath>
#include <cstring>
#endif

/** The lane types of the engines and their free functions, each with an SSE2 path and a portable
    twin that gives the same bits. */
namespace Simd
{
/** Four floats processed by one instruction each. Every arithmetic operation is the
    single-precision IEEE operation of the scalar code applied to each lane, so a lane's results
    are bit-identical to the scalar code's; the engines put their channels or delay lines into the
    lanes. Without SSE2 the lanes are plain floats. */
struct Float4
{
#if TIDEWELL_SSE2
    __m128 v;

    Float4() = default; // uninitialised, like a float
    explicit Float4 (__m128 value) noexcept : v (value) {}
    Float4 (float value) noexcept : v (_mm_set1_ps (value)) {}
    Float4 (float a, float b, float c, float d) noexcept : v (_mm_setr_ps (a, b, c, d)) {}

    static Float4 load (const float* p) noexcept { return Float4 (_mm_loadu_ps (p)); }
    void store (float* p) const noexcept { _mm_storeu_ps (p, v); }

    /** Lanes 0 and 1 from p; lanes 2 and 3 are 0. */
    static Float4 loadPair (const float* p) noexcept
    {
        return Float4 (_mm_castpd_ps (_mm_load_sd (reinterpret_cast<const double*> (p))));
    }
    void storePair (float* p) const noexcept { _mm_store_sd (reinterpret_cast<double*> (p), _mm_castps_pd (v)); }

    float lane0() const noexcept { return _mm_cvtss_f32 (v); }
    float lane1() const noexcept { return _mm_cvtss_f32 (_mm_shuffle_ps (v, v, _MM_SHUFFLE (1, 1, 1, 1))); }

    template <int k>
    Float4 broadcastLane() const noexcept
    {
        return Float4 (_mm_shuffle_ps (v, v, _MM_SHUFFLE (k, k, k, k)));
    }

    friend Float4 operator+ (Float4 a, Float4 b) noexcept { return Float4 (_mm_add_ps (a.v, b.v)); }
    friend Float4 operator- (Float4 a, Float4 b) noexcept { return Float4 (_mm_sub_ps (a.v, b.v)); }
    friend Float4 operator* (Float4 a, Float4 b) noexcept { return Float4 (_mm_mul_ps (a.v, b.v)); }
    /** Flips the sign bits, as scalar negation does. */
    Float4 operator-() const noexcept { return Float4 (_mm_xor_ps (v, _mm_set1_ps (-0.0f))); }

    // Comparisons give all bits set in a lane where they hold; false for NaN, as in scalar code.
    friend Float4 operator> (Float4 a, Float4 b) noexcept { return Float4 (_mm_cmpgt_ps (a.v, b.v)); }
    friend Float4 operator<(Float4 a, Float4 b) noexcept { return Float4 (_mm_cmplt_ps (a.v, b.v)); }
    friend Float4 operator>= (Float4 a, Float4 b) noexcept { return Float4 (_mm_cmpge_ps (a.v, b.v)); }

    /** a > b ? a : b per lane (b when either is NaN). */
    friend Float4 max (Float4 a, Float4 b) noexcept { return Float4 (_mm_max_ps (a.v, b.v)); }
    /** a < b ? a : b per lane (b when either is NaN). */
    friend Float4 min (Float4 a, Float4 b) noexcept { return Float4 (_mm_min_ps (a.v, b.v)); }

    friend Float4 abs (Float4 a) noexcept
    {
        return Float4 (_mm_andnot_ps (_mm_castsi128_ps (_mm_set1_epi32 (INT32_MIN)), a.v));
    }

    /** mask ? a : b per lane, for masks made by the comparisons. */
    friend Float4 select (Float4 mask, Float4 a, Float4 b) noexcept
    {
        return Float4 (_mm_or_ps (_mm_and_ps (mask.v, a.v), _mm_andnot_ps (mask.v, b.v)));
    }

    /** Flips the sign of lanes 1 and 3: an exact negation. */
    Float4 negateOddLanes() const noexcept
    {
        return Float4 (_mm_xor_ps (v, _mm_castsi128_ps (_mm_setr_epi32 (0, INT32_MIN, 0, INT32_MIN))));
    }

    /** { a0, a1, b0, b1 } */
    friend Float4 lowHalves (Float4 a, Float4 b) noexcept { return Float4 (_mm_movelh_ps (a.v, b.v)); }
    /** { a2, a3, b2, b3 } */
    friend Float4 highHalves (Float4 a, Float4 b) noexcept { return Float4 (_mm_movehl_ps (b.v, a.v)); }
    /** { a0, a1, b2, b3 } */
    friend Float4 blendHalves (Float4 a, Float4 b) noexcept
    {
        return Float4 (_mm_shuffle_ps (a.v, b.v, _MM_SHUFFLE (3, 2, 1, 0)));
    }
    /** { v1, v0, v3, v2 } */
    Float4 swappedPairs() const noexcept { return Float4 (_mm_shuffle_ps (v, v, _MM_SHUFFLE (2, 3, 0, 1))); }
    /** { v2, v3, v0, v1 } */
    Float4 swappedHalves() const noexcept { return Float4 (_mm_shuffle_ps (v, v, _MM_SHUFFLE (1, 0, 3, 2))); }
    /** { a0, a2, b0, b2 } */
    friend Float4 evenLanes (Float4 a, Float4 b) noexcept
    {
        return Float4 (_mm_shuffle_ps (a.v, b.v, _MM_SHUFFLE (2, 0, 2, 0)));
    }
    /** { a1, a3, b1, b3 } */
    friend Float4 oddLanes (Float4 a, Float4 b) noexcept
    {
        return Float4 (_mm_shuffle_ps (a.v, b.v, _MM_SHUFFLE (3, 1, 3, 1)));
    }
    /** { a0, b0, a1, b1 } */
    friend Float4 interleaveLow (Float4 a, Float4 b) noexcept { return Float4 (_mm_unpacklo_ps (a.v, b.v)); }
    /** { a2, b2, a3, b3 } */
    friend Float4 interleaveHigh (Float4 a, Float4 b) noexcept { return Float4 (_mm_unpackhi_ps (a.v, b.v)); }
#else
    float v[4];

    Float4() = default; // uninitialised, like a float
    Float4 (float value) noexcept : v { value, value, value, value } {}
    Float4 (float a, float b, float c, float d) noexcept : v { a, b, c, d } {}

    static Float4 load (const float* p) noexcept { return { p[0], p[1], p[2], p[3] }; }
    void store (float* p) const noexcept
    {
        for (int k = 0; k < 4; ++k)
            p[k] = v[k];
    }
    static Float4 loadPair (const float* p) noexcept { return { p[0], p[1], 0.0f, 0.0f }; }
    void storePair (float* p) const noexcept
    {
        p[0] = v[0];
        p[1] = v[1];
    }

    float lane0() const noexcept { return v[0]; }
    float lane1() const noexcept { return v[1]; }

    template <int k>
    Float4 broadcastLane() const noexcept
    {
        return Float4 (v[k]);
    }

    template <typename Op>
    static Float4 map (Float4 a, Float4 b, Op op) noexcept
    {
        Float4 r;
        for (int k = 0; k < 4; ++k)
            r.v[k] = op (a.v[k], b.v[k]);
        return r;
    }

    static float maskOf (bool condition) noexcept
    {
        const auto bits = condition ? ~std::uint32_t {} : std::uint32_t {};
        float f;
        std::memcpy (&f, &bits, sizeof f);
        return f;
    }
    static bool isSet (float mask) noexcept
    {
        std::uint32_t bits;
        std::memcpy (&bits, &mask, sizeof bits);
        return bits != 0;
    }

    friend Float4 operator+ (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return x + y; });
    }
    friend Float4 operator- (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return x - y; });
    }
    friend Float4 operator* (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return x * y; });
    }
    friend Float4 operator> (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return maskOf (x > y); });
    }
    friend Float4 operator<(Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return maskOf (x < y); });
    }
    friend Float4 operator>= (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return maskOf (x >= y); });
    }
    friend Float4 max (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return x > y ? x : y; });
    }
    friend Float4 min (Float4 a, Float4 b) noexcept
    {
        return map (a, b, [] (float x, float y) { return x < y ? x : y; });
    }
    friend Float4 abs (Float4 a) noexcept
    {
        return map (a, a, [] (float x, float) { return std::abs (x); });
    }
    friend Float4 select (Float4 mask, Float4 a, Float4 b) noexcept
    {
        Float4 r;
        for (int k = 0; k < 4; ++k)
            r.v[k] = isSet (mask.v[k]) ? a.v[k] : b.v[k];
        return r;
    }
    Float4 negateOddLanes() const noexcept { return { v[0], -v[1], v[2], -v[3] }; }
    Float4 operator-() const noexcept { return { -v[0], -v[1], -v[2], -v[3] }; }
    friend Float4 lowHalves (Float4 a, Float4 b) noexcept { return { a.v[0], a.v[1], b.v[0], b.v[1] }; }
    friend Float4 highHalves (Float4 a, Float4 b) noexcept { return { a.v[2], a.v[3], b.v[2], b.v[3] }; }
    friend Float4 blendHalves (Float4 a, Float4 b) noexcept { return { a.v[0], a.v[1], b.v[2], b.v[3] }; }
    Float4 swappedPairs() const noexcept { return { v[1], v[0], v[3], v[2] }; }
    Float4 swappedHalves() const noexcept { return { v[2], v[3], v[0], v[1] }; }
    friend Float4 evenLanes (Float4 a, Float4 b) noexcept { return { a.v[0], a.v[2], b.v[0], b.v[2] }; }
    friend Float4 oddLanes (Float4 a, Float4 b) noexcept { return { a.v[1], a.v[3], b.v[1], b.v[3] }; }
    friend Float4 interleaveLow (Float4 a, Float4 b) noexcept { return { a.v[0], b.v[0], a.v[1], b.v[1] }; }
    friend Float4 interleaveHigh (Float4 a, Float4 b) noexcept { return { a.v[2], b.v[2], a.v[3], b.v[3] }; }
#endif

    /** Each lane widened to double, multiplied by factor and rounded back to float. */
    Float4 multipliedInDouble (double factor) const noexcept;
};

/** Rows a, b, c and d turned into columns: a receives lane 0 of each, b lane 1, c lane 2, d lane 3. */
inline void transpose (Float4& a, Float4& b, Float4& c, Float4& d) noexcept
{
    const auto ab01 = interleaveLow (a, b), cd01 = interleaveLow (c, d);
    const auto ab23 = interleaveHigh (a, b), cd23 = interleaveHigh (c, d);
    a = lowHalves (ab01, cd01);
    b = highHalves (ab01, cd01);
    c = lowHalves (ab23, cd23);
    d = highHalves (ab23, cd23);
}

// Float4's load, store and max on a single float too, so that code written for one lane or four
// reads the same.
template <typename Lanes>
Lanes load (const float* p) noexcept
{
    return Lanes::load (p);
}

template <>
inline float load<float> (const float* p) noexcept
{
    return *p;
}

inline void store (float* p, Float4 x) noexcept { x.store (p); }
inline void store (float* p, float x) noexcept { *p = x; }

/** a > b ? a : b (b when either is NaN), as Float4's max. */
inline float max (float a, float b) noexcept { return a > b ? a : b; }

/** Four 32-bit integers: the delay lines' buffer positions and the oscillators' table positions. */
struct Int4
{
#if TIDEWELL_SSE2
    __m128i v;

    explicit Int4 (__m128i value) noexcept : v (value) {}
    Int4 (int value) noexcept : v (_mm_set1_epi32 (value)) {}
    Int4 (int a, int b, int c, int d) noexcept : v (_mm_setr_epi32 (a, b, c, d)) {}

    /** Each lane converted towards zero, as a cast to int does. */
    static Int4 truncate (Float4 x) noexcept { return Int4 (_mm_cvttps_epi32 (x.v)); }
    Float4 toFloat() const noexcept { return Float4 (_mm_cvtepi32_ps (v)); }

    friend Int4 operator+ (Int4 a, Int4 b) noexcept { return Int4 (_mm_add_epi32 (a.v, b.v)); }
    friend Int4 operator- (Int4 a, Int4 b) noexcept { return Int4 (_mm_sub_epi32 (a.v, b.v)); }
    friend Int4 operator& (Int4 a, Int4 b) noexcept { return Int4 (_mm_and_si128 (a.v, b.v)); }
    /** Each lane's bits moved left by bits places, zeros shifted in: times 2^bits, wrapping as
        unsigned arithmetic does. */
    template <int bits>
    Int4 shiftedLeft() const noexcept
    {
        static_assert (bits >= 0 && bits < 32, "a shift within a lane");
        return Int4 (_mm_slli_epi32 (v, bits));
    }
    Int4 isNegative() const noexcept { return Int4 (_mm_srai_epi32 (v, 31)); }

    template <int k>
    int lane() const noexcept
    {
        return _mm_cvtsi128_si32 (_mm_shuffle_epi32 (v, _MM_SHUFFLE (k, k, k, k)));
    }
#else
    int v[4];

    Int4 (int value) noexcept : v { value, value, value, value } {}
    Int4 (int a, int b, int c, int d) noexcept : v { a, b, c, d } {}

    static Int4 truncate (Float4 x) noexcept { return { (int) x.v[0], (int) x.v[1], (int) x.v[2], (int) x.v[3] }; }
    Float4 toFloat() const noexcept { return { (float) v[0], (float) v[1], (float) v[2], (float) v[3] }; }

    friend Int4 operator+ (Int4 a, Int4 b) noexcept
    {
        return { a.v[0] + b.v[0], a.v[1] + b.v[1], a.v[2] + b.v[2], a.v[3] + b.v[3] };
    }
    friend Int4 operator- (Int4 a, Int4 b) noexcept
    {
        return { a.v[0] - b.v[0], a.v[1] - b.v[1], a.v[2] - b.v[2], a.v[3] - b.v[3] };
    }
    friend Int4 operator& (Int4 a, Int4 b) noexcept
    {
        return { a.v[0] & b.v[0], a.v[1] & b.v[1], a.v[2] & b.v[2], a.v[3] & b.v[3] };
    }
    template <int bits>
    Int4 shiftedLeft() const noexcept
    {
        static_assert (bits >= 0 && bits < 32, "a shift within a lane");
        const auto shift = [] (int x) { return (int) ((unsigned) x << bits); };
        return { shift (v[0]), shift (v[1]), shift (v[2]), shift (v[3]) };
    }
    Int4 isNegative() const noexcept { return { -(v[0] < 0), -(v[1] < 0), -(v[2] < 0), -(v[3] < 0) }; }

    template <int k>
    int lane() const noexcept
    {
        return v[k];
    }
#endif
};

/** Two doubles processed by one instruction each, for values that the engines form in double from
    floats: every operation is the double-precision IEEE operation of the scalar code on each lane,
    rounded on its own (a multiply and an add are two roundings, never one: the build forbids
    fusing them). */
struct Double2
{
#if TIDEWELL_SSE2
    __m128d v;

    Double2() = default; // uninitialised, like a double
    explicit Double2 (__m128d value) noexcept : v (value) {}
    Double2 (double value) noexcept : v (_mm_set1_pd (value)) {}

    static Double2 load (const double* p) noexcept { return Double2 (_mm_loadu_pd (p)); }
    /** Lanes 0 and 1 of x, exactly. */
    static Double2 widenLow (Float4 x) noexcept { return Double2 (_mm_cvtps_pd (x.v)); }
    /** Lanes 2 and 3 of x, exactly. */
    static Double2 widenHigh (Float4 x) noexcept { return Double2 (_mm_cvtps_pd (_mm_movehl_ps (x.v, x.v))); }

    friend Double2 operator+ (Double2 a, Double2 b) noexcept { return Double2 (_mm_add_pd (a.v, b.v)); }
    friend Double2 operator- (Double2 a, Double2 b) noexcept { return Double2 (_mm_sub_pd (a.v, b.v)); }
    friend Double2 operator* (Double2 a, Double2 b) noexcept { return Double2 (_mm_mul_pd (a.v, b.v)); }

    /** { a0, b0 } */
    friend Double2 interleaveLow (Double2 a, Double2 b) noexcept { return Double2 (_mm_unpacklo_pd (a.v, b.v)); }
    /** { a1, b1 } */
    friend Double2 interleaveHigh (Double2 a, Double2 b) noexcept { return Double2 (_mm_unpackhi_pd (a.v, b.v)); }

    /** { v0, v1, 0, 0 }, each lane rounded to the nearest float as a cast does. */
    Float4 narrowed() const noexcept { return Float4 (_mm_cvtpd_ps (v)); }
#else
    double v[2];

    Double2() = default; // uninitialised, like a double
    Double2 (double value) noexcept : v { value, value } {}
    Double2 (double a, double b) noexcept : v { a, b } {}

    static Double2 load (const double* p) noexcept { return { p[0], p[1] }; }
    static Double2 widenLow (Float4 x) noexcept { return { (double) x.v[0], (double) x.v[1] }; }
    static Double2 widenHigh (Float4 x) noexcept { return { (double) x.v[2], (double) x.v[3] }; }

    friend Double2 operator+ (Double2 a, Double2 b) noexcept { return { a.v[0] + b.v[0], a.v[1] + b.v[1] }; }
    friend Double2 operator- (Double2 a, Double2 b) noexcept { return { a.v[0] - b.v[0], a.v[1] - b.v[1] }; }
    friend Double2 operator* (Double2 a, Double2 b) noexcept { return { a.v[0] * b.v[0], a.v[1] * b.v[1] }; }

    friend Double2 interleaveLow (Double2 a, Double2 b) noexcept { return { a.v[0], b.v[0] }; }
    friend Double2 interleaveHigh (Double2 a, Double2 b) noexcept { return { a.v[1], b.v[1] }; }

    Float4 narrowed() const noexcept { return { (float) v[0], (float) v[1], 0.0f, 0.0f }; }
#endif
};

inline Float4 Float4::multipliedInDouble (double factor) const noexcept
{
    const Double2 f (factor);
    return lowHalves ((Double2::widenLow (*this) * f).narrowed(), (Double2::widenHigh (*this) * f).narrowed());
}
} // namespace Simd
