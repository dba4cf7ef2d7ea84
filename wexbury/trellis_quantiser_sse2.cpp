// The trellis's search compiled for SSE arithmetic. In the 32-bit Windows build only the SSE2
// files are compiled with -msse2 (this one also with -mfpmath=sse, as the 64-bit build always
// is), and they run only after the processor has said it has SSE2.
#include "wexbury/sse2_entry.h"
#include "wexbury/trellis_search.h"

namespace wexbury {

#if defined(__SSE2__)
namespace {
WEXBURY_SSE2_ENTRY void TrellisQuantiseSse2Impl(const float exact[64],
                                                const TrellisWeights& weights,
                                                const SymbolCosts& costs, CoefBlock& block) {
    TrellisSearch(exact, weights, costs, block);
}
}  // namespace

TrellisQuantiseFn TrellisQuantiseSse2() {
    return IfSse2<TrellisQuantiseFn>(&TrellisQuantiseSse2Impl);
}
#else
TrellisQuantiseFn TrellisQuantiseSse2() { return nullptr; }
#endif

}  // namespace wexbury
