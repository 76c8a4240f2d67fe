#pragma once

#include <QImage>

#include <algorithm>
#include <cstdlib>

// How far two pictures of one size lie apart: the largest difference of any colour component
// of any pixel (0 = identical). Pictures of different sizes are 256 apart.
inline int largestDifference(const QImage& a, const QImage& b) {
    if (a.isNull() || a.size() != b.size())
        return 256;
    const QImage left = a.convertToFormat(QImage::Format_RGB888);
    const QImage right = b.convertToFormat(QImage::Format_RGB888);
    int largest = 0;
    for (int y = 0; y < left.height(); ++y) {
        const uchar* l = left.constScanLine(y);
        const uchar* r = right.constScanLine(y);
        for (int x = 0; x < left.width() * 3; ++x)
            largest = std::max(largest, std::abs(int(l[x]) - int(r[x])));
    }
    return largest;
}
