#pragma once

#include <functional>

class QIcon;
class QPainter;

namespace kzev {

/** The pictures of the commands; standard ones come from the desktop theme. */
enum class Glyph {
    None,
    // desktop standard
    FileNew, FileOpen, FileSave, EditCopy, FilePrint, PrintPreview, Help, Exit,
    // view
    ViewFloor, ViewCeiling, ViewWall1, ViewWall2, ViewWall3, ViewWall4,
    DisplaySettings, DisplayedValues, DisplaySwitch, View3d, NamedViewLoad, NamedViewSave,
    ZoomIn, ZoomOut, ZoomFit,
    // calculation
    CalcStart, CalcSettings, CalcStop,
    // data editing
    NewRoom, NewRoad, NewLampSystem, DerivedLampSystem, CancelBinding, NewTaskArea, TaskSurroundings,
    NewObstacles, CornerL1, CornerL2, CornerL3, CornerL4, WallRow, NewRaster, Properties, Delete,
    SplitRows, SplitColumns, CopyLampSystem, PasteLampSystem,
    // tools
    CadImport, CadDraw1, CadDraw2, CadDraw3, KnepImport, HtmlExport,
    DatabaseRecognition, LuminaireLegend, RoomLegend, SortRooms, TitleBlock,
};

/** Returns an icon painted on a 16 x 16 grid at twice the resolution, sharp on high-DPI screens. */
[[nodiscard]] QIcon drawnIcon(const std::function<void(QPainter&)>& paint);

/** Returns the icon of a glyph (a null icon for Glyph::None). */
[[nodiscard]] QIcon glyphIcon(Glyph glyph);

} // namespace kzev
