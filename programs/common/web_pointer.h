// The page's pointer reaches the program as the SDL events a desktop window
// would have queued: the page hands over every sample itself, and the event
// pump reads them through SDL_PollEvent as on the desktop.
#pragma once

#include "common/mouse.h"

// Leaves the canvas's mouse, touch and wheel events to the page: the
// browser's SDL stops turning them into events of its own.
void leave_pointer_to_page();

// Queues a mouse event for the program's next SDL_PollEvent. Positions are
// window pixels; those outside the window are queued as they are, and the
// programs keep their low 16 bits, as SDL 1.2's coordinates do.
void queue_mouse_event(MouseEventKind kind, int x, int y, int button);

// Drops every event queued so far.
void drop_queued_events();
