#pragma once

namespace ui {

// The pictures are compiled into the windows' static library; this pulls them in. Call it
// once before the first window is made.
void loadPictures();

}  // namespace ui
