#pragma once

#include "platform/Picture.h"

namespace glim {

// The system clipboard as the copy and paste commands use it.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Puts the picture on the clipboard as an image. With `keepOtherFormats` the formats that
    // are there already (text, say) stay available beside it; without, the clipboard is
    // emptied first and holds only the picture.
    virtual void putPicture(const Picture& picture, bool keepOtherFormats) = 0;
    // The clipboard's picture, in whichever image format it is offered; no picture when the
    // clipboard holds none (text only, a file list, nothing).
    virtual Picture picture() const = 0;
};

} // namespace glim
