// The drawing port for programs that show nothing: the replay, the benchmark
// and the test stand-ins keep what the player would see in the screen model
// and no pixels.
#include "core/draw.h"
#include "render/screen_model.h"

void DrawTile(int column, int row, int tile)
{
    ShowTile(column, row, tile);
}

void DrawCounter()
{
    ShowCounter();
}
