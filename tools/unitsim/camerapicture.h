#pragma once

#include <QByteArray>

// The pictures of the unit's cameras. The unit sends bare JPEG scan data: a 320 x 240 baseline
// scan with 2:1 horizontal chrominance subsampling, the example quantisation tables at half scale
// and the typical Huffman tables, which the station puts behind its own fixed header.
namespace unitsim
{

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 240;

struct Rgb {
    quint8 r, g, b;
};

// The scene of camera 1 to 4: sky, ground, a sun whose place moves with the camera and one white
// bar per camera number on the ground. Every edge lies on the 16 x 8 grid of the scan's blocks,
// so the scan stays small.
Rgb cameraPixel(int camera, int x, int y);

// The entropy-coded scan of the camera's picture, padded with 1 bits to a whole byte.
QByteArray cameraScan(int camera);

} // namespace unitsim
