#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace quolix::testing {

// The graph's frame on a 300 dpi page image, found by its lines alone: a row
// (or column) belongs to an edge when nearly all of a long stretch across the
// frame is dark, which no text and no grid line achieves. Each edge is the
// middle of its rows (columns). The search windows reach 50 pixels either
// side of where the layout puts each edge; only a scale of ten or more
// deviation divisions puts a grid line in them, so test with fewer. An edge
// that is not found comes back as -1.
struct PageFrame {
    double left = -1;
    double top = -1;
    double bottom = -1;

    static bool Dark(QRgb pixel) { return qGray(pixel) < 128; }

    static double RowEdge(const QImage& image, int fromY, int toY, int x0, int x1) {
        long sum = 0;
        int rows = 0;
        for (int y = fromY; y < toY && y < image.height(); ++y) {
            int dark = 0;
            for (int x = x0; x < x1; ++x) {
                dark += Dark(image.pixel(x, y)) ? 1 : 0;
            }
            if (dark * 100 >= (x1 - x0) * 95) {
                sum += y;
                ++rows;
            }
        }
        return rows == 0 ? -1 : static_cast<double>(sum) / rows;
    }

    static double ColumnEdge(const QImage& image, int fromX, int toX, int y0, int y1) {
        long sum = 0;
        int columns = 0;
        for (int x = fromX; x < toX && x < image.width(); ++x) {
            int dark = 0;
            for (int y = y0; y < y1; ++y) {
                dark += Dark(image.pixel(x, y)) ? 1 : 0;
            }
            if (dark * 100 >= (y1 - y0) * 95) {
                sum += x;
                ++columns;
            }
        }
        return columns == 0 ? -1 : static_cast<double>(sum) / columns;
    }

    // Expects the frame of the printed layout: 1800 x 1800 pixels at
    // (370, 500), on a page of at least 2300 x 2700 pixels.
    static PageFrame Find(const QImage& image) {
        PageFrame frame;
        frame.left = ColumnEdge(image, 320, 420, 800, 2000);
        frame.top = RowEdge(image, 450, 550, 700, 1900);
        frame.bottom = RowEdge(image, 2250, 2350, 700, 1900);
        return frame;
    }
};

}  // namespace quolix::testing
