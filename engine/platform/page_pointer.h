// In the browser, the canvas's pointer reaches a program as the SDL events a
// desktop window would have queued: the page (web/page.js) hands over every
// sample itself, through grains_pointer_event, and the program reads them
// with SDL_PollEvent as on the desktop (the seam's own SDL_PollEvent, which
// hands them out before the browser SDL's events). Browser only
// (page_pointer_browser.cpp).
#pragma once

namespace grains {

// The kinds of the page's pointer samples.
enum PagePointerKind { PAGE_POINTER_MOTION = 0, PAGE_POINTER_DOWN = 1, PAGE_POINTER_UP = 2 };

// Leaves the canvas's mouse, touch and wheel events to the page: the
// browser's SDL stops turning them into events of its own. start_video
// calls it.
void take_pointer_from_page();

// Queues a pointer event for the program's next SDL_PollEvent. Positions
// are window pixels; those outside the window keep their low 16 bits, as
// SDL 1.2's coordinates do. A motion carries the buttons held and its move
// from the last position queued.
void queue_pointer_event(PagePointerKind kind, int x, int y, int button);

// Drops every event queued so far, and forgets the buttons held.
void drop_queued_events();

// While ignored, the page's samples are dropped (a program that plays
// recorded input ignores the player's).
void ignore_page_pointer(bool ignored);

}  // namespace grains
