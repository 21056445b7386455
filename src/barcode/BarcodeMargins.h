// The five margins of a barcode picture in points, as the sizing leaves them for the drawing.
// A margin belonging to a hidden text is 0.
#pragma once

struct BarcodeMargins {
    double value = 0;     // between bars and value text
    double header = 0;    // between header and bars (or 2D symbol)
    double footer = 0;    // between footer and the part above it
    double leftRight = 0; // extra left offset of value text pieces, and the side margins
    double topBottom = 0; // header from the top edge, footer from the bottom edge
};
