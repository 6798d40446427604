#pragma once
// Whether a folder is the root of a removable medium (a diskette, a USB stick, a memory
// card): the dialogs that write onto such a medium ask for it to be inserted and emptied.
#include <QString>

namespace vemora::gui {

bool IsRemovableRoot(const QString& path);

}  // namespace vemora::gui
