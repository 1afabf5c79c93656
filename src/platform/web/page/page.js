// The page around the program: downloads it with its models, waits for the start click (the
// browser allows sound and full screen only after one), runs it, and shows its message boxes.
// Contract for tests and embedders: ?autostart=1 starts without a click, ?answer=yes|no answers
// every question, ?still=POS draws the still at stream position POS instead of playing (with
// &holdp=1 the P key is held), ?bench=1 prints the frame-time benchmark (window.vernalis.bench
// gathers its lines), and window.vernalis tells the state.
'use strict';
(function() {
  var MODELS = ["@MODEL_LIST@"];
  var params = new URLSearchParams(location.search);
  var still = params.has('still') ? Number(params.get('still')) : null;
  var answer = params.get('answer');
  var $ = function(id) { return document.getElementById(id); };
  var canvas = $('canvas');
  var fullscreenRequest = Promise.resolve(false);
  var askWaiting = null;

  var vernalis = window.vernalis = {
    state: 'loading',  // then waiting, playing or still, and ended or failed
    exitCode: undefined,
    messages: [],      // every message box, as "caption: text"
    frames: 0,         // frames handed to the browser
    firstFrameMs: undefined,  // when the first was, from the page's start
    bench: [],         // what the program printed
    position: function() { return vernalis.state === 'loading' ? 0 : Module._WebPosition(); },
  };

  function hook(name, context, buffer, start) {
    var hooks = window.vernalisHooks;
    return hooks && hooks[name] ? hooks[name](context, buffer, start) : null;
  }

  function setState(state) {
    vernalis.state = state;
    document.body.dataset.state = state;
  }
  function say(text) { $('status').textContent = text; }
  function progress(fraction) {
    $('bar').hidden = fraction === null;
    $('fill').style.width = Math.round((fraction || 0) * 100) + '%';
  }
  function fail(text) {
    progress(null);
    say(text);
    $('panel').hidden = false;
    setState('failed');
  }

  // A box the page address answered is only listed, as the other builds only print it.
  function showBox(caption, text, yesNo, answered) {
    vernalis.messages.push(caption + ': ' + text);
    if (answered) return;
    var box = document.createElement('div');
    box.className = 'box';
    box.setAttribute('role', 'alertdialog');
    var title = document.createElement('b');
    title.textContent = caption;
    box.appendChild(title);
    box.appendChild(document.createTextNode(text));
    var row = document.createElement('div');
    box.appendChild(row);
    (yesNo ? [['Yes', 6], ['No', 7]] : [['OK', 1]]).forEach(function(b) {
      var button = document.createElement('button');
      button.textContent = b[0];
      button.onclick = function() {
        box.remove();
        if (yesNo && askWaiting) {
          var wake = askWaiting;
          askWaiting = null;
          wake(b[1]);
        }
      };
      row.appendChild(button);
    });
    $('boxes').appendChild(box);
  }

  // Escape ends the show; leaving full screen (which Escape does first) ends it too. The demo
  // reads the key's state once a frame, so the key is held down for a few frames.
  var KEYS_KEPT = {8: 1, 9: 1, 32: 1, 33: 1, 34: 1, 35: 1, 36: 1, 37: 1, 38: 1, 39: 1, 40: 1};
  function onKey(event) {
    if (vernalis.state !== 'playing' || event.keyCode <= 0) return;
    Module._WebKey(event.keyCode, event.type === 'keydown' ? 1 : 0, event.repeat ? 1 : 0,
                   event.altKey ? 1 : 0);
    if (KEYS_KEPT[event.keyCode] || event.keyCode === 27) event.preventDefault();
  }
  document.addEventListener('fullscreenchange', function() {
    if (!document.fullscreenElement && vernalis.state === 'playing') {
      Module._WebKey(27, 1, 0, 0);
      setTimeout(function() { Module._WebKey(27, 0, 0, 0); }, 100);
    }
  });

  window.Module = {
    canvas: canvas,
    print: function(text) {
      console.log(text);
      vernalis.bench.push(text);
    },
    printErr: function(text) { console.error(text); },
    onAbort: function(what) { fail('The program stopped: ' + what); },
    page: {
      fullscreen: function() { return fullscreenRequest; },
      frame: function() {
        if (vernalis.frames++ === 0) vernalis.firstFrameMs = performance.now();
      },
      box: showBox,
      ask: function(wake) { askWaiting = wake; },
      // window.vernalisHooks, where an embedder or a test sets it before the page loads, sees
      // the audio context made and may put a node between the stream and the speakers (told
      // the stream's buffer and when, in the context's time, it starts).
      audio: function(context) { hook('audio', context); },
      output: function(context, buffer, start) {
        return hook('output', context, buffer, start) || context.destination;
      },
      stage: function(stage) {
        if (stage === 'decoding') {
          $('panel').hidden = false;
          say('Decoding the music…');
          progress(0.99);
        } else {
          progress(null);
          $('panel').hidden = true;
        }
      },
    },
  };

  function finished(code) {
    vernalis.exitCode = code;
    progress(null);
    if (vernalis.state !== 'failed') setState('ended');
    $('panel').hidden = false;
    say('The show has ended.');
    if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
  }

  function start() {
    $('start').hidden = true;
    $('hint').hidden = true;
    $('panel').hidden = true;
    var stage = $('stage');
    // Asked for here, in the click; the program's display-mode change waits for the answer.
    if (stage.requestFullscreen && params.get('autostart') !== '1')
      fullscreenRequest = stage.requestFullscreen({navigationUI: 'hide'}).then(
          function() { return true; }, function() { return false; });
    document.addEventListener('keydown', onKey);
    document.addEventListener('keyup', onKey);
    document.addEventListener('visibilitychange', function() {
      if (vernalis.state === 'playing') Module._WebVisible(document.hidden ? 0 : 1);
    });
    // The screen stays on while the show plays, where the browser allows it.
    if (navigator.wakeLock) navigator.wakeLock.request('screen').catch(function() {});
    canvas.focus();
    setState('playing');
    // Called as an asynchronous export: it gives way at every frame, and its promise brings
    // the exit code once the program returns.
    Module.ccall('main', 'number', ['number', 'number'], [0, 0], {async: true}).then(finished);
  }

  function drawStill() {
    $('panel').hidden = true;
    setState('still');
    if (!Module._WebStill(still >>> 0, params.get('holdp') === '1' ? 1 : 0)) {
      vernalis.exitCode = 0;
      setState('ended');
    }
  }

  function bench() {
    $('panel').hidden = true;
    setState('still');
    vernalis.exitCode = Module._WebBench(120) ? 0 : 1;
    setState('ended');
  }

  function ready() {
    progress(null);
    if (still !== null) return drawStill();
    if (params.get('bench') === '1') return bench();
    if (params.get('autostart') === '1') return start();
    setState('waiting');
    say('');
    $('start').hidden = false;
    $('hint').hidden = false;
    $('start').onclick = start;
    $('start').focus();
  }

  // The program file with progress (it is most of the download), and the models beside it;
  // a model the site lacks is simply not there, and the program says so.
  function download(path, onProgress) {
    return fetch(path).then(function(response) {
      if (!response.ok) return null;
      var total = Number(response.headers.get('Content-Length')) || 0;
      if (!response.body || !total) return response.arrayBuffer();
      var reader = response.body.getReader(), chunks = [], got = 0;
      function pump() {
        return reader.read().then(function(part) {
          if (part.done) {
            var whole = new Uint8Array(got), at = 0;
            chunks.forEach(function(c) { whole.set(c, at); at += c.length; });
            return whole.buffer;
          }
          chunks.push(part.value);
          got += part.value.length;
          onProgress(got / total);
          return pump();
        });
      }
      return pump();
    });
  }

  function load() {
    var probe = document.createElement('canvas');
    if (!probe.getContext('webgl'))
      return fail('This show needs WebGL, which this browser does not offer (or has turned off).');
    if (still === null && !(window.AudioContext || window.webkitAudioContext))
      return fail('This show needs Web Audio, which this browser does not offer.');
    progress(0);
    say('Loading…');
    var models = Promise.all(MODELS.map(function(name) {
      return download('Data/' + name, function() {}).then(function(bytes) { return [name, bytes]; });
    }));
    Promise.all([download('vernalis.wasm', progress), models]).then(function(got) {
      var program = got[0];
      if (!program) return fail('The program (vernalis.wasm) could not be downloaded.');
      Module.wasmBinary = program;
      Module.preRun = [function() {
        Module.FS.writeFile('/vernalis.wasm', new Uint8Array(program));
        Module.FS.mkdir('/Data');
        got[1].forEach(function(m) { if (m[1]) Module.FS.writeFile('/Data/' + m[0], new Uint8Array(m[1])); });
        if (answer) Module.ENV.VERNALIS_MSGBOX_ANSWER = answer;
      }];
      Module.onRuntimeInitialized = ready;
      var script = document.createElement('script');
      script.src = 'vernalis.js';
      script.onerror = function() { fail('The program (vernalis.js) could not be downloaded.'); };
      document.body.appendChild(script);
    }, function(error) { fail('The download failed: ' + error); });
  }

  load();
})();
