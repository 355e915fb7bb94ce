// Every painter and sound of the entry table, grouped by the file that owns it.
#pragma once

#include "gfx/byte_buffer.h"
#include "tools/resbuild/entries.h"

namespace resbuild {

// paint_ground.cpp: tiles0 (unexplored, fog, outside, ground, highways).
void PaintGroundTile(Canvas& canvas, const FrameContext& context);
// paint_structures.cpp: tiles1 (selection markers and finished structures).
void PaintStructure(Canvas& canvas, const FrameContext& context);
// paint_sites.cpp: tiles2 (building sites).
void PaintSite(Canvas& canvas, const FrameContext& context);
// paint_animation.cpp: Animation (the moving parts of running structures).
void PaintAnimation(Canvas& canvas, const FrameContext& context);
// paint_minimap.cpp: MiniMap.
void PaintMiniMap(Canvas& canvas, const FrameContext& context);
// paint_toolbar.cpp: toolbar faces and icons, the category tabs, the delete button.
void PaintToolButtonFace(Canvas& canvas, const FrameContext& context);
void PaintToolButtonIcon(Canvas& canvas, const FrameContext& context);
void PaintCategoryTabFace(Canvas& canvas, const FrameContext& context);
void PaintCategoryTabIcon(Canvas& canvas, const FrameContext& context);
void PaintDeleteButton(Canvas& canvas, const FrameContext& context);
// paint_palette.cpp: the category pictures StType0 .. StType7.
void PaintStType0(Canvas& canvas, const FrameContext& context);
void PaintStType1(Canvas& canvas, const FrameContext& context);
void PaintStType2(Canvas& canvas, const FrameContext& context);
void PaintStType3(Canvas& canvas, const FrameContext& context);
void PaintStType4(Canvas& canvas, const FrameContext& context);
void PaintStType5(Canvas& canvas, const FrameContext& context);
void PaintStType6(Canvas& canvas, const FrameContext& context);
void PaintStType7(Canvas& canvas, const FrameContext& context);
// paint_panels.cpp: the top strip, the counter and calendar boxes, the Earth report.
void PaintToolPanelBackground(Canvas& canvas, const FrameContext& context);
void PaintPalettePanelBackground(Canvas& canvas, const FrameContext& context);
void PaintCounterBox(Canvas& canvas, const FrameContext& context);
void PaintCalendarBox(Canvas& canvas, const FrameContext& context);
void PaintEarthReportBackground(Canvas& canvas, const FrameContext& context);
void PaintEarthImage(Canvas& canvas, const FrameContext& context);
// paint_dialogs.cpp: DlgBkgnd, DlgButton, DlgIcon.
void PaintDialogBackground(Canvas& canvas, const FrameContext& context);
void PaintDialogButton(Canvas& canvas, const FrameContext& context);
void PaintDialogIcon(Canvas& canvas, const FrameContext& context);
// paint_title.cpp: MMBkgnd, MMButton.
void PaintTitleBackground(Canvas& canvas, const FrameContext& context);
void PaintTitleButton(Canvas& canvas, const FrameContext& context);

// sounds.cpp: the seven sounds of res00.dat.
gfx::ByteBuffer MakeClick1();
gfx::ByteBuffer MakeClick2();
gfx::ByteBuffer MakeBuild();
gfx::ByteBuffer MakeDemolish();
gfx::ByteBuffer MakeWarning();
gfx::ByteBuffer MakeAlarm();
gfx::ByteBuffer MakeGameOver();

}  // namespace resbuild
