#pragma once
// The main window's elements built from its layout table (app/uMainFrmLayout.h): one element of the
// row's kind per row, and their places for a window size.
#include <cstddef>
#include <memory>
#include <vector>

#include "win32/uWinControls.h"

// One element per row under root, in the rows' order, each at its design rectangle. The browser's row
// is a bare element that keeps its place (the page's view is a window of its own, made elsewhere).
std::vector<std::unique_ptr<TElement>> BuildMainLayout(TElement& root);
// Places the elements for a window of the given design size; a label sized to its text keeps its size.
void PlaceMainLayout(const std::vector<std::unique_ptr<TElement>>& elements, int width, int height);
// The position of the named row in the table (and of its element).
size_t MainLayoutIndex(const char* name);
