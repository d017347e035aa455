// make-voicebox: writes the voice-box animation that the dashboard's central
// display shows, "velk voicebox.gif" beside the executable. The committed copy
// in resources/ is this program's output, and tst_voiceboxgif runs it again
// and insists on the same bytes, so everything here is fixed: the bar layout,
// the table of speech levels and the palette.
//
// The picture scales the application icon up to the 167 x 191 pixels of the
// clip box that shows it: three columns of red bars on black, the middle one
// taller. Each frame lights a different run of bars in every column, centred
// on the middle row, the way a level meter jumps while someone talks.
#include <gif_lib.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int Width = 167;
constexpr int Height = 191;

// Palette indices. Four colours keep the global colour table at two bits.
enum : GifPixelType { Black, Dim, DarkRed, Red };
constexpr std::array<GifColorType, 4> Palette{{
    {0x00, 0x00, 0x00}, {0x30, 0x00, 0x00}, {0x94, 0x00, 0x00}, {0xff, 0x00, 0x00}}};

// Bars are 6 px high with 3-px gaps. With an even number of bars the middle
// gap straddles row 95, so every column is symmetric about the middle row of
// the odd-height picture, which a bar of even height could not be.
constexpr int BarWidth = 31;
constexpr int BarHeight = 6;
constexpr int BarPitch = 9;
constexpr int ColumnGap = 9;

struct Column
{
    int left;
    int bars; // even, see above
};

// The middle column is centred on x = 83 (an odd bar width makes that exact);
// the sides mirror each other about it.
constexpr int MiddleLeft = (Width - BarWidth) / 2;
constexpr std::array<Column, 3> Columns{{
    {MiddleLeft - ColumnGap - BarWidth, 12},
    {MiddleLeft, 20},
    {MiddleLeft + BarWidth + ColumnGap, 12},
}};

// One frame: how many bar pairs around the middle each column lights (left,
// middle, right; at most bars / 2) and how long it stays, in centiseconds.
// Syllables rise over a frame or two and fall away, the sides trail the
// middle, and the loop closes on a near-quiet breath so the restart does not
// jump. Neighbouring frames, the last and the first included, always differ.
struct Frame
{
    std::array<int, 3> pairs;
    int delay;
};

constexpr std::array<Frame, 16> Frames{{
    {{1, 2, 1}, 8},   {{3, 6, 2}, 7},   {{5, 9, 4}, 6},  {{4, 10, 5}, 6},
    {{2, 7, 3}, 7},   {{3, 5, 2}, 8},   {{5, 8, 6}, 6},  {{6, 10, 5}, 6},
    {{4, 8, 4}, 7},   {{2, 4, 3}, 8},   {{1, 3, 1}, 9},  {{3, 7, 4}, 6},
    {{5, 9, 5}, 6},   {{3, 6, 2}, 7},   {{1, 3, 1}, 10}, {{0, 1, 0}, 12},
}};

using Pixels = std::vector<GifPixelType>;

// Unlit bars stay dim so the shape reads in the quiet frames; the outermost
// lit bar at each end is dark red, as the icon's column ends are.
void paintColumn(Pixels &pixels, const Column &column, int pairs)
{
    const int top = (Height - (column.bars * BarPitch - (BarPitch - BarHeight))) / 2;
    const int firstLit = column.bars / 2 - pairs; // counted from either end
    for (int bar = 0; bar < column.bars; ++bar) {
        const int fromEnd = bar < column.bars / 2 ? bar : column.bars - 1 - bar;
        const GifPixelType colour = fromEnd < firstLit ? Dim : fromEnd == firstLit ? DarkRed : Red;
        const int y0 = top + bar * BarPitch;
        for (int y = y0; y < y0 + BarHeight; ++y)
            for (int x = column.left; x < column.left + BarWidth; ++x)
                pixels[y * Width + x] = colour;
    }
}

Pixels paintFrame(const Frame &frame)
{
    Pixels pixels(Width * Height, Black);
    for (std::size_t c = 0; c < Columns.size(); ++c)
        paintColumn(pixels, Columns[c], frame.pairs[c]);
    return pixels;
}

// Loop forever: the NETSCAPE2.0 block with a repeat count of 0.
int putLoopForever(GifFileType *gif)
{
    static const GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR
        || EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR
        || EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_ERROR)
        return GIF_ERROR;
    return EGifPutExtensionTrailer(gif);
}

// Every frame covers the whole picture, so no transparency and no disposal.
int putFrame(GifFileType *gif, const Frame &frame)
{
    const GraphicsControlBlock control{DISPOSE_DO_NOT, false, frame.delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) == GIF_ERROR
        || EGifPutImageDesc(gif, 0, 0, Width, Height, false, nullptr) == GIF_ERROR)
        return GIF_ERROR;
    Pixels pixels = paintFrame(frame);
    for (int y = 0; y < Height; ++y)
        if (EGifPutLine(gif, &pixels[y * Width], Width) == GIF_ERROR)
            return GIF_ERROR;
    return GIF_OK;
}

int writeAnimation(GifFileType *gif)
{
    ColorMapObject *map = GifMakeMapObject(Palette.size(), Palette.data());
    if (!map) {
        gif->Error = E_GIF_ERR_NOT_ENOUGH_MEM;
        return GIF_ERROR;
    }
    // The record-by-record writer cannot see the extensions to come, so it
    // must be told that they need the 89a format.
    EGifSetGifVersion(gif, true);
    const int status = EGifPutScreenDesc(gif, Width, Height, map->BitsPerPixel, Black, map);
    GifFreeMapObject(map);
    if (status == GIF_ERROR || putLoopForever(gif) == GIF_ERROR)
        return GIF_ERROR;
    for (const Frame &frame : Frames)
        if (putFrame(gif, frame) == GIF_ERROR)
            return GIF_ERROR;
    return GIF_OK;
}

void report(const char *path, const char *message)
{
    std::fprintf(stderr, "make-voicebox: %s: %s\n", path, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-voicebox OUTFILE\n");
        return 2;
    }
    const char *path = argv[1];
    // giflib's own file opening creates the file readable by its owner only;
    // the picture is meant to be copied and shipped, so open it ourselves.
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        report(path, std::strerror(errno));
        return 1;
    }
    // A half-written picture must not pass for the real one, but only a plain
    // file is ours to delete: the target may as well be a device or a pipe.
    struct stat info;
    const bool plainFile = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    int error = 0;
    GifFileType *gif = EGifOpenFileHandle(fd, &error);
    if (gif) {
        if (writeAnimation(gif) == GIF_ERROR)
            error = gif->Error;
        int closeError = 0;
        if (EGifCloseFile(gif, &closeError) == GIF_ERROR && error == 0)
            error = closeError;
    }
    if (error != 0) {
        report(path, GifErrorString(error));
        if (plainFile)
            std::remove(path);
        return 1;
    }
    return 0;
}
