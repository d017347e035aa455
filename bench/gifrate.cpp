// Prints how many frames a second a GIF plays at in the program's voice
// box: its frames over the sum of their delays, as the program's own
// decoder reads and clamps them. The bench's goal for the voice box's
// wakeups starts from it. Usage: gifrate FILE (prints "FRAMES MS FPS").
#include "animation/framedecoder.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <numeric>
#include <vector>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    // The crop the program's view can show; it keeps or drops pixels, never delays.
    const runtime::Animation a = runtime::FrameDecoder::decode(bytes.data(), bytes.size(), {0, 0, 233, 321});
    const long ms = std::accumulate(a.delaysMs.begin(), a.delaysMs.end(), 0L);
    if (a.frames.size() < 2 || ms <= 0) {
        std::fprintf(stderr, "gifrate: %s is no animation\n", argv[1]);
        return 1;
    }
    std::printf("%zu %ld %.2f\n", a.frames.size(), ms, 1000.0 * double(a.frames.size()) / double(ms));
    return 0;
}
