#pragma once
// The arithmetic of the surveillance grid: how many columns and rows n cells
// take in a window, and where a cell's caption, graphs and axis go.

struct GridShape {
    int columns = 0;
    int rows = 0;
};

// Columns and rows for `shown` cells in a client area of width by height
// pixels: about shown^(W / (W + 1.5 H)) columns, so that a wider window gets
// more columns, then no more places than needed.
GridShape gridShape(int shown, int width, int height);

struct PartRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool placed = false;
};

// The parts of one cell at (x, y) of width by height: caption height c and
// axis height a; the two graphs share what is left.
struct CellParts {
    PartRect caption, ventilation, axis, compression;
};
CellParts cellParts(int x, int y, int width, int height, int captionHeight, int axisHeight);
