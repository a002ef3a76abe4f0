// The browser's SDL (Emscripten's) as programs on the engine need it; every
// browser program on the engine links this library (web/browser.cmake).
mergeInto(LibraryManager.library, {
  // Emscripten's SDL listens to the canvas's mouse, touch and wheel events
  // itself (from SDL_SetVideoMode on) and keeps their default actions from
  // happening. The page hands the program its pointer samples instead
  // (page_pointer.h), and the wheel scrolls the page. SDL's listener is its
  // own, so its absence is said loudly rather than passed over.
  grains_leave_canvas_events_to_page__deps: ['$SDL'],
  grains_leave_canvas_events_to_page: function () {
    if (typeof SDL.receiveEvent !== 'function')
      throw new Error('grains: the browser\'s SDL has no canvas listener to take the pointer from');
    ['touchstart', 'touchend', 'touchmove', 'mousedown', 'mouseup', 'mousemove', 'DOMMouseScroll', 'mousewheel',
     'wheel', 'mouseout'].forEach(function (type) {
      Module['canvas'].removeEventListener(type, SDL.receiveEvent, true);
    });
  },

  // A program's own frame loop (while (...) { ...; SDL_GL_SwapBuffers(); })
  // runs unchanged in a page: the swap hands the frame to the browser, which
  // shows it, and the program goes on at the next animation frame. The
  // program is linked with Asyncify, this call named among its imports.
  SDL_GL_SwapBuffers__deps: ['$Asyncify'],
  SDL_GL_SwapBuffers: function () {
    return Asyncify.handleSleep(function (wake_up) {
      requestAnimationFrame(function () { wake_up(); });
    });
  },
});
