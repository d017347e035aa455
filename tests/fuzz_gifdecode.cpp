// libFuzzer entry for the browser view's loading code: any bytes through
// FrameDecoder::decode, the entry point the view uses, and the decoder's
// bounds checked on the result (gifinvariants.h). Built with clang by
// `make fuzz` (tests/fuzz/CMakeLists.txt), with AddressSanitizer and
// UndefinedBehaviorSanitizer; the seeds come from `gifreplay --write-seeds`.
#include "animation/framedecoder.h"
#include "gifinvariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QRect crop(0, 0, 233, 321);
    const runtime::Animation a = runtime::FrameDecoder::decode(data, size, {0, 0, 233, 321});
    const QString broken = gifinvariants::check(a, crop);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "fuzz_gifdecode: %s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}
