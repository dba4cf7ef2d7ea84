#pragma once
// One 8-point pass of the AAN forward DCT (Arai, Agui and Nakajima), written once for any value
// type with + - and * by a float: plain floats for the portable path, four-lane vectors for SIMD.
// The outputs are scaled by the AAN factors, which the quantiser undoes.

namespace wexbury {

template <typename V>
inline void AanDct8(V& d0, V& d1, V& d2, V& d3, V& d4, V& d5, V& d6, V& d7) {
    const V tmp0 = d0 + d7, tmp7 = d0 - d7;
    const V tmp1 = d1 + d6, tmp6 = d1 - d6;
    const V tmp2 = d2 + d5, tmp5 = d2 - d5;
    const V tmp3 = d3 + d4, tmp4 = d3 - d4;

    // Even part.
    const V tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    const V tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    d0 = tmp10 + tmp11;
    d4 = tmp10 - tmp11;
    const V z1 = (tmp12 + tmp13) * 0.707106781f;
    d2 = tmp13 + z1;
    d6 = tmp13 - z1;

    // Odd part.
    const V o10 = tmp4 + tmp5, o11 = tmp5 + tmp6, o12 = tmp6 + tmp7;
    const V z5 = (o10 - o12) * 0.382683433f;
    const V z2 = o10 * 0.541196100f + z5;
    const V z4 = o12 * 1.306562965f + z5;
    const V z3 = o11 * 0.707106781f;
    const V z11 = tmp7 + z3, z13 = tmp7 - z3;
    d5 = z13 + z2;
    d3 = z13 - z2;
    d1 = z11 + z4;
    d7 = z11 - z4;
}

}  // namespace wexbury
