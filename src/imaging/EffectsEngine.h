#pragma once

#include "imaging/EffectTables.h"
#include "platform/Picture.h"

#include <QString>

namespace glim {

class Dialogs;

// Applies one effect, chosen by its exact name, to the whole picture: every routine reads the
// unedited `source` and writes into `target`, both 24-bit B,G,R pictures of one size, worked
// on in place through byte views over their memory (byte column x including row padding,
// row y in storage order).
//
//   "Brightness/Contrast"  every byte through tables.temPal
//   "Invert"               every byte becomes 255 - byte
//   "Blur"                 each byte and its four same-component neighbours averaged, with
//                          integer division; the three outer byte columns on either side and
//                          the first and last row are left as the target had them
//   "HRipple"              target row y is a copy of source row tables.rippleRows[y]
//   "RGB0", "RGB1", "RGB2" the red, green or blue bytes only through tables.temPal
//
// Any other name (also one differing only in letter case) writes nothing. A target that is not
// 24-bit gets the message " 24-bit bitmaps only" and nothing is written. A source or target
// that is not Format_BGR888, or a source of another size, writes nothing either.
void doImagePro(const QString& routineToDo, const Picture& source, Picture& target,
                const EffectTables& tables, Dialogs& dialogs);

} // namespace glim
