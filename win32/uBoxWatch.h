#pragma once
// The core's message and question boxes, shown as the system's own box; each box's text is also
// reported to the end-to-end view of the window's texts (uE2EDump.h) under "message".
namespace E2EDump {
void WatchBoxes();
}  // namespace E2EDump
