// Emscripten's SDL listens to the canvas's mouse, touch and wheel events
// itself (from SDL_SetVideoMode on) and keeps their default actions from
// happening. The page hands the program its pointer samples instead, and
// the wheel scrolls the page.
mergeInto(LibraryManager.library, {
  grains_leave_canvas_events_to_page__deps: ['$SDL'],
  grains_leave_canvas_events_to_page: function () {
    ['touchstart', 'touchend', 'touchmove', 'mousedown', 'mouseup', 'mousemove', 'DOMMouseScroll', 'mousewheel',
     'wheel', 'mouseout'].forEach(function (type) {
      Module['canvas'].removeEventListener(type, SDL.receiveEvent, true);
    });
  },
});
