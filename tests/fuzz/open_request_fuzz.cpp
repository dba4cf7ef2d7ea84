// fuzz-sources: history/open_request.cpp
// Arbitrary bytes taken as the data of a WM_COPYDATA open request from any program. The path is
// read only within the data and its first 260 bytes, and a path read makes a request that reads
// back as itself.
#include <cstdlib>
#include <cstring>

#include "history/open_request.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = "unchanged";
    if (!OpenRequest::Read(data, size, path)) {
        Check(path == "unchanged");
        return 0;
    }
    Check(path.size() < OpenRequest::kSize && path.size() < size);
    Check(std::memcmp(path.data(), data, path.size()) == 0 && data[path.size()] == 0);
    const auto block = OpenRequest::Make(path);
    std::string back;
    Check(OpenRequest::Read(block.data(), block.size(), back) && back == path);
    return 0;
}
