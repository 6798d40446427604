#pragma once
// The program's own icon: a racing pigeon in flight over the results, drawn for Vemora and
// kept in the program's resources in the sizes window systems ask for.
#include <QIcon>

namespace vemora::gui {

QIcon programIcon();

}  // namespace vemora::gui
