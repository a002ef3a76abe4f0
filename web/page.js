// The page around a program built for the browser (web/program.html.in):
// loads the program (PROGRAM.js) onto the canvas, hands it the pointer, and
// offers the tool choice and the session's controls when the program has
// them. What keeps the program from running is said on the page in plain
// words. With ?step the program runs no frames of its own: a test steps
// them with Module._grains_step(n).
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const status_line = document.getElementById('status');
  const program = canvas.dataset.program;
  const say = text => { status_line.textContent = text; };

  // The kinds of grains_pointer_event, and SDL's mouse buttons.
  const MOTION = 0, DOWN = 1, UP = 2;
  const LEFT = 1, MIDDLE = 2, RIGHT = 3;
  // What a finger or the left button can stand for ("nothing" is the left
  // button of a program that paints nothing with it).
  const TOOLS = {
    grains: {button: LEFT, label: 'grains (left button)'},
    walls: {button: RIGHT, label: 'walls (right button)'},
    eraser: {button: MIDDLE, label: 'eraser (middle button)'},
    nothing: {button: LEFT, label: 'nothing (left button)'},
  };
  // Session files larger than this are not read: a recording takes some
  // twenty bytes an event.
  const LARGEST_SESSION = 64 * 1024 * 1024;

  function cannot_run(why) {
    say(why);
    canvas.hidden = true;
  }

  function has_webgl() {
    try {
      const gl = document.createElement('canvas').getContext('webgl');
      if (!gl) return false;
      const loser = gl.getExtension('WEBGL_lose_context');
      if (loser) loser.loseContext();
      return true;
    } catch (error) {
      return false;
    }
  }

  // The page's pointer as the program's mouse: every sample the browser has
  // (the coalesced ones too), in order, with the buttons held at that
  // sample, as a desktop window's SDL gives them. One pointer drives the
  // program: a further finger is ignored until the first lifts.
  class PointerToProgram {
    constructor(send, tool_button) {
      this.send = send;
      this.tool_button = tool_button;
      this.active = null;  // the pointer that drives the program
      this.held = 0;       // the SDL buttons held, bit b for button b
      this.last = null;    // the position of the last event sent
      this.last_seen = null;  // where the last sample was, within the window or not
      this.listen();
    }

    listen() {
      canvas.addEventListener('pointerdown', event => {
        if (this.active !== null && event.pointerId !== this.active) return;
        this.active = event.pointerId;
        // A drag that leaves the canvas goes on, as in a desktop window.
        try {
          canvas.setPointerCapture(event.pointerId);
        } catch (error) {
          // The pointer is gone already; its release comes as for any other.
        }
        this.take_event(event, false);
      });
      // A move that only presses or releases a further button (a chord) is
      // not a move.
      canvas.addEventListener('pointermove', event => {
        const hovering_mouse = this.active === null && event.pointerType === 'mouse';
        if (event.pointerId === this.active || hovering_mouse) this.take_event(event, event.button === -1);
      });
      canvas.addEventListener('pointerup', event => {
        if (event.pointerId !== this.active) return;
        this.take_event(event, false);
        if (this.held === 0) this.active = null;
      });
      // Whatever takes the pointer away releases its buttons.
      for (const type of ['pointercancel', 'lostpointercapture'])
        canvas.addEventListener(type, event => { if (event.pointerId === this.active) this.let_go(); });
      window.addEventListener('blur', () => this.let_go());
      document.addEventListener('visibilitychange', () => { if (document.hidden) this.let_go(); });
      // The right button paints walls, not a menu; the middle one does not scroll.
      canvas.addEventListener('contextmenu', event => event.preventDefault());
      canvas.addEventListener('mousedown', event => { if (event.button === 1) event.preventDefault(); });
    }

    // A move hands over each of its samples, each as a motion; a press or a
    // release moves the pointer first only when it is somewhere new.
    take_event(event, moves) {
      const box = canvas.getBoundingClientRect();
      const coalesced = moves && event.getCoalescedEvents ? event.getCoalescedEvents() : [];
      for (const sample of coalesced.length > 0 ? coalesced : [event]) this.take(sample, box, moves);
    }

    take(sample, box, moves) {
      const position = this.position(sample, box);
      // Buttons count from a press on the canvas: a hovering mouse holds none.
      const wanted = this.active === null ? 0 : this.buttons(sample.buttons);
      // While a button is held the pointer stays within the window, as SDL
      // keeps it; a release outside is where it happens.
      const at = this.held !== 0 || wanted !== 0 ? this.within_window(position) : position;
      // A desktop window hears of a move when the pointer reaches another
      // pixel (outside the window too, where SDL keeps it at the edge);
      // samples finer than a pixel are not moves.
      const moved = this.last_seen === null || position.x !== this.last_seen.x || position.y !== this.last_seen.y;
      this.last_seen = position;
      if (moves ? moved : !this.is_last(at)) this.event(MOTION, at, 0);
      for (const button of [LEFT, MIDDLE, RIGHT])
        if ((this.held & (1 << button)) !== 0 && (wanted & (1 << button)) === 0) this.event(UP, position, button);
      for (const button of [LEFT, MIDDLE, RIGHT])
        if ((this.held & (1 << button)) === 0 && (wanted & (1 << button)) !== 0) this.event(DOWN, at, button);
    }

    // Releases every button held where the pointer was last.
    let_go() {
      for (const button of [LEFT, MIDDLE, RIGHT])
        if ((this.held & (1 << button)) !== 0) this.event(UP, this.last, button);
      this.active = null;
    }

    event(kind, at, button) {
      if (kind === DOWN) this.held |= 1 << button;
      if (kind === UP) this.held &= ~(1 << button);
      this.last = at;
      this.send(kind, at.x, at.y, button);
    }

    // Window pixels through the canvas's rectangle on the screen, however
    // it is scaled or scrolled; outside the canvas too.
    position(sample, box) {
      return {
        x: Math.floor((sample.clientX - box.left) * canvas.width / box.width),
        y: Math.floor((sample.clientY - box.top) * canvas.height / box.height),
      };
    }

    // The browser's buttons (1 primary, 2 secondary, 4 auxiliary) as SDL's:
    // the primary button or a finger stands for the chosen tool's.
    buttons(browser_buttons) {
      let held = 0;
      if ((browser_buttons & 1) !== 0) held |= 1 << this.tool_button();
      if ((browser_buttons & 2) !== 0) held |= 1 << RIGHT;
      if ((browser_buttons & 4) !== 0) held |= 1 << MIDDLE;
      return held;
    }

    // Within the window, its right and bottom edges included.
    within_window({x, y}) {
      return {x: Math.min(Math.max(x, 0), canvas.width), y: Math.min(Math.max(y, 0), canvas.height)};
    }

    is_last(at) { return this.last !== null && this.last.x === at.x && this.last.y === at.y; }
  }

  // The tool choice, from the canvas's data-tools; the first is chosen.
  function make_tool_choice() {
    const names = (canvas.dataset.tools || '').split(/\s+/).filter(name => name in TOOLS);
    const field = document.getElementById('tools');
    names.forEach((name, index) => {
      const label = document.createElement('label');
      const choice = document.createElement('input');
      Object.assign(choice, {type: 'radio', name: 'tool', value: name, checked: index === 0});
      label.append(choice, ' ' + TOOLS[name].label);
      field.append(label);
    });
    field.hidden = names.length === 0;
    return () => {
      const chosen = field.querySelector('input:checked');
      return chosen ? TOOLS[chosen.value].button : LEFT;
    };
  }

  function download_session() {
    const text = Module.ccall('grains_session_text', 'string', [], []);
    if (text === '') {
      say('This page has recorded nothing to download.');
      return;
    }
    const frames = /# frames (\d+)\n$/.exec(text)[1];
    const name = `${program}-session.txt`;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    say(`Downloaded ${name}, ${frames} frames: grains_sim ${program} --events ${name} --png last.png ` +
        'replays it to the picture shown.');
  }

  let sessions_opened = 0;
  async function open_session(file) {
    if (file.size > LARGEST_SESSION) {
      say(`Cannot play ${file.name}: at ${file.size} bytes it is too large to be a session.`);
      return;
    }
    Module.FS.writeFile('/opened-session.txt', await file.text());
    const error = Module.ccall('grains_play_session', 'string', ['string'], ['/opened-session.txt']);
    if (error !== '') {
      say(`Cannot play ${file.name}: ${error}`);
      return;
    }
    say(`Playing ${file.name} from frame 0; the pointer is ignored until it ends.`);
    const playing = ++sessions_opened;
    const watch = () => {
      if (playing !== sessions_opened) return;  // another session took over
      if (Module._grains_playback_frames_left() > 0) requestAnimationFrame(watch);
      else say(`Played ${file.name}; the program goes on from there.`);
    };
    watch();
  }

  // Once the program runs: the controls it has.
  function show_controls() {
    if (typeof Module._grains_session_text !== 'function') return;
    document.getElementById('controls').hidden = false;
    document.getElementById('download').addEventListener('click', download_session);
    const opener = document.getElementById('open');
    opener.addEventListener('change', () => {
      if (opener.files.length > 0) open_session(opener.files[0]).finally(() => { opener.value = ''; });
    });
  }

  if (location.protocol === 'file:') {
    cannot_run('This page loads its program from the files beside it, which a browser allows only from a web ' +
               'server: run scripts/web.sh --serve and open the address it prints.');
    return;
  }
  if (!has_webgl()) {
    cannot_run('This program draws with WebGL, which this browser does not offer (it may be turned off in its ' +
               'settings): the program cannot run here.');
    return;
  }

  const tool_button = make_tool_choice();
  const settings = window.Module || {};
  window.Module = Object.assign(settings, {
    canvas,
    // The program's standard output and error: its "D x y" lines, its notes.
    print: text => console.log(text),
    printErr: text => console.warn(text),
    setStatus: text => say(text),
    // The programs ignore keys: they stay the browser's.
    doNotCaptureKeyboard: true,
    grainsStepByHand: new URLSearchParams(location.search).has('step'),
    postRun: [].concat(settings.postRun || [], show_controls),
    onAbort: what => cannot_run(`The program stopped: ${what}`),
  });
  new PointerToProgram((kind, x, y, button) => {
    if (Module.calledRun && Module._grains_pointer_event) Module._grains_pointer_event(kind, x, y, button);
  }, tool_button);

  const script = document.createElement('script');
  script.src = `${program}.js`;
  script.onerror = () => cannot_run(`The program's script ${program}.js could not be loaded.`);
  document.body.append(script);
})();
