#pragma once

#include "platform/Picture.h"

#include <QSize>

namespace glim {

// A new 24-bit B,G,R picture of `size` for a read of the screen, its pixels not yet set. A
// picture of 2 MiB or more gets pages of its own, in 2 MiB pages where the system offers them:
// a fresh screen-sized picture then costs a few page faults instead of one every 4 KiB, and its
// pages go back to the system as soon as its last copy goes, where a block freed to the C
// library's heap would stay with the program and let every capture of a large screen add to
// its resident size; the pages of the last one that went are kept for the next picture of its
// size, whose pixels are then written without a fault. Smaller pictures, and any the system
// cannot map, come from QImage.
Picture newMappedPicture(QSize size);

} // namespace glim
