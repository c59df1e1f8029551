// The colour table of the Windows bitmap formats (BMP, ICO): one blue,
// green, red, zero quadruple per entry, the art file's colours first and
// black for the entries it leaves unused.
#ifndef TSWEEPER_TOOLS_PALETTE_OUT_H
#define TSWEEPER_TOOLS_PALETTE_OUT_H

#include "byte_out.h"
#include "tile_art.h"

inline void PutPalette(Bytes& out, const ArtFile& art, int entries)
{
    for (int i = 0; i < entries; ++i) {
        ArtRgb rgb = {0, 0, 0};
        if (i < static_cast<int>(art.colours.size())) rgb = art.colours[static_cast<std::size_t>(i)].rgb;
        PutU8(out, rgb.blue);
        PutU8(out, rgb.green);
        PutU8(out, rgb.red);
        PutU8(out, 0);
    }
}

#endif
