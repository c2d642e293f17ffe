#pragma once

namespace ui {

// The windows ask for "ＭＳ ゴシック" and "ＭＳ Ｐゴシック"; where those faces are missing, the
// IPA Gothic faces, which share their metrics, stand in.
void registerFontSubstitutes();

}  // namespace ui
