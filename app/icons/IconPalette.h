#pragma once

#include <QColor>

namespace kzev::iconPalette {

// One palette for the toolbar and the project-tree pictures, so an object
// looks the same on a button and in the tree.
inline const QColor kInk(40, 48, 64);
inline const QColor kRoom(90, 110, 140);
inline const QColor kLamp(240, 190, 40);
inline const QColor kTask(60, 150, 80);
inline const QColor kObstacle(150, 120, 90);
inline const QColor kMode(120, 80, 170);
inline const QColor kAccent(200, 50, 40);
inline const QColor kBlue(50, 100, 190);
inline const QColor kFolder(235, 200, 110);

} // namespace kzev::iconPalette
