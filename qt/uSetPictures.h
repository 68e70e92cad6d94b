#pragma once
// The settings dialog's pictures, drawn in code at their stated sizes.
#include <QPixmap>
#include <vector>

namespace setdlg {

// 159 x 38: a glossy green bar laid over a navigation entry under the pointer.
QPixmap HighlightBarPicture();
// 220 x 220: a glossy red square with a white power symbol (the close button).
QPixmap ClosePicture();
// 20 x 20: a page with a pencil (the browse button).
QPixmap BrowsePicture();
// Six 16 x 16 pictures: blue plus, grey plus, blue minus, grey minus, blue floppy disk, grey floppy disk.
std::vector<QPixmap> ListButtonPictures();

}  // namespace setdlg
