// Decoding an image pack into the caller's pixels.
#pragma once
#include <cstddef>
#include <cstdint>

#include "image_pack.h"

// Output format code 10 to 13 (OutputFormat); 3001 otherwise. LumaOnly and
// Indexed8 write one byte per pixel, Rgb24 and RawYcc24 three; the
// components of a pixel become adjacent.
PcdStatus PcdSetFormat(ImagePack* pack, int code);

// Threads for decoding levels above BASE: 1 (the default) decodes on the
// calling thread only; 2 adds a thread with its own handle on the pack's file
// that decodes the residual rows of the next band while the caller's thread
// builds the current one. Both give the same bytes. Rectangles that follow
// one another down (or up) the stored image gain the most. 3001 below 1;
// more than 2 counts as 2.
PcdStatus PcdSetDecodeThreads(ImagePack* pack, int threads);

// Decodes the rectangle (output coordinates of the current level; the whole
// output image without one) into buffer, rows rowStride bytes apart, in the
// handle's orientation and format. Orientation 0 writes the first stored row
// last, like a bottom-up bitmap. 3001 for a missing handle or buffer, a
// rectangle outside the image, a stride shorter than a row, or a level the
// pack does not offer; 3012 for extension data that cannot be decoded; 3000
// for residual rows that cannot be found or code tables that make no sense
// (a row whose bits stop making codes keeps its interpolated picture from
// there on and the decode goes on);
// 3015 for extension files that do not match their description; 3016, 3007,
// 3009 and 5 from memory and reading. On failure the buffer is partly written.
PcdStatus PcdReadRect(ImagePack* pack, const OutputRect* rect, std::uint8_t* buffer, std::ptrdiff_t rowStride);

// 0 when PcdReadRect can start on the level: a level above the pack's own
// must be in its extension (3001 otherwise) and its files must open and fit
// their description (3010, 3015, 3000, 3012 otherwise). Opens the extension
// level's files, which stay open with the pack. Callers that are offered a
// level they cannot read fall back to the next lower one.
PcdStatus PcdCheckLevel(ImagePack* pack, int level);

// The two kind-of-component flag bytes of the pack's extension (bit 1 << L
// for level L): flags[0] levels with components of another kind than
// residuals (and every level above the lowest such level 3 to 6), flags[1]
// levels with residual components. Opens the extension's levels up to 4BASE
// to learn them. Both 0 without an extension; 3001 without a handle.
PcdStatus PcdGetExtensionFlags(ImagePack* pack, std::uint8_t flags[2]);

// The row pairs of base level 1 (BASE/16), 2 (BASE/4) or 3 (BASE) as stored,
// read whole on first use and kept with the pack. Sectors that read as zeros
// (or lie past the end of a pack cut short) are filled from the next smaller
// level enlarged 2x and counted in the pack's damage report (PcdGetDamage).
// 3001 for another level; 5 when nothing of the level is in the file; 3007,
// 3009, 3016.
PcdStatus PcdReadBaseLevel(ImagePack* pack, int level, const std::uint8_t*& pairs);
